#include "editing/mode_switching.h"

#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"
#include "view/geometry/projection.h"

#include <algorithm>

namespace wayloom {

void copy_class_entries(const item_list& from, item_list& to)
{
    std::vector<list_object> selected;
    for (const list_entry& entry : to.entries)
        if (entry.selected) selected.push_back(entry.object);
    std::vector<list_entry> copied;
    copied.reserve(from.size());
    for (const list_entry& entry : from.entries) {
        const bool was_selected =
            !std::holds_alternative<std::monostate>(entry.object) &&
            std::find(selected.begin(), selected.end(), entry.object) != selected.end();
        copied.push_back({entry.text, entry.object, was_selected});
    }
    to.entries = std::move(copied);
}

edit_result map_control_change(map_editor& editor, int tab)
{
    const bool showed_build_item = editor.view.building_shape || editor.view.building_set;
    editor.shown_tab = tab;
    edit_result result;
    if (tab == waypoints_tab) {
        result = enter_waypoints(editor);
    } else if (tab == points_tab) {
        result = enter_points(editor, true);
    } else {
        if (editor.mode == waypoints_tab) exit_waypoints(editor);
        if (editor.mode == points_tab) exit_points(editor);
        editor.mode = tab;
    }
    // The selection was last projected before the build item took the surface.
    if (showed_build_item && !editor.view.building_shape && !editor.view.building_set)
        result |= show_selection(editor);
    return result;
}

edit_result show_selection(map_editor& editor)
{
    editor.sync_view();
    resize_window(editor.view, editor.doc.shape_list);
    edit_result result;
    result.repaint = true;
    return result;
}

edit_result enter_waypoints(map_editor& editor)
{
    edit_result result;
    if (editor.mode == points_tab) exit_points(editor);
    if (!editor.building_set) {
        editor.building_shape = true;
        const t_shape* shape = editor.build_shape();
        if (shape && !shape->nodes.empty()) {
            editor.right_toolbar_shown = true;
            result |= refresh_build_shape(editor);
        }
    }
    editor.mode = waypoints_tab;
    editor.sync_view();
    return result;
}

void exit_waypoints(map_editor& editor)
{
    editor.right_toolbar_shown = false;
    editor.building_shape = false;
    editor.sync_view();
}

edit_result enter_points(map_editor& editor, bool refresh)
{
    edit_result result;
    if (editor.mode == waypoints_tab) exit_waypoints(editor);
    if (!editor.building_shape) {
        editor.building_set = true;
        const t_set* set = editor.build_set();
        if (set && set->point_count > 0) {
            editor.points_toolbar_shown = true;
            if (refresh) result |= refresh_build_set(editor);
        }
        if (editor.mode != points_tab) {
            editor.waypoints_set_list.clear();
            for (const list_entry& entry : editor.doc.waypoints_list.entries)
                editor.waypoints_set_list.add(entry.text, entry.object);
            copy_class_entries(editor.doc.class_list, editor.doc.points_class_list);
        }
    }
    editor.mode = points_tab;
    editor.sync_view();
    return result;
}

void exit_points(map_editor& editor)
{
    editor.points_toolbar_shown = false;
    editor.building_set = false;
    editor.sync_view();
    if (editor.mode == points_tab) {
        copy_class_entries(editor.doc.points_class_list, editor.doc.class_list);
        editor.mode = editor.shown_tab;
    }
}

} // namespace wayloom
