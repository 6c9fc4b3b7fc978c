#include "editing_fixture.h"

#include "editing/item_commands.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"

namespace wayloom::test {
namespace {

using shape_building = editing_fixture;

struct click { int index; bool shift; };

struct click_case {
    const char* name;
    std::vector<click> clicks;
    std::vector<int> nodes;
    int anchor;
};

TEST_F(shape_building, click_rules)
{
    const std::vector<click_case> cases = {
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
    for (const click_case& c : cases) {
        SCOPED_TRACE(c.name);
        map_document d;
        view_state v;
        v.avail_width = 400;
        v.avail_height = 300;
        for (int i = 0; i < 10; ++i) {
            t_waypoint& w = d.create_waypoint();
            w.name = "w" + std::to_string(i);
            w.lon = i;
            w.lat = i;
        }
        d.refill_waypoints_list();
        map_editor e{d, v};
        map_control_change(e, waypoints_tab);
        for (const click& k : c.clicks) waypoints_list_mouse_down(e, k.index, k.shift);
        std::vector<int> nodes;
        if (const t_shape* s = e.build_shape())
            for (const t_node& n : s->nodes) nodes.push_back(n.waypoint);
        EXPECT_EQ(nodes, c.nodes);
        EXPECT_EQ(e.last_shape_click, c.anchor);
        EXPECT_EQ(e.waypoints_shape_list.size(), c.nodes.size());
    }
}

TEST_F(shape_building, first_node_starts_a_build_shape_shown_alone)
{
    show_tab(waypoints_tab);
    const edit_result r = waypoints_list_mouse_down(editor, 2, false);
    EXPECT_TRUE(r.repaint);
    const t_shape* shape = editor.build_shape();
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->name, "build");
    EXPECT_EQ(shape->shape_type, s_polygon);
    EXPECT_TRUE(editor.right_toolbar_shown);
    EXPECT_TRUE(editor.building_shape);
    EXPECT_EQ(view.building_shape, shape);
    EXPECT_EQ(texts(editor.waypoints_shape_list), (std::vector<std::string>{"w2"}));
    EXPECT_EQ(shape->nodes[0].lon, doc.waypoints[2]->lon * 360);
    EXPECT_EQ(shape->nodes[0].lat, doc.waypoints[2]->lat * 360);
    EXPECT_TRUE(doc.shape_list.empty()) << "not listed before it is committed";
}

TEST_F(shape_building, nodes_take_their_waypoint_positions_and_are_projected)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    waypoints_list_mouse_down(editor, 9, true);
    const t_shape& shape = *editor.build_shape();
    ASSERT_EQ(shape.node_count(), 10);
    // The view fits the shape alone: its corners reach the surface's edges.
    std::int32_t max_x = 0;
    for (const t_node& n : shape.nodes) max_x = std::max(max_x, n.pixel.x);
    EXPECT_NEAR(max_x, view.surface.width, 1);
    EXPECT_EQ(shape.nodes[0].pixel.x, 0);
    EXPECT_GT(view.surface.width, 0);
}

TEST_F(shape_building, the_513th_node_is_refused)
{
    show_tab(waypoints_tab);
    for (int i = 0; i < 512; ++i) {
        const edit_result r = append_node(editor, i % 2);
        ASSERT_TRUE(r.error.empty()) << i;
    }
    EXPECT_EQ(editor.build_shape()->node_count(), 512);
    const edit_result r = append_node(editor, 0);
    EXPECT_EQ(r.error, "Too many nodes");
    EXPECT_EQ(editor.build_shape()->node_count(), 512);
    EXPECT_EQ(editor.waypoints_shape_list.size(), 512u);
}

TEST_F(shape_building, a_range_reaching_the_limit_reports_once_and_stops)
{
    editor.shape_node_limit = 4;
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    const edit_result r = waypoints_list_mouse_down(editor, 9, true);
    EXPECT_EQ(r.error, "Too many nodes");
    EXPECT_EQ(build_nodes(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(editor.last_shape_click, -1);
}

TEST_F(shape_building, commit_with_two_classes_is_named_after_the_first)
{
    t_class& forest = *doc.classes[0];
    forest.name_counter = 4;
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 1, false);
    waypoints_list_mouse_down(editor, 4, true);
    select(doc.class_list, {0, 1});
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_TRUE(r.error.empty());
    EXPECT_TRUE(r.legend);
    ASSERT_EQ(doc.shape_list.size(), 1u);
    const t_shape* shape = doc.shape_list.object_at<t_shape>(0);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->name, "forest-4");
    EXPECT_EQ(doc.shape_list.entries[0].text, "forest-4");
    EXPECT_FALSE(doc.shape_list.entries[0].selected);
    EXPECT_EQ(shape->colour, forest.colour);
    EXPECT_EQ(shape->classes, (class_type{0, 1}));
    EXPECT_EQ(forest.name_counter, 5);
    EXPECT_EQ(doc.classes[1]->name_counter, 1) << "only the naming class counts";
    EXPECT_TRUE(selected_texts(doc.class_list).empty());
    EXPECT_GT(shape->area, 0);
    EXPECT_EQ(editor.build_shape(), nullptr);
    EXPECT_EQ(view.building_shape, nullptr);
    EXPECT_TRUE(editor.waypoints_shape_list.empty());
    EXPECT_FALSE(editor.right_toolbar_shown);
    EXPECT_FALSE(editor.building_shape);
}

TEST_F(shape_building, every_new_shape_advances_the_new_shape_counter)
{
    show_tab(waypoints_tab);
    auto build = [&](std::initializer_list<int> classes) {
        waypoints_list_mouse_down(editor, 0, false);
        waypoints_list_mouse_down(editor, 3, true);
        select(doc.class_list, classes);
        add_shape_buttton_click(editor);
        show_tab(waypoints_tab);
    };
    build({});
    build({1});
    build({});
    EXPECT_EQ(texts(doc.shape_list), (std::vector<std::string>{"New-Shape-1", "lake-1", "New-Shape-3"}));
    EXPECT_EQ(doc.shape_list.object_at<t_shape>(2)->colour, grey);
}

TEST_F(shape_building, committing_without_nodes_only_redraws)
{
    show_tab(waypoints_tab);
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_TRUE(r.repaint);
    EXPECT_FALSE(r.legend);
    EXPECT_TRUE(doc.shape_list.empty());
    EXPECT_EQ(editor.new_shape_counter, 1);
    EXPECT_FALSE(editor.changes.modified);
}

TEST_F(shape_building, add_does_nothing_outside_a_building_mode)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    show_tab(shapes_tab);
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_FALSE(r.repaint);
    EXPECT_TRUE(doc.shape_list.empty());
    EXPECT_NE(editor.build_shape(), nullptr);
}

