#include "editing/mode_switching.h"

#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"
#include "view/geometry/projection.h"

#include <algorithm>

namespace wayloom {

namespace {

// What one building mode works on.
struct mode_parts {
    build_mode mode;
    int tab;
    build_item& builder;
    edit_result (*refresh)(map_editor&);
    void (*exit)(map_editor&);
    void (*arrive)(map_editor&);  // coming from another tab, with the mode on
};

mode_parts shape_mode(map_editor& editor)
{
    return {build_mode::shape, waypoints_tab, editor.shape_builder(), refresh_build_shape, exit_waypoints, nullptr};
}

// The Points tab's lists start as copies of the Waypoints tab's.
void copy_waypoints_tab(map_editor& editor)
{
    editor.waypoints_set_list().copy_unselected(editor.doc().waypoints_list);
    copy_class_entries(editor.doc().class_list, editor.doc().points_class_list);
}

mode_parts set_mode(map_editor& editor)
{
    return {build_mode::set, points_tab, editor.set_builder(), refresh_build_set, exit_points, copy_waypoints_tab};
}

// The other mode ends first; this one turns on unless the other is still
// on. Its tool strip shows when its item has a node or point, and with
// `refresh` the item is rebuilt and redrawn.
edit_result enter(map_editor& editor, const mode_parts& mode, const mode_parts& other, bool refresh)
{
    edit_result result;
    if (editor.mode() == other.tab) other.exit(editor);
    const bool arriving = editor.mode() != mode.tab;
    if (editor.building() != other.mode) {
        editor.start_building(mode.mode);
        if (mode.builder.size(editor.doc()) > 0) {
            mode.builder.show_toolbar(true);
            if (refresh) result |= mode.refresh(editor);
        }
        if (mode.arrive && arriving) mode.arrive(editor);
    }
    editor.set_mode(mode.tab);
    editor.sync_view();
    return result;
}

} // namespace

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
    const bool showed_build_item = editor.view().building_shape || editor.view().building_set;
    editor.show_tab(tab);
    edit_result result;
    if (tab == waypoints_tab) {
        result = enter_waypoints(editor);
    } else if (tab == points_tab) {
        result = enter_points(editor, true);
    } else {
        if (editor.mode() == waypoints_tab) exit_waypoints(editor);
        if (editor.mode() == points_tab) exit_points(editor);
        editor.set_mode(tab);
    }
    // The selection was last projected before the build item took the surface.
    if (showed_build_item && !editor.view().building_shape && !editor.view().building_set)
        result |= show_selection(editor);
    return result;
}

edit_result show_selection(map_editor& editor)
{
    editor.sync_view();
    resize_window(editor.view(), editor.doc().shape_list);
    edit_result result;
    result.repaint = true;
    return result;
}

edit_result enter_waypoints(map_editor& editor)
{
    return enter(editor, shape_mode(editor), set_mode(editor), true);
}

void exit_waypoints(map_editor& editor)
{
    editor.shape_builder().show_toolbar(false);
    if (editor.building_shape()) editor.stop_building();
    editor.sync_view();
}

edit_result enter_points(map_editor& editor, bool refresh)
{
    return enter(editor, set_mode(editor), shape_mode(editor), refresh);
}

void exit_points(map_editor& editor)
{
    editor.set_builder().show_toolbar(false);
    if (editor.building_set()) editor.stop_building();
    editor.sync_view();
    if (editor.mode() == points_tab) {
        copy_class_entries(editor.doc().points_class_list, editor.doc().class_list);
        editor.set_mode(editor.shown_tab());
    }
}

edit_result settle_modes(map_editor& editor)
{
    edit_result result;
    if (editor.mode() == waypoints_tab) {
        if (editor.shape_builder().size(editor.doc()) > 0) result |= enter_waypoints(editor);
        else exit_waypoints(editor);
    } else if (editor.mode() == points_tab) {
        if (editor.set_builder().size(editor.doc()) > 0) {
            result |= enter_points(editor, true);
        } else {
            editor.set_builder().show_toolbar(false);
            if (editor.building_set()) editor.stop_building();
        }
    }
    editor.sync_view();
    return result;
}

} // namespace wayloom
