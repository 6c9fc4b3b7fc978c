#include "editing_fixture.h"

#include "editing/item_commands.h"
#include "source/reader.h"
#include "source/writer.h"

#include <tuple>

namespace wayloom::test {
namespace {

using shape_building = editing_fixture;

TEST(shape_clicks, append_ranges_and_keep_the_anchor)
{
    struct click { int index; bool shift; };
    struct row { const char* name; std::vector<click> clicks; std::vector<int> nodes; int anchor; };
    const std::vector<row> rows = {
        {"plain clicks append in order", {{3, false}, {5, false}, {1, false}}, {3, 5, 1}, 1},
        {"shift-click appends the range after the anchor", {{3, false}, {7, true}}, {3, 4, 5, 6, 7}, -1},
        {"second shift-click is a plain append", {{3, false}, {7, true}, {9, true}}, {3, 4, 5, 6, 7, 9}, 9},
        {"shift-click above the anchor appends nothing", {{5, false}, {2, true}}, {5}, 5},
        {"shift-click on the anchor appends nothing", {{5, false}, {5, true}}, {5}, 5},
        {"the same waypoint twice appends once", {{4, false}, {4, false}, {6, false}, {4, false}}, {4, 6, 4}, 4},
        {"shift without an anchor is a plain click", {{6, true}}, {6}, 6},
        {"a click on no entry appends nothing and drops the anchor", {{2, false}, {-1, false}, {5, true}}, {2, 5}, 5},
        {"a position past the list does nothing", {{2, false}, {10, false}, {40, true}}, {2}, 2},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        editing_map m;
        m.show_tab(waypoints_tab);
        for (const click& k : r.clicks) waypoints_list_mouse_down(m.editor, k.index, k.shift);
        EXPECT_EQ(m.build_nodes(), r.nodes);
        EXPECT_EQ(m.editor.shape_builder().anchor(), r.anchor);
        EXPECT_EQ(m.editor.shape_builder().entries().size(), r.nodes.size());
    }
}

// The view shows an item being built alone only while its building mode is
// on; elsewhere it shows the selected items again, projected afresh.
TEST_F(shape_building, the_build_item_is_shown_only_in_its_building_mode)
{
    listed_shape("field");
    select(doc.shape_list, {0});
    build_shape_over(1, 4);
    t_shape* shape = editor.build_shape();
    ASSERT_EQ(view.building_shape, shape);
    for (int tab : {shapes_tab, error_tab, points_tab}) {
        SCOPED_TRACE(tab);
        EXPECT_TRUE(map_control_change(editor, tab).repaint);
        EXPECT_EQ(view.building_shape, nullptr);
        EXPECT_EQ(editor.build_shape(), shape) << "the work stays for the Waypoints tab";
        show_tab(waypoints_tab);
        EXPECT_EQ(view.building_shape, shape);
    }
    EXPECT_EQ(doc.shape_count(), 1) << "a shape being built is no map item";
    EXPECT_EQ(texts(doc.shape_list), strings{"field"});

    add_shape(editor);
    build_set_over(2, 3);
    ASSERT_NE(view.building_set, nullptr);
    show_tab(shapes_tab);
    EXPECT_EQ(view.building_set, nullptr);
    // An item taken up for editing on the Shapes tab is not shown alone either.
    select(doc.shape_list, {0});
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    EXPECT_EQ(view.building_shape, nullptr);
    show_tab(waypoints_tab);
    EXPECT_EQ(view.building_shape, doc.shape_list.object_at<t_shape>(0));
}

TEST_F(shape_building, first_node_starts_a_build_shape_shown_alone_and_fitted)
{
    show_tab(waypoints_tab);
    EXPECT_TRUE(waypoints_list_mouse_down(editor, 2, false).repaint);
    const t_shape* shape = editor.build_shape();
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(std::tie(shape->name, shape->shape_type), std::tuple("build", s_polygon));
    EXPECT_TRUE(editor.shape_builder().toolbar_shown() && editor.building_shape());
    EXPECT_EQ(view.building_shape, shape);
    EXPECT_EQ(texts(editor.shape_builder().entries()), strings{"w2"});
    EXPECT_EQ(std::tie(shape->nodes[0].lon, shape->nodes[0].lat),
              std::tuple(doc.waypoints[2]->lon * 360, doc.waypoints[2]->lat * 360));
    EXPECT_TRUE(doc.shape_list.empty()) << "not listed before it is committed";

    // The view fits the shape alone: its corners reach the surface's edges.
    waypoints_list_mouse_down(editor, 0, false);
    waypoints_list_mouse_down(editor, 9, true);
    std::int32_t max_x = 0;
    for (const t_node& n : shape->nodes) max_x = std::max(max_x, n.pixel.x);
    EXPECT_GT(view.surface.width, 0);
    EXPECT_NEAR(max_x, view.surface.width, 1);
    EXPECT_EQ(shape->nodes[1].pixel.x, 0);
}

// The limit is what a map file holds: the longest shape saves and opens again.
TEST_F(shape_building, node_limit_refuses_the_512th_and_stops_a_range_once)
{
    show_tab(waypoints_tab);
    for (int i = 0; i < 511; ++i) ASSERT_TRUE(append_node(editor, i % 4).error.empty()) << i;
    EXPECT_EQ(append_node(editor, 0).error, "Too many nodes");
    EXPECT_EQ(editor.build_shape()->node_count(), 511);
    EXPECT_EQ(editor.shape_builder().entries().size(), 511u);
    add_shape(editor);
    update_map_source(doc);
    map_document again;
    again.source.set_text(doc.source.text());
    EXPECT_TRUE(read_from_file(again).ok());
    EXPECT_EQ(again.shapes.at(0)->node_count(), 511);

    editing_map m;
    m.editor.set_limits(4, max_set_points);
    m.build_shape_over(0, 0);
    EXPECT_EQ(waypoints_list_mouse_down(m.editor, 9, true).error, "Too many nodes");
    EXPECT_EQ(m.build_nodes(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(m.editor.shape_builder().anchor(), -1);
}

TEST_F(shape_building, commit_with_two_classes_is_named_after_the_first)
{
    t_class& forest = *doc.classes[0];
    forest.name_counter = 4;
    build_shape_over(1, 4);
    select(doc.class_list, {0, 1});
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_TRUE(r.error.empty() && r.legend);
    ASSERT_EQ(doc.shape_list.size(), 1u);
    const t_shape* shape = doc.shape_list.object_at<t_shape>(0);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(std::tie(shape->name, doc.shape_list.entries[0].text), std::tuple("forest-4", "forest-4"));
    EXPECT_FALSE(doc.shape_list.entries[0].selected);
    EXPECT_EQ(std::tie(shape->colour, shape->classes), std::tuple(forest.colour, class_type{0, 1}));
    EXPECT_EQ(forest.name_counter, 5);
    EXPECT_EQ(doc.classes[1]->name_counter, 1) << "only the naming class counts";
    EXPECT_TRUE(selected_texts(doc.class_list).empty());
    EXPECT_GT(shape->area, 0);
    EXPECT_TRUE(shape_building_over());
}

TEST_F(shape_building, every_new_shape_advances_the_new_shape_counter)
{
    for (const std::vector<int>& classes : {std::vector<int>{}, {1}, {}}) {
        build_shape_over(0, 3);
        select(doc.class_list, classes);
        add_shape_buttton_click(editor);
    }
    EXPECT_EQ(texts(doc.shape_list), (strings{"New-Shape-1", "lake-1", "New-Shape-3"}));
    EXPECT_EQ(doc.shape_list.object_at<t_shape>(2)->colour, grey);
}

TEST_F(shape_building, commit_without_nodes_only_redraws_and_outside_the_mode_does_nothing)
{
    show_tab(waypoints_tab);
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_TRUE(r.repaint && !r.legend);
    EXPECT_EQ(editor.take_new_number(build_mode::shape), 1) << "no new shape was named";
    EXPECT_FALSE(editor.modified());

    waypoints_list_mouse_down(editor, 0, false);
    show_tab(shapes_tab);
    EXPECT_FALSE(add_shape_buttton_click(editor).repaint);
    EXPECT_TRUE(doc.shape_list.empty());
    EXPECT_NE(editor.build_shape(), nullptr);
}

TEST_F(shape_building, clicks_on_the_other_tab_or_while_busy_are_ignored)
{
    build_shape_over(0, 0);
    show_tab(points_tab);
    waypoints_set_list_mouse_down(editor, 3, false);
    EXPECT_EQ(editor.build_set(), nullptr);
    EXPECT_TRUE(editor.set_builder().entries().empty());

    // And the other way round: a set with points blocks shape clicks.
    editing_map m;
    m.build_set_over(1, 1);
    ASSERT_EQ(m.editor.set_builder().entries().size(), 1u);
    m.show_tab(waypoints_tab);
    waypoints_list_mouse_down(m.editor, 2, false);
    EXPECT_EQ(m.editor.build_shape(), nullptr);

    editing_map busy;
    busy.editor.shape_builder().set_busy(true);
    busy.build_shape_over(1, 1);
    EXPECT_EQ(busy.editor.build_shape(), nullptr);
}

TEST_F(shape_building, an_edited_shape_is_updated_in_place)
{
    t_shape& field = listed_shape("field");
    field.classes = {0};
    doc.shape_list.entries[0].selected = true;
    show_tab(waypoints_tab);
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    EXPECT_EQ(selected_texts(doc.class_list), strings{"forest"});
    waypoints_list_mouse_down(editor, 5, false);
    select(doc.class_list, {0});
    EXPECT_TRUE(add_shape_buttton_click(editor).error.empty());
    EXPECT_EQ(texts(doc.shape_list), strings{"field"}) << "an updated shape keeps its name";
    EXPECT_EQ(field.nodes.size(), 4u);
    EXPECT_EQ(field.classes, (class_type{0})) << "re-committing does not file it twice";
    EXPECT_FALSE(field.editing);
    EXPECT_TRUE(shape_building_over());
    EXPECT_EQ(editor.take_new_number(build_mode::shape), 1) << "no new shape was named";
}

TEST_F(shape_building, an_edited_shape_gone_from_the_list_is_added_again)
{
    t_shape& field = listed_shape("field");
    doc.shape_list.entries[0].selected = true;
    show_tab(waypoints_tab);
    edit_shape_button_click(editor);
    doc.shape_list.clear();
    waypoints_list_mouse_down(editor, 4, false);
    EXPECT_EQ(add_shape_buttton_click(editor).error, "Cant update shape, so creating a new one");
    EXPECT_EQ(texts(doc.shape_list), strings{"New-Shape-1"});
    EXPECT_FALSE(field.editing) << "the item listed again can be deleted";
}

TEST_F(shape_building, an_item_with_1024_classes_keeps_them)
{
    build_shape_over(0, 0);
    t_shape& shape = *editor.build_shape();
    shape.classes.assign(1024, 1);
    select(doc.class_list, {0});
    add_shape_buttton_click(editor);
    EXPECT_EQ(shape.class_count(), 1024);
    EXPECT_EQ(shape.name, "New-Shape-1");
    EXPECT_EQ(doc.classes[0]->name_counter, 1);
    EXPECT_TRUE(doc.class_list.entries[0].selected);
}

TEST_F(shape_building, line_and_polygon_buttons_apply_to_the_shape_being_built)
{
    build_shape_over(0, 2);
    EXPECT_TRUE(path_button_click(editor).repaint);
    EXPECT_EQ(editor.build_shape()->shape_type, s_path);
    EXPECT_EQ(editor.line_choice(), line_kind::line);
    polygon_button_click(editor);
    EXPECT_EQ(editor.build_shape()->shape_type, s_polygon);
    path_button_click(editor);
    add_shape_buttton_click(editor);
    EXPECT_TRUE(doc.shape_list.object_at<t_shape>(0)->is_path());
    build_shape_over(5, 5);
    EXPECT_EQ(editor.build_shape()->shape_type, s_polygon) << "new shapes start as polygons";
}

} // namespace
} // namespace wayloom::test
