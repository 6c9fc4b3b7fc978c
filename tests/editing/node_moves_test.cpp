#include "editing_fixture.h"

#include "editing/node_moves.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"

#include <algorithm>
#include <functional>

namespace wayloom::test {
namespace {

using node_moves = editing_fixture;

struct move_case {
    const char* name;
    std::vector<int> selected;
    bool up;
    std::vector<std::string> order;
};

const std::vector<move_case> move_cases = {
    {"block and single move up", {1, 2, 4}, true, {"w1", "w2", "w0", "w4", "w3"}},
    {"block and single move down", {1, 2, 4}, false, {"w0", "w3", "w1", "w2", "w4"}},
    {"a block at the top stays", {0, 1}, true, {"w0", "w1", "w2", "w3", "w4"}},
    {"a block at the bottom stays", {3, 4}, false, {"w0", "w1", "w2", "w3", "w4"}},
    {"the last moves up", {4}, true, {"w0", "w1", "w2", "w4", "w3"}},
    {"the first moves down", {0}, false, {"w1", "w0", "w2", "w3", "w4"}},
};

// Nodes A B C D E are waypoints w0 … w4.
TEST_F(node_moves, nodes_move_as_blocks_and_stay_selected)
{
    for (const move_case& c : move_cases) {
        SCOPED_TRACE(c.name);
        map_document d;
        view_state v;
        for (int i = 0; i < 5; ++i) {
            t_waypoint& w = d.create_waypoint();
            w.name = "w" + std::to_string(i);
            w.lon = i;
            w.lat = i * i;
        }
        d.refill_waypoints_list();
        map_editor e{d, v};
        map_control_change(e, waypoints_tab);
        waypoints_list_mouse_down(e, 0, false);
        waypoints_list_mouse_down(e, 4, true);
        select(e.waypoints_shape_list, c.selected);
        std::vector<std::string> wanted_selected;
        for (int i : c.selected)
            wanted_selected.push_back(e.waypoints_shape_list.entries[static_cast<std::size_t>(i)].text);
        const edit_result r = c.up ? up_button_click(e) : down_button_click(e);
        EXPECT_TRUE(r.repaint);
        EXPECT_EQ(texts(e.waypoints_shape_list), c.order);
        const t_shape& shape = *e.build_shape();
        std::vector<std::string> node_names;
        for (const t_node& node : shape.nodes) node_names.push_back("w" + std::to_string(node.waypoint));
        EXPECT_EQ(node_names, c.order) << "the nodes move with the entries";
        std::vector<std::string> now_selected = selected_texts(e.waypoints_shape_list);
        std::sort(now_selected.begin(), now_selected.end());
        EXPECT_EQ(now_selected, wanted_selected);
        // The positions follow too: each node stands where its waypoint is.
        for (const t_node& node : shape.nodes) EXPECT_EQ(node.lat, node.waypoint * node.waypoint * 360);
    }
}

TEST_F(node_moves, points_move_as_blocks_with_their_working_entries)
{
    for (const move_case& c : move_cases) {
        SCOPED_TRACE(c.name);
        map_document d;
        view_state v;
        for (int i = 0; i < 5; ++i) {
            t_waypoint& w = d.create_waypoint();
            w.name = "w" + std::to_string(i);
            w.lon = i;
        }
        d.refill_waypoints_list();
        map_editor e{d, v};
        map_control_change(e, points_tab);
        waypoints_set_list_mouse_down(e, 0, false);
        waypoints_set_list_mouse_down(e, 4, true);
        for (std::size_t i = 0; i < 5; ++i) e.working_points[i].hint = "hint" + std::to_string(i);
        refresh_build_set(e);
        select(e.points_list, c.selected);
        c.up ? points_up_button_click(e) : points_down_button_click(e);
        EXPECT_EQ(texts(e.points_list), c.order);
        const t_set& set = *e.build_set();
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(set.points[i].name, c.order[i]);
            EXPECT_EQ(set.points[i].hint, "hint" + c.order[i].substr(1)) << "hints move with names";
            EXPECT_EQ(set.points[i].lon, std::stoi(c.order[i].substr(1)) * 360);
        }
        EXPECT_EQ(selected_texts(e.points_list).size(), c.selected.size());
    }
}

TEST_F(node_moves, without_a_selection_nothing_moves)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    waypoints_list_mouse_down(editor, 2, true);
    editor.changes.saved();
    for (auto command : {up_button_click, down_button_click, delete_button_click}) {
        EXPECT_FALSE(command(editor).repaint);
        EXPECT_EQ(build_nodes(), (std::vector<int>{0, 1, 2}));
    }
    EXPECT_FALSE(editor.changes.modified);
}

TEST_F(node_moves, deleting_selected_nodes_keeps_the_rest_in_order)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    waypoints_list_mouse_down(editor, 5, true);
    select(editor.waypoints_shape_list, {0, 2, 3});
    delete_button_click(editor);
    EXPECT_EQ(build_nodes(), (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(texts(editor.waypoints_shape_list), (std::vector<std::string>{"w1", "w4", "w5"}));
    EXPECT_TRUE(editor.right_toolbar_shown);
}

TEST_F(node_moves, deleting_all_nodes_ends_shape_building)
{
    show_tab(waypoints_tab);
    waypoints_list_mouse_down(editor, 0, false);
    waypoints_list_mouse_down(editor, 2, true);
    select(editor.waypoints_shape_list, {0, 1, 2});
    const edit_result r = delete_button_click(editor);
    EXPECT_TRUE(r.repaint);
    ASSERT_NE(editor.build_shape(), nullptr);
    EXPECT_TRUE(editor.build_shape()->nodes.empty());
    EXPECT_FALSE(editor.right_toolbar_shown);
    EXPECT_FALSE(editor.building_shape);
    // The next click starts over on the same shape.
    waypoints_list_mouse_down(editor, 7, false);
    EXPECT_EQ(build_nodes(), (std::vector<int>{7}));
    EXPECT_TRUE(editor.right_toolbar_shown);
}

TEST_F(node_moves, deleting_points_keeps_records_and_entries_together)
{
    show_tab(points_tab);
    waypoints_set_list_mouse_down(editor, 0, false);
    waypoints_set_list_mouse_down(editor, 4, true);
    select(editor.points_list, {1, 3});
    delete_point_button_click(editor);
    const t_set& set = *editor.build_set();
    ASSERT_EQ(set.point_count, 3);
    EXPECT_EQ(texts(editor.points_list), (std::vector<std::string>{"w0", "w2", "w4"}));
    EXPECT_EQ(set.points[1].waypoint, 2);
    EXPECT_EQ(set.points[2].name, "w4");
    select(editor.points_list, {0, 1, 2});
    delete_point_button_click(editor);
    EXPECT_EQ(set.point_count, 0);
    EXPECT_FALSE(editor.points_toolbar_shown);
    EXPECT_FALSE(editor.building_set);
}

TEST_F(node_moves, points_deleted_outside_the_points_tab_stay_consistent)
{
    show_tab(points_tab);
    waypoints_set_list_mouse_down(editor, 0, false);
    waypoints_set_list_mouse_down(editor, 3, true);
    show_tab(shapes_tab);  // the Points menu still works from here
    select(editor.points_list, {0});
    delete_point_button_click(editor);
    const t_set& set = *editor.build_set();
    ASSERT_EQ(set.point_count, 3);
    EXPECT_EQ(set.points[0].waypoint, 1) << "the deleted point's record went, not the last one";
    EXPECT_EQ(set.points[0].name, "w1");
}

} // namespace
} // namespace wayloom::test
