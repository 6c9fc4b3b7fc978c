#include "editing_fixture.h"

#include "editing/attribute_commands.h"
#include "editing/point_attributes.h"
#include "tests/settings_map.h"


namespace wayloom::test {
namespace {

TEST(point_size, typed_sizes_and_the_track_bar)
{
    // Keystrokes in order and the size after each; the box then shows the size.
    struct row { const char* name; std::vector<const char*> typed; std::vector<std::int32_t> sizes; };
    const std::vector<row> rows = {
        {"2 to 20 taken", {"2", "20"}, {2, 20}},
        {"1 on the way to 15", {"1", "15"}, {10, 15}},
        {"1 on the way to 19", {"1", "19"}, {10, 19}},
        {"1 alone, 0, 25 and -5 refused", {"1", "0", "25", "-5"}, {10, 10, 10, 10}},
        {"not numbers refused", {"abc", "", "12a", "99999999999999999999"}, {10, 10, 10, 10}},
    };
    for (const row& r : rows) {
        point_attributes values;
        for (std::size_t i = 0; i < r.typed.size(); ++i) {
            scale_edit_change(values, r.typed[i]);
            EXPECT_EQ(values.point_size, r.sizes[i]) << r.name << ": " << r.typed[i];
        }
        EXPECT_EQ(scale_edit_text(values), std::to_string(r.sizes.back())) << r.name;
    }
    point_attributes values;
    point_track_bar_change(values, 1);
    EXPECT_EQ(values.point_size, 1) << "the track bar reaches 1";
}

using testing::settings_map;

point_attributes loaded(const settings_map& file)
{
    point_attributes values;
    load_attributes(values, testing::reader_of(file));
    return values;
}

TEST(attribute_settings, values_are_read_and_odd_ones_fall_back)
{
    struct row { const char* name; settings_map file; point_type marker; std::int32_t size; bool show; };
    const std::vector<row> rows = {
        {"no keys", {}, p_circle, 10, true},
        {"marker 1 is a circle", {{"marker_type", "1"}}, p_circle, 10, true},
        {"marker 2 is a square", {{"marker_type", "2"}}, p_square, 10, true},
        {"any other marker is a square", {{"marker_type", "7"}}, p_square, 10, true},
        {"an unreadable marker is the default", {{"marker_type", "x"}}, p_circle, 10, true},
        {"size 0 gives 10", {{"point_size", "0"}}, p_circle, 10, true},
        {"size 21 gives 10", {{"point_size", "21"}}, p_circle, 10, true},
        {"size 1 is kept", {{"point_size", "1"}}, p_circle, 1, true},
        {"size 20 is kept", {{"point_size", " 20 "}}, p_circle, 20, true},
        {"show_name 0", {{"show_name", "0"}}, p_circle, 10, false},
        {"show_name 5 is true", {{"show_name", "5"}}, p_circle, 10, true},
    };
    for (const row& r : rows) {
        const point_attributes v = loaded(r.file);
        EXPECT_EQ(v.marker, r.marker) << r.name;
        EXPECT_EQ(v.point_size, r.size) << r.name;
        EXPECT_EQ(v.show_name, r.show) << r.name;
    }
    const point_attributes none = loaded({});
    EXPECT_EQ(std::tie(none.area_colour, none.border_colour, none.name, none.hint),
              std::make_tuple(grey, black, std::string(), std::string()));
}

TEST(attribute_settings, written_values_read_back)
{
    point_attributes v;
    const auto all = [](auto& a) {
        return std::tie(a.marker, a.point_size, a.area_colour, a.border_colour, a.name, a.hint, a.show_name);
    };
    all(v) = std::tuple(p_square, 17, make_colour(1, 2, 3), make_colour(4, 5, 6), "big tree", "old tree", false);
    settings_map file;
    save_attributes(v, testing::writer_to(file));
    EXPECT_EQ(file.at("marker_type"), "2");
    EXPECT_EQ(file.at("show_name"), "0");
    EXPECT_EQ(file.at("colour"), std::to_string(make_colour(1, 2, 3)));
    const point_attributes back = loaded(file);
    EXPECT_EQ(all(back), all(v));
}

using attributes = editing_fixture;

TEST_F(attributes, opening_needs_something_to_act_on_and_shows_the_first_selected_point)
{
    EXPECT_FALSE(colour_button_click(editor));
    EXPECT_FALSE(area_colour_chosen(editor, make_colour(3, 3, 3)));
    EXPECT_EQ(editor.attributes().area_colour, make_colour(255, 255, 255));
    EXPECT_FALSE(editor.modified());

    doc.points_class_list.add("x");
    doc.points_class_list.entries.back().selected = true;
    EXPECT_TRUE(colour_button_click(editor)) << "a selected class is enough";
    doc.points_class_list.clear();
    build_set_over(0, 2);
    editor.build_set()->points[1].hint = "second";
    select(editor.set_builder().entries(), {1, 2});
    ASSERT_TRUE(colour_button_click(editor));
    EXPECT_EQ(editor.attributes().name, "w1");
    EXPECT_EQ(editor.attributes().hint, "second");
}

TEST_F(attributes, area_colour_goes_to_classes_first_and_their_shapes_with_them)
{
    t_shape& in_lake = listed_shape("pond");
    in_lake.classes = {1};
    t_shape& in_forest = listed_shape("wood");
    in_forest.classes = {0};
    build_shape_over(0, 0);
    select(doc.class_list, {1});
    const colour_value c = make_colour(7, 8, 9);
    EXPECT_TRUE(area_colour_chosen(editor, c));
    EXPECT_EQ(std::tuple(doc.classes[1]->colour, editor.attributes().area_colour, editor.chosen_colour()), std::tuple(c, c, c));
    EXPECT_EQ(in_lake.colour, c) << "the map draws the class as the legend shows it";
    EXPECT_NE(doc.classes[0]->colour, c);
    EXPECT_NE(in_forest.colour, c);
    EXPECT_NE(editor.build_shape()->colour, c) << "classes win over the shape being built";
    select(doc.class_list, {});
    EXPECT_TRUE(border_colour_chosen(editor, c));
    const t_shape& shape = *editor.build_shape();
    EXPECT_EQ(std::tie(shape.border, shape.default_border, editor.attributes().border_colour), std::tuple(c, c, c));
}

TEST_F(attributes, colour_goes_to_selected_points_else_to_the_set)
{
    build_set_over(0, 2);
    select(editor.set_builder().entries(), {1});
    const colour_value c = make_colour(50, 60, 70);
    EXPECT_TRUE(area_colour_chosen(editor, c));
    t_set& set = *editor.build_set();
    EXPECT_EQ(set.points[1].colour, c);
    EXPECT_NE(set.points[0].colour, c);
    refresh_build_set(editor);
    EXPECT_EQ(set.points[1].colour, c) << "a rebuild keeps what the map shows";
    select(editor.set_builder().entries(), {});
    EXPECT_TRUE(area_colour_chosen(editor, make_colour(1, 1, 1)));
    EXPECT_EQ(std::tie(set.colour, set.default_colour), std::tuple(make_colour(1, 1, 1), make_colour(1, 1, 1)));
}

TEST_F(attributes, ok_with_an_empty_name_box_copies_the_first_name)
{
    build_set_over(0, 3);
    editor.build_set()->points[1].name = "p one";  // a name not yet cleaned
    refresh_build_set(editor);
    select(editor.set_builder().entries(), {1, 3});
    editor.attributes().name.clear();
    editor.attributes().hint = "tall tree";
    editor.attributes().marker = p_square;
    editor.attributes().point_size = 4;
    ok_button_click(editor);
    EXPECT_EQ(editor.attributes().name, "p one");
    const t_set& set = *editor.build_set();
    // The first keeps its name; every selected point takes the looks.
    const auto named = [&](std::size_t i) {
        const point_record& p = set.points[i];
        return std::tie(p.name, p.hint, p.marker, p.size);
    };
    EXPECT_EQ(named(1), std::tuple("p one", "tall_tree", p_square, 4));
    EXPECT_EQ(named(3), std::tuple("p_one", "tall_tree", p_square, 4));
    EXPECT_EQ(set.points[0].marker, p_circle) << "unselected points keep their looks";
    EXPECT_EQ(texts(editor.set_builder().entries()), (strings{"w0", "p one", "w2", "p_one"}));
    EXPECT_EQ(selected_texts(editor.set_builder().entries()), (strings{"p one", "p_one"}));
}

TEST_F(attributes, ok_stores_a_typed_name_cleaned_for_every_selected_point)
{
    editor.attributes().name = "x";
    ok_button_click(editor);
    EXPECT_FALSE(editor.modified()) << "no set, nothing to do";
    EXPECT_EQ(doc.set_count(), 0);

    build_set_over(0, 2);
    select(editor.set_builder().entries(), {0, 2});
    editor.attributes().name = "big tree";
    editor.attributes().show_name = false;
    ok_button_click(editor);
    const t_set& set = *editor.build_set();
    EXPECT_EQ(std::tie(set.points[0].name, set.points[2].name, set.points[2].show_name),
              std::tuple("big_tree", "big_tree", false));
    EXPECT_EQ(std::tie(set.points[1].name, set.points[1].show_name), std::tuple("w1", true));
    EXPECT_TRUE(editor.modified());
}

} // namespace
} // namespace wayloom::test
