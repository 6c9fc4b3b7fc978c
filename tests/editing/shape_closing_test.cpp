#include "editing/shape_closing.h"
#include "editing/undo_commands.h"
#include "editing_fixture.h"

#include <algorithm>

namespace wayloom::test {
namespace {

using shape_closing = editing_fixture;

TEST_F(shape_closing, close_path_and_open_shape_turn_the_selected_items)
{
    const std::vector<int> long_shape(511, 3);
    // Nodes before, the command, nodes after; a path's nodes are negative.
    const std::tuple<const char*, std::vector<int>, edit_result (*)(map_editor&), std::vector<int>, std::string> rows[] = {
        {"a walk back to its start closes without its last node", {0, -3, -6, 0}, close_path, {0, 3, 6}, ""},
        {"an open path closes as it is", {0, -3, -6}, close_path, {0, 3, 6}, ""},
        {"two nodes and a return make no shape", {0, -3, 0}, close_path, {0, -3, 0}, too_few_to_close_message},
        {"a shape is no path to close", {0, 3, 6}, close_path, {0, 3, 6}, ""},
        {"a shape opens into a walk round it", {0, 3, 6}, open_shape, {0, -3, -6, 0}, ""},
        {"a path is no shape to open", {0, -3, -6}, open_shape, {0, -3, -6}, ""},
        {"a shape as long as a file holds stays shut", long_shape, open_shape, long_shape, too_many_nodes_message},
    };
    for (const auto& [name, before, command, after, error] : rows) {
        doc.demolish();
        editor.sync_with_map();
        editor.history().clear();
        editor.history().set_clean();
        const bool path = std::ranges::any_of(before, [](int w) { return w < 0; });
        t_shape& shape = doc.create_shape();
        for (int w : before) shape.nodes.emplace_back(std::abs(w), std::abs(w) * 3.6L, 0);
        shape.shape_type = path ? s_path : s_polygon;
        doc.add_item(name, &shape, nullptr);
        listed_shape("unselected");
        select(doc.shape_list, {0});
        const edit_result result = command(editor);
        std::vector<int> got;
        for (const t_node& n : shape.nodes) got.push_back(shape.is_path() ? -n.waypoint : n.waypoint);
        EXPECT_EQ(std::tie(got, result.error), std::tie(after, error)) << name;
        const bool changed = path != shape.is_path();
        EXPECT_EQ(std::pair(editor.modified(), result.repaint), std::pair(changed, changed)) << name;
        EXPECT_FALSE(doc.shapes[1]->is_path()) << name << ": the unselected shape stays";
        if (!changed) continue;
        // One step takes it back to the nodes and kind it had.
        EXPECT_EQ(undo_caption(editor), command == close_path ? "Undo Close path" : "Undo Open shape") << name;
        undo_edit(editor);
        got.clear();
        for (const t_node& n : shape.nodes) got.push_back(shape.is_path() ? -n.waypoint : n.waypoint);
        EXPECT_EQ(std::pair(got, editor.modified()), std::pair(before, false)) << name;
    }
}

} // namespace
} // namespace wayloom::test
