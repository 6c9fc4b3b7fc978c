#include "editing/mode_switching.h"

#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"

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
    editor.shown_tab = tab;
    if (tab == waypoints_tab) return enter_waypoints(editor);
    if (tab == points_tab) return enter_points(editor, true);
    if (editor.mode == waypoints_tab) exit_waypoints(editor);
    if (editor.mode == points_tab) exit_points(editor);
    editor.mode = tab;
    return {};
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
    return result;
}

void exit_waypoints(map_editor& editor)
{
    editor.right_toolbar_shown = false;
    editor.building_shape = false;
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
    return result;
}

void exit_points(map_editor& editor)
{
    editor.points_toolbar_shown = false;
    editor.building_set = false;
    if (editor.mode == points_tab) {
        copy_class_entries(editor.doc.points_class_list, editor.doc.class_list);
        editor.mode = editor.shown_tab;
    }
}

} // namespace wayloom
