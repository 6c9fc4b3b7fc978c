#include "editing_fixture.h"

#include "editing/shape_closing.h"

namespace wayloom::test {
namespace {

using shape_closing = editing_fixture;

TEST_F(shape_closing, close_path_and_open_shape_turn_the_selected_items)
{
    struct row {
        const char* name;
        std::vector<int> nodes;
        bool path;
        edit_result (*command)(map_editor&);
        std::vector<int> after;
        bool path_after;
        std::string error;
    };
    const std::vector<int> long_shape(511, 3);
    const row rows[] = {
        {"a walk back to its start closes without its last node", {0, 3, 6, 0}, true, close_path, {0, 3, 6}, false, ""},
        {"an open path closes as it is", {0, 3, 6}, true, close_path, {0, 3, 6}, false, ""},
        {"two nodes and a return make no shape", {0, 3, 0}, true, close_path, {0, 3, 0}, true, too_few_to_close_message},
        {"a shape is no path to close", {0, 3, 6}, false, close_path, {0, 3, 6}, false, ""},
        {"a shape opens into a walk round it", {0, 3, 6}, false, open_shape, {0, 3, 6, 0}, true, ""},
        {"a path is no shape to open", {0, 3, 6}, true, open_shape, {0, 3, 6}, true, ""},
        {"a shape as long as a file holds stays shut", long_shape, false, open_shape, long_shape, false,
         too_many_nodes_message},
    };
    for (const row& r : rows) {
        doc.demolish();
        editor.sync_with_map();
        editor.changes.modified = false;
        t_shape& shape = doc.create_shape();
        for (int w : r.nodes) shape.nodes.emplace_back(w, w * 3.6L, 0);
        shape.shape_type = r.path ? s_path : s_polygon;
        doc.add_item(r.name, &shape, nullptr);
        listed_shape("unselected");
        select(doc.shape_list, {0});
        const edit_result result = r.command(editor);
        std::vector<int> after;
        for (const t_node& n : shape.nodes) after.push_back(n.waypoint);
        EXPECT_EQ(std::tie(after, result.error), std::tie(r.after, r.error)) << r.name;
        EXPECT_EQ(shape.is_path(), r.path_after) << r.name;
        const bool changed = r.path != r.path_after;
        EXPECT_EQ(std::pair(editor.changes.modified, result.repaint), std::pair(changed, changed)) << r.name;
        EXPECT_FALSE(doc.shapes[1]->is_path()) << r.name << ": the unselected shape stays";
    }
}

} // namespace
} // namespace wayloom::test
