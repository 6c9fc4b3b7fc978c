#include "editing/node_moves.h"

#include "editing/item_classes.h"
#include "editing/map_changes.h"
#include "editing/mode_switching.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"

#include <algorithm>
#include <utility>

namespace wayloom {

namespace {

// What the commands of one tab's strip work on.
struct row_kind {
    build_item& builder;
    const char* noun;  // "node" or "point"
    edit_result (*refresh)(map_editor&);
    void (*exit_mode)(map_editor&);
};

row_kind nodes(map_editor& editor)
{
    return {editor.shape_builder(), "node", refresh_build_shape, exit_waypoints};
}

row_kind points(map_editor& editor)
{
    return {editor.set_builder(), "point", refresh_build_set, exit_points};
}

// Positions of the selected entries that stand for a node or point.
std::vector<std::size_t> selected_rows(const map_editor& editor, const build_item& builder)
{
    std::vector<std::size_t> at;
    const std::size_t count = std::min(builder.entries().size(), builder.size(editor.doc()));
    for (std::size_t i = 0; i < count; ++i)
        if (builder.entries().entries[i].selected) at.push_back(i);
    return at;
}

// The exchanges that move every selected entry one place up (or down) past
// an unselected neighbour, in the order made, so that a selected block
// moves as a whole; a block at the end it moves towards stays.
std::vector<std::pair<std::size_t, std::size_t>> block_moves(const item_list& list, std::size_t count, bool up)
{
    std::vector<bool> selected(count);
    for (std::size_t i = 0; i < count; ++i) selected[i] = list.entries[i].selected;
    std::vector<std::pair<std::size_t, std::size_t>> swaps;
    auto exchange = [&](std::size_t moving, std::size_t other) {
        if (!selected[moving] || selected[other]) return;
        selected[moving] = false;  // the selected one moves, the other takes its place
        selected[other] = true;
        swaps.emplace_back(moving, other);
    };
    if (up)
        for (std::size_t i = 1; i < count; ++i) exchange(i, i - 1);
    else
        for (std::size_t i = count; i-- > 1;) exchange(i - 1, i);
    return swaps;
}

// An item taken up for editing that lost its last node or point leaves the
// map, with its entry in shape_list; a new one stays the builder's, empty.
edit_result drop_if_edited(map_editor& editor, build_item& builder, step_recorder& step)
{
    t_mapper* item = builder.item(editor.doc());
    if (!item || builder.holds_new()) return {};
    step.apply<holding_swapped>(builder, build_holding{});
    step.apply<item_unlinked>(*item);
    edit_result result;
    result.legend = true;
    return result;
}

// The selected rows leave the item and the item is built again from what
// is left. Once the last node or point is gone the building mode ends, an
// edited item leaves the map and the view shows the selection again.
edit_result delete_rows(map_editor& editor, const row_kind& kind)
{
    const std::vector<std::size_t> at = selected_rows(editor, kind.builder);
    if (at.empty()) return {};
    step_recorder step(editor, rows_text("Delete", at.size(), kind.noun));
    step.apply<rows_change>(kind.builder, at, build_rows{}, false);
    edit_result result = kind.refresh(editor);
    if (kind.builder.entries().empty()) {
        kind.exit_mode(editor);
        result |= drop_if_edited(editor, kind.builder, step);
        result |= show_selection(editor);
    }
    return result;
}

// The selected nodes or points one place up or down.
edit_result move_rows(map_editor& editor, const row_kind& kind, bool up)
{
    if (selected_rows(editor, kind.builder).empty()) return {};
    const std::size_t count = std::min(kind.builder.entries().size(), kind.builder.size(editor.doc()));
    auto swaps = block_moves(kind.builder.entries(), count, up);
    if (!swaps.empty()) {
        step_recorder step(editor, rows_text("Move", swaps.size(), kind.noun) + (up ? " up" : " down"));
        step.apply<rows_swapped>(kind.builder, std::move(swaps));
    }
    return kind.refresh(editor);
}

} // namespace

void pick_node(map_editor& editor, build_mode kind, std::size_t row)
{
    const build_item& builder = editor.builder(kind);
    if (kind == build_mode::none || row >= std::min(builder.entries().size(), builder.size(editor.doc()))) return;
    editor.drag().pick(kind, row);
}

edit_result drag_node_to(map_editor& editor, std::size_t row)
{
    node_drag& drag = editor.drag();
    if (!drag.holding()) return {};
    const row_kind kind = drag.kind() == build_mode::set ? points(editor) : nodes(editor);
    const std::size_t count = std::min(kind.builder.entries().size(), kind.builder.size(editor.doc()));
    if (count == 0) return {};
    row = std::min(row, count - 1);
    std::vector<std::pair<std::size_t, std::size_t>> swaps;
    for (std::size_t at = drag.row(); at != row; at = at < row ? at + 1 : at - 1)
        swaps.emplace_back(at, at < row ? at + 1 : at - 1);
    if (swaps.empty()) return {};
    {
        step_recorder step(editor, std::string("Move ") + kind.noun, {drag_steps, drag.id()});
        step.apply<rows_swapped>(kind.builder, std::move(swaps));
    }
    drag.moved_to(row);
    return kind.refresh(editor);
}

void drop_node(map_editor& editor) { editor.drag().let_go(); }

edit_result delete_button_click(map_editor& editor) { return delete_rows(editor, nodes(editor)); }

edit_result up_button_click(map_editor& editor) { return move_rows(editor, nodes(editor), true); }

edit_result down_button_click(map_editor& editor) { return move_rows(editor, nodes(editor), false); }

edit_result delete_point_button_click(map_editor& editor) { return delete_rows(editor, points(editor)); }

edit_result points_up_button_click(map_editor& editor) { return move_rows(editor, points(editor), true); }

edit_result points_down_button_click(map_editor& editor) { return move_rows(editor, points(editor), false); }

} // namespace wayloom
