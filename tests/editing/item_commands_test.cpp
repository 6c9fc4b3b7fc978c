#include "editing_fixture.h"

#include "editing/item_commands.h"
#include "editing/node_moves.h"

namespace wayloom::test {
namespace {

using item_commands = editing_fixture;

TEST_F(item_commands, rename_cleans_the_text_and_numbers_empty_names)
{
    t_shape& field = listed_shape("field");
    // No entry under the click: nothing to rename.
    EXPECT_EQ(shape_list_mouse_down(editor, -1), std::nullopt);
    shape_edit_change(editor, "other");
    EXPECT_EQ(shape_list_mouse_down(editor, 1), std::nullopt);
    shape_edit_change(editor, "other");
    EXPECT_EQ(field.name, "field");
    EXPECT_FALSE(editor.modified());

    EXPECT_EQ(shape_list_mouse_down(editor, 0), std::optional<std::string>("field"));
    shape_edit_change(editor, "my map.new");
    EXPECT_EQ(field.name, "my_map_new");
    EXPECT_EQ(doc.shape_list.entries[0].text, "my_map_new");
    shape_edit_change(editor, "");
    EXPECT_EQ(field.name, "no-name1");
    shape_edit_change(editor, "x");
    shape_edit_change(editor, "");
    EXPECT_EQ(field.name, "no-name2");
    EXPECT_TRUE(editor.modified());
}

// The rename follows the item right-clicked, not the place it stood in the
// list, and stops when the item is gone.
TEST_F(item_commands, rename_holds_the_item_right_clicked)
{
    listed_shape("a");
    t_set& s = doc.create_set();
    s.shape_type = s_points;
    doc.add_item("s", nullptr, &s);
    t_shape& c = listed_shape("c");
    ASSERT_EQ(shape_list_mouse_down(editor, 2), std::optional<std::string>("c"));
    select(doc.shape_list, {0});
    delete_shape_button_click(editor);
    shape_edit_change(editor, "renamed");
    EXPECT_EQ(texts(doc.shape_list), (strings{"s", "renamed"}));
    EXPECT_EQ(std::tie(s.name, c.name), std::tuple("", "renamed"));

    shape_list_mouse_down(editor, 0);
    shape_edit_change(editor, "set");
    EXPECT_EQ(s.name, "set");
    select(doc.shape_list, {0});
    delete_shape_button_click(editor);
    shape_edit_change(editor, "gone");
    EXPECT_EQ(texts(doc.shape_list), strings{"renamed"});
    EXPECT_EQ(c.name, "renamed");
    // A new map's items are never the one clicked, even at the same place.
    doc.demolish();
    listed_shape("fresh");
    shape_edit_change(editor, "gone");
    EXPECT_EQ(texts(doc.shape_list), strings{"fresh"});
}

TEST_F(item_commands, classes_are_created_only_on_the_building_tabs)
{
    editor.set_chosen_colour(make_colour(1, 2, 3));
    std::string text = "new class";
    create_class(editor, text);
    EXPECT_EQ(doc.class_list.size(), 2u) << "the Shapes tab creates nothing";
    EXPECT_EQ(text, "new class");

    show_tab(waypoints_tab);
    create_class(editor, text);
    ASSERT_EQ(doc.class_list.size(), 3u);
    EXPECT_EQ(doc.class_list.entries[2].text, "new_class");
    const t_class* c = doc.class_list.object_at<t_class>(2);
    EXPECT_EQ(std::tie(c->name, c->colour, c->border), std::tuple("new_class", make_colour(1, 2, 3), black));
    EXPECT_TRUE(text.empty());
    // Names already there, and an empty one, make nothing.
    for (std::string again : {"new class", "new_class", "forest", ""}) {
        create_class(editor, again);
        EXPECT_EQ(doc.class_list.size(), 3u) << again;
    }
    EXPECT_EQ(editor.clean(""), "no-name1") << "no name was numbered";
}

TEST_F(item_commands, edit_needs_one_selected_item_and_no_shape_being_built)
{
    t_shape& a = listed_shape("a");
    listed_shape("b");
    EXPECT_EQ(edit_shape_button_click(editor).error, "Only one shape should be selected");
    select(doc.shape_list, {0, 1});
    EXPECT_EQ(edit_shape_button_click(editor).error, "Only one shape should be selected");
    build_shape_over(1, 1);
    select(doc.shape_list, {0});
    EXPECT_EQ(edit_shape_button_click(editor).error, "You are currently editing a shape");
    EXPECT_FALSE(a.editing);
    EXPECT_EQ(build_nodes(), (std::vector<int>{1})) << "the new shape is not thrown away";
}

TEST_F(item_commands, taking_a_shape_up_lists_its_nodes)
{
    t_shape& a = listed_shape("a");
    a.classes = {1};
    select(doc.shape_list, {0});
    select(doc.class_list, {0});
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    EXPECT_TRUE(a.editing);
    EXPECT_EQ(editor.build_shape(), &a);
    EXPECT_EQ(texts(editor.shape_builder().entries()), (strings{"w0", "w3", "w6"}));
    EXPECT_EQ(selected_texts(doc.class_list), strings{"lake"});
    EXPECT_FALSE(editor.shape_builder().toolbar_shown()) << "the mode starts on the Waypoints tab";
    show_tab(waypoints_tab);
    EXPECT_TRUE(editor.shape_builder().toolbar_shown());
    EXPECT_EQ(a.nodes[1].lon, doc.waypoints[3]->lon * 360);
}

TEST_F(item_commands, delete_removes_sets_and_shapes_but_spares_the_item_being_edited)
{
    listed_shape("edited");
    t_set& s = doc.create_set();
    s.shape_type = s_points;
    doc.add_item("set", nullptr, &s);
    listed_shape("other");
    select(doc.shape_list, {0});
    edit_shape_button_click(editor);
    select(doc.shape_list, {0, 1, 2});
    const edit_result deleted = delete_shape_button_click(editor);
    EXPECT_TRUE(deleted.legend);
    EXPECT_TRUE(deleted.repaint) << "the deleted items leave the surface at once";
    EXPECT_EQ(texts(doc.shape_list), strings{"edited"});
    EXPECT_FALSE(doc.shape_list.entries[0].selected);
    EXPECT_EQ(std::tuple(doc.set_count(), doc.shape_count(), doc.shapes[0]->name), std::tuple(0, 1, "edited"));
    EXPECT_FALSE(doc.statistics_ready);
    EXPECT_TRUE(editor.modified());
    EXPECT_FALSE(delete_shape_button_click(editor).repaint) << "nothing selected, nothing deleted";
}

// The map going away under the builder (a map opened, the source read
// again) must leave nothing in the builder that points into it.
TEST_F(item_commands, an_edited_item_cleared_with_the_map_is_let_go)
{
    listed_shape("a");
    t_set& s = doc.create_set();
    s.shape_type = s_points;
    s.add_point({}).waypoint = 1;
    doc.add_item("s", nullptr, &s);
    show_tab(waypoints_tab);
    select(doc.shape_list, {0});
    edit_shape_button_click(editor);
    select(doc.shape_list, {1});
    edit_shape_button_click(editor);
    ASSERT_TRUE(editor.build_shape() && editor.build_set() && view.building_shape);
    doc.demolish();
    EXPECT_TRUE(!editor.build_shape() && !editor.build_set());
    editor.sync_with_map();
    EXPECT_TRUE(shape_building_over() && !view.building_set);
    EXPECT_TRUE(editor.set_builder().entries().empty());
    // Every command now finds no build item; none touches freed memory.
    EXPECT_FALSE(up_button_click(editor).repaint);
    EXPECT_FALSE(delete_point_button_click(editor).repaint);
    add_shape_buttton_click(editor);
    EXPECT_TRUE(doc.shape_list.empty());
}

TEST_F(item_commands, closing_releases_the_build_items)
{
    t_shape& edited = listed_shape("edited");
    build_set_over(1, 1);
    ASSERT_NE(editor.build_set(), nullptr);
    show_tab(shapes_tab);
    select(doc.shape_list, {0});
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    editor.release_build_items();
    EXPECT_FALSE(edited.editing);
    EXPECT_EQ(doc.shape_count(), 1) << "the edited shape stays with the map";
    EXPECT_EQ(editor.build_set(), nullptr) << "the uncommitted set is dropped";
    EXPECT_TRUE(!view.building_shape && !view.building_set && editor.set_builder().entries().empty());
}

TEST_F(item_commands, positions_past_a_shrunken_list_do_nothing)
{
    build_shape_over(0, 3);
    // The lists lose entries between the click and its handling.
    editor.shape_builder().entries().entries.resize(2);
    select(editor.shape_builder().entries(), {1});
    down_button_click(editor);
    EXPECT_EQ(build_nodes(), (std::vector<int>{0, 1, 2, 3})) << "entry 1 has nothing unselected after it";
    delete_button_click(editor);
    EXPECT_EQ(build_nodes(), (std::vector<int>{0, 2, 3}));
    doc.waypoints_list.entries.resize(3);
    waypoints_list_mouse_down(editor, 5, false);
    EXPECT_EQ(build_nodes(), (std::vector<int>{0, 2, 3}));
    EXPECT_FALSE(append_node(editor, 7).repaint);
    EXPECT_FALSE(edit_shape_button_click(editor).repaint);
}

} // namespace
} // namespace wayloom::test
