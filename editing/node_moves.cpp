#include "editing/node_moves.h"

#include "editing/mode_switching.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"

#include <algorithm>
#include <utility>

namespace wayloom {

namespace {

bool any_selected(const item_list& list)
{
    return std::any_of(list.entries.begin(), list.entries.end(),
                       [](const list_entry& e) { return e.selected; });
}

// Keeps the records whose entries are not selected, in order, calling
// move(to, from) for each one that moves down; only the first `listed` of
// `count` records have entries. Returns how many are kept.
template <class Move>
std::size_t keep_unselected(const item_list& list, std::size_t listed, std::size_t count, Move move)
{
    std::size_t write = 0;
    for (std::size_t read = 0; read < count; ++read) {
        if (read < listed && list.entries[read].selected) continue;
        if (write != read) move(write, read);
        ++write;
    }
    return write;
}

// One place up for every selected entry below an unselected one, in
// increasing order, so that a selected block moves as a whole. `swap_items`
// exchanges what the entries stand for. Only the first `count` entries take part.
template <class Swap> void move_up(item_list& list, std::size_t count, Swap swap_items)
{
    for (std::size_t i = 1; i < count; ++i) {
        if (list.entries[i].selected && !list.entries[i - 1].selected) {
            std::swap(list.entries[i], list.entries[i - 1]);
            swap_items(i, i - 1);
        }
    }
}

template <class Swap> void move_down(item_list& list, std::size_t count, Swap swap_items)
{
    for (std::size_t i = count; i-- > 1;) {
        if (list.entries[i - 1].selected && !list.entries[i].selected) {
            std::swap(list.entries[i - 1], list.entries[i]);
            swap_items(i - 1, i);
        }
    }
}

// An item taken up for editing that lost its last node or point leaves the
// map, with its entry in shape_list; a new one stays the builder's, empty.
template <class Item>
edit_result drop_if_edited(map_editor& editor, Item& item, std::int32_t& build_number)
{
    if (!item.editing) return {};
    std::erase_if(editor.doc.shape_list.entries, [&](const list_entry& e) {
        const auto* held = std::get_if<Item*>(&e.object);
        return held && *held == &item;
    });
    build_number = 0;
    editor.doc.unlink(item);
    edit_result result;
    result.legend = true;
    return result;
}

// The selected entries leave the list and the item is built again from what
// is left. Once the last node or point is gone the building mode ends, an
// edited item leaves the map and the view shows the selection again.
template <class Item>
edit_result finish_delete(map_editor& editor, item_list& list, Item& item, std::int32_t& build_number,
                          edit_result (*refresh)(map_editor&), void (*exit_mode)(map_editor&))
{
    std::erase_if(list.entries, [](const list_entry& e) { return e.selected; });
    editor.changes.changed();
    edit_result result = refresh(editor);
    if (list.empty()) {
        exit_mode(editor);
        result |= drop_if_edited(editor, item, build_number);
        result |= show_selection(editor);
    }
    return result;
}

// The entries of points_list that stand for points. The working entries are
// matched to the records first, so the records move with them and stay right
// even when the set is not rebuilt (set-building mode off).
std::size_t listed_points(map_editor& editor, const t_set& set)
{
    match_working_points(editor.working_points, set);
    return std::min(editor.points_list.size(), used_points(set));
}

void swap_points(map_editor& editor, t_set& set, std::size_t a, std::size_t b)
{
    std::swap(editor.working_points[a], editor.working_points[b]);
    std::swap(set.points[a], set.points[b]);
}

// The selected nodes of the shape being built one place up or down.
edit_result move_nodes(map_editor& editor, bool up)
{
    t_shape* shape = editor.build_shape();
    item_list& list = editor.waypoints_shape_list;
    if (!shape || !any_selected(list)) return {};
    const std::size_t count = std::min(list.size(), shape->nodes.size());
    auto swap_nodes = [&](std::size_t a, std::size_t b) { std::swap(shape->nodes[a], shape->nodes[b]); };
    if (up) move_up(list, count, swap_nodes);
    else move_down(list, count, swap_nodes);
    editor.changes.changed();
    return refresh_build_shape(editor);
}

// The selected points of the set being built, with their working entries.
edit_result move_points(map_editor& editor, bool up)
{
    t_set* set = editor.build_set();
    item_list& list = editor.points_list;
    if (!set || !any_selected(list)) return {};
    const std::size_t count = listed_points(editor, *set);
    auto swap = [&](std::size_t a, std::size_t b) { swap_points(editor, *set, a, b); };
    if (up) move_up(list, count, swap);
    else move_down(list, count, swap);
    editor.changes.changed();
    return refresh_build_set(editor);
}

} // namespace

edit_result delete_button_click(map_editor& editor)
{
    t_shape* shape = editor.build_shape();
    item_list& list = editor.waypoints_shape_list;
    if (!shape || !any_selected(list)) return {};
    std::vector<t_node>& nodes = shape->nodes;
    nodes.resize(keep_unselected(list, std::min(list.size(), nodes.size()), nodes.size(),
                                 [&](std::size_t to, std::size_t from) { nodes[to] = nodes[from]; }));
    return finish_delete(editor, list, *shape, editor.build_shape_number, refresh_build_shape,
                         exit_waypoints);
}

edit_result up_button_click(map_editor& editor) { return move_nodes(editor, true); }

edit_result down_button_click(map_editor& editor) { return move_nodes(editor, false); }

edit_result delete_point_button_click(map_editor& editor)
{
    t_set* set = editor.build_set();
    item_list& list = editor.points_list;
    if (!set || !any_selected(list)) return {};
    const std::size_t listed = listed_points(editor, *set);  // matches the working entries first
    std::vector<working_point>& working = editor.working_points;
    const std::size_t kept = keep_unselected(list, listed, working.size(),
                                             [&](std::size_t to, std::size_t from) {
                                                 working[to] = std::move(working[from]);
                                                 set->points[to] = std::move(set->points[from]);
                                             });
    working.resize(kept);
    set->point_count = static_cast<std::int32_t>(kept);
    return finish_delete(editor, list, *set, editor.build_set_number, refresh_build_set, exit_points);
}

edit_result points_up_button_click(map_editor& editor) { return move_points(editor, true); }

edit_result points_down_button_click(map_editor& editor) { return move_points(editor, false); }

} // namespace wayloom