TEST_F(shape_building, clicks_on_the_other_tab_are_ignored_while_building)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    show_tab(points_tab);
    waypoints_set_list_mouse_down(editor, 3, false);
    EXPECT_EQ(editor.build_set(), nullptr);
    EXPECT_TRUE(editor.points_list.empty());

    // And the other way round: a set with points blocks shape clicks.
    map_document d;
    view_state v;
    for (int i = 0; i < 3; ++i) d.create_waypoint().name = "p" + std::to_string(i);
    d.refill_waypoints_list();
    map_editor e{d, v};
    map_control_change(e, points_tab);
    waypoints_set_list_mouse_down(e, 1, false);
    ASSERT_EQ(e.points_list.size(), 1u);
    map_control_change(e, waypoints_tab);
    waypoints_list_mouse_down(e, 2, false);
    EXPECT_EQ(e.build_shape(), nullptr);
}

TEST_F(shape_building, a_busy_click_is_ignored)
{
    show_tab(waypoints_tab);
    editor.shape_click_busy = true;
    waypoints_list_mouse_down(editor, 1, false);
    EXPECT_EQ(editor.build_shape(), nullptr);
}

TEST_F(shape_building, an_edited_shape_is_updated_in_place)
{
    t_shape& field = doc.create_shape();
    field.name = "field";
    field.classes = {0};
    for (int w : {1, 2, 3}) field.nodes.push_back({w, 0, 0, 0, {}});
    doc.add_item("field", &field, nullptr);
    doc.shape_list.entries[0].selected = true;
    show_tab(waypoints_tab);
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    EXPECT_EQ(selected_texts(doc.class_list), (std::vector<std::string>{"forest"}));
    waypoints_list_mouse_down(editor, 5, false);
    select(doc.class_list, {0});
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(doc.shape_list.size(), 1u);
    EXPECT_EQ(field.name, "field") << "an updated shape keeps its name";
    EXPECT_EQ(field.nodes.size(), 4u);
    EXPECT_EQ(field.classes, (class_type{0})) << "re-committing does not file it twice";
    EXPECT_FALSE(field.editing);
    EXPECT_EQ(editor.build_shape(), nullptr);
    EXPECT_EQ(editor.new_shape_counter, 1);
}

TEST_F(shape_building, an_edited_shape_gone_from_the_list_is_added_again)
{
    t_shape& field = doc.create_shape();
    field.name = "field";
    field.nodes.push_back({1, 0, 0, 0, {}});
    doc.add_item("field", &field, nullptr);
    doc.shape_list.entries[0].selected = true;
    show_tab(waypoints_tab);
    edit_shape_button_click(editor);
    doc.shape_list.clear();
    waypoints_list_mouse_down(editor, 4, false);
    const edit_result r = add_shape_buttton_click(editor);
    EXPECT_EQ(r.error, "Cant update shape, so creating a new one");
    EXPECT_EQ(texts(doc.shape_list), (std::vector<std::string>{"New-Shape-1"}));
    EXPECT_FALSE(field.editing) << "the item listed again can be deleted";
}

TEST_F(shape_building, an_item_with_1024_classes_keeps_them)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    t_shape& shape = *editor.build_shape();
    shape.classes.assign(1024, 1);
    shape.colour = make_colour(1, 2, 3);
    select(doc.class_list, {0});
    add_shape_buttton_click(editor);
    EXPECT_EQ(shape.class_count(), 1024);
    EXPECT_EQ(shape.name, "New-Shape-1");
    EXPECT_EQ(doc.classes[0]->name_counter, 1);
    EXPECT_TRUE(doc.class_list.entries[0].selected);
}

TEST_F(shape_building, line_and_polygon_buttons_apply_to_the_shape_being_built)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    waypoints_list_mouse_down(editor, 2, true);
    EXPECT_TRUE(path_button_click(editor).repaint);
    EXPECT_EQ(editor.build_shape()->shape_type, s_path);
    EXPECT_EQ(editor.line_choice, line_kind::line);
    polygon_button_click(editor);
    EXPECT_EQ(editor.build_shape()->shape_type, s_polygon);
    path_button_click(editor);
    add_shape_buttton_click(editor);
    EXPECT_TRUE(doc.shape_list.object_at<t_shape>(0)->is_path());
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 5, false);
    EXPECT_EQ(editor.build_shape()->shape_type, s_polygon) << "new shapes start as polygons";
}

} // namespace
} // namespace wayloom::test
