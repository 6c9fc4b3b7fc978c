#include "editing_fixture.h"

#include "editing/item_commands.h"
#include "editing/node_moves.h"

#include <algorithm>

namespace wayloom::test {
namespace {

using node_moves = editing_fixture;

// Nodes or points w0 … w4; the selected ones move up or down as blocks.
struct move_case {
    const char* name;
    std::vector<int> selected;
    bool up;
    strings order;
};

const std::vector<move_case> move_cases = {
    {"block and single move up", {1, 2, 4}, true, {"w1", "w2", "w0", "w4", "w3"}},
    {"block and single move down", {1, 2, 4}, false, {"w0", "w3", "w1", "w2", "w4"}},
    {"a block at the top stays", {0, 1}, true, {"w0", "w1", "w2", "w3", "w4"}},
    {"a block at the bottom stays", {3, 4}, false, {"w0", "w1", "w2", "w3", "w4"}},
    {"the last moves up", {4}, true, {"w0", "w1", "w2", "w4", "w3"}},
    {"the first moves down", {0}, false, {"w1", "w0", "w2", "w3", "w4"}},
};

int number_of(const std::string& name) { return std::stoi(name.substr(1)); }

strings sorted_selection(const item_list& list)
{
    strings s = selected_texts(list);
    std::sort(s.begin(), s.end());
    return s;
}

TEST(moves, nodes_move_as_blocks_with_their_positions_and_stay_selected)
{
    for (const move_case& c : move_cases) {
        SCOPED_TRACE(c.name);
        editing_map m;
        m.build_shape_over(0, 4);
        select(m.editor.shape_builder().entries(), c.selected);
        const strings wanted_selected = sorted_selection(m.editor.shape_builder().entries());
        EXPECT_TRUE((c.up ? up_button_click(m.editor) : down_button_click(m.editor)).repaint);
        EXPECT_EQ(texts(m.editor.shape_builder().entries()), c.order);
        EXPECT_EQ(sorted_selection(m.editor.shape_builder().entries()), wanted_selected);
        const t_shape& shape = *m.editor.build_shape();
        for (std::size_t i = 0; i < 5; ++i) {
            const t_node& node = shape.nodes[i];
            EXPECT_EQ(node.waypoint, number_of(c.order[i]));
            EXPECT_EQ(node.lat, m.doc.waypoints[static_cast<std::size_t>(node.waypoint)]->lat * 360);
        }
    }
}

TEST(moves, points_move_as_blocks_with_their_looks)
{
    for (const move_case& c : move_cases) {
        SCOPED_TRACE(c.name);
        editing_map m;
        m.build_set_over(0, 4);
        for (std::size_t i = 0; i < 5; ++i) m.editor.build_set()->points[i].hint = "hint" + std::to_string(i);
        refresh_build_set(m.editor);
        select(m.editor.set_builder().entries(), c.selected);
        const strings wanted_selected = sorted_selection(m.editor.set_builder().entries());
        c.up ? points_up_button_click(m.editor) : points_down_button_click(m.editor);
        EXPECT_EQ(texts(m.editor.set_builder().entries()), c.order);
        EXPECT_EQ(sorted_selection(m.editor.set_builder().entries()), wanted_selected);
        const t_set& set = *m.editor.build_set();
        for (std::size_t i = 0; i < 5; ++i) {
            const int w = number_of(c.order[i]);
            EXPECT_EQ(set.points[i].name, c.order[i]);
            EXPECT_EQ(set.points[i].hint, "hint" + std::to_string(w)) << "hints move with names";
            EXPECT_EQ(set.points[i].lon, m.doc.waypoints[static_cast<std::size_t>(w)]->lon * 360);
        }
    }
}

TEST_F(node_moves, without_a_selection_nothing_moves)
{
    build_shape_over(0, 2);
    editor.history().set_clean();
    for (auto command : {up_button_click, down_button_click, delete_button_click}) {
        EXPECT_FALSE(command(editor).repaint);
        EXPECT_EQ(build_nodes(), (std::vector<int>{0, 1, 2}));
    }
    EXPECT_FALSE(editor.modified());
}

TEST_F(node_moves, deleting_nodes_keeps_the_rest_and_deleting_all_ends_shape_building)
{
    build_shape_over(0, 5);
    select(editor.shape_builder().entries(), {0, 2, 3});
    delete_button_click(editor);
    EXPECT_EQ(build_nodes(), (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(texts(editor.shape_builder().entries()), (strings{"w1", "w4", "w5"}));
    EXPECT_TRUE(editor.shape_builder().toolbar_shown());

    select(editor.shape_builder().entries(), {0, 1, 2});
    EXPECT_TRUE(delete_button_click(editor).repaint);
    ASSERT_NE(editor.build_shape(), nullptr);
    EXPECT_TRUE(editor.build_shape()->nodes.empty());
    EXPECT_FALSE(editor.shape_builder().toolbar_shown() || editor.building_shape());
    // The next click starts over on the same shape.
    waypoints_list_mouse_down(editor, 7, false);
    EXPECT_EQ(build_nodes(), (std::vector<int>{7}));
    EXPECT_TRUE(editor.shape_builder().toolbar_shown());
}

TEST_F(node_moves, deleting_points_keeps_records_and_entries_together)
{
    build_set_over(0, 4);
    select(editor.set_builder().entries(), {1, 3});
    delete_point_button_click(editor);
    const t_set& set = *editor.build_set();
    ASSERT_EQ(set.point_count, 3);
    EXPECT_EQ(texts(editor.set_builder().entries()), (strings{"w0", "w2", "w4"}));
    EXPECT_EQ(set.points[1].waypoint, 2);
    EXPECT_EQ(set.points[2].name, "w4");
    select(editor.set_builder().entries(), {0, 1, 2});
    delete_point_button_click(editor);
    EXPECT_EQ(set.point_count, 0);
    EXPECT_FALSE(editor.set_builder().toolbar_shown() || editor.building_set());
}

// An item taken up for editing that loses every node or point ends its edit
// as a new build does, and leaves the map and the list.
TEST_F(node_moves, emptying_an_edited_item_deletes_it_from_the_map)
{
    listed_shape("field");
    t_set& posts = doc.create_set();
    posts.shape_type = s_points;
    for (int w : {1, 2}) posts.add_point(doc.new_point).waypoint = w;
    doc.add_item("posts", nullptr, &posts);
    listed_shape("other");

    select(doc.shape_list, {0});
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    show_tab(waypoints_tab);
    select(editor.shape_builder().entries(), {0, 1, 2});
    editor.history().set_clean();
    const edit_result shape_gone = delete_button_click(editor);
    EXPECT_TRUE(shape_gone.repaint && shape_gone.legend);
    EXPECT_TRUE(shape_building_over());
    EXPECT_EQ(texts(doc.shape_list), (strings{"posts", "other"}));
    EXPECT_EQ(doc.shape_count(), 1);
    EXPECT_TRUE(editor.modified());

    show_tab(shapes_tab);
    select(doc.shape_list, {0});
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    show_tab(points_tab);
    select(editor.set_builder().entries(), {0, 1});
    EXPECT_TRUE(delete_point_button_click(editor).legend);
    EXPECT_EQ(texts(doc.shape_list), strings{"other"});
    EXPECT_EQ(doc.set_count(), 0);
    EXPECT_EQ(editor.build_set(), nullptr);
    EXPECT_FALSE(editor.set_builder().toolbar_shown() || editor.building_set() || view.building_set);
    // The next click starts a new set, outside the map until it is added.
    waypoints_set_list_mouse_down(editor, 5, false);
    ASSERT_NE(editor.build_set(), nullptr);
    EXPECT_EQ(editor.build_set()->name, "build");
    EXPECT_EQ(doc.set_count(), 0);
}

TEST_F(node_moves, points_deleted_outside_the_points_tab_stay_consistent)
{
    build_set_over(0, 3);
    show_tab(shapes_tab);  // the Points menu still works from here
    select(editor.set_builder().entries(), {0});
    delete_point_button_click(editor);
    const t_set& set = *editor.build_set();
    ASSERT_EQ(set.point_count, 3);
    EXPECT_EQ(set.points[0].waypoint, 1) << "the deleted point's record went, not the last one";
    EXPECT_EQ(set.points[0].name, "w1");
}

} // namespace
} // namespace wayloom::test
