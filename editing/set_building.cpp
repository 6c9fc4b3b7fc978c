#include "editing/set_building.h"

#include "editing/item_classes.h"
#include "editing/mode_switching.h"
#include "model/map_document.h"
#include "model/map_units.h"

#include <algorithm>

namespace wayloom {

namespace {

// The waypoint a Points-tab entry stands for. The entry is trusted only while
// waypoints_list holds the same object at the same place: a copy left over
// from before the waypoints changed is taken again instead.
t_waypoint* set_list_waypoint(map_editor& editor, std::int32_t index)
{
    const auto at = static_cast<std::size_t>(index);
    t_waypoint* shown = editor.waypoints_set_list.object_at<t_waypoint>(at);
    t_waypoint* held = editor.doc.waypoints_list.object_at<t_waypoint>(at);
    if (shown == held) return held;
    editor.sync_with_map();
    return nullptr;
}

} // namespace

edit_result waypoints_set_list_mouse_down(map_editor& editor, std::int32_t index, bool shift)
{
    if (editor.set_click_busy || !editor.waypoints_shape_list.empty()) return {};
    const auto count = static_cast<std::int32_t>(editor.waypoints_set_list.size());
    if (index >= count) return {};
    editor.set_click_busy = true;
    edit_result result;
    if (append_clicked(editor, index, shift, editor.last_set_click, append_point, result)) {
        // The mode first: the first point after a commit must be positioned
        // now, or it would keep position 0 until the next change of the set.
        result |= enter_points(editor, false);
        result |= refresh_build_set(editor);
    }
    editor.set_click_busy = false;
    return result;
}

edit_result append_point(map_editor& editor, std::int32_t index)
{
    if (index < 0) return {};
    t_waypoint* w = set_list_waypoint(editor, index);
    if (!w) return {};
    map_document& doc = editor.doc;
    t_set* set = editor.build_set();
    if (!set) {
        editor.new_set = std::make_unique<t_set>();
        set = editor.new_set.get();
        editor.working_points.clear();
        editor.points_list.clear();
        start_build_item(editor, *set, s_points);
    }
    const std::size_t used = used_points(*set);
    if (used > 0 && set->points[used - 1].waypoint == w->number) return {};
    if (set->point_count >= editor.set_point_limit) return {too_many_points_message};
    match_working_points(editor.working_points, *set);
    point_record& record = set->add_point(doc.new_point);
    record.waypoint = w->number;
    const point_attributes& style = editor.attributes;
    editor.working_points.push_back({w->name, new_point_hint, style.marker, static_cast<long double>(style.point_size),
                                     style.area_colour, style.border_colour, style.show_name,
                                     w->number, false});
    editor.points_list.add(w->name, w);
    editor.changes.changed();
    return {};
}

edit_result refresh_build_set(map_editor& editor)
{
    t_set* set = editor.build_set();
    if (!editor.building_set || !set || set->point_count <= 0) return {};
    const std::size_t count = used_points(*set);
    std::vector<working_point>& working = editor.working_points;
    match_working_points(working, *set);
    const std::size_t listed = std::min(editor.points_list.size(), count);
    for (std::size_t i = 0; i < listed; ++i) working[i].selected = editor.points_list.entries[i].selected;
    editor.points_list.clear();
    for (std::size_t i = 0; i < count; ++i) {
        point_record& r = set->points[i];
        const working_point& wp = working[i];
        r.waypoint = wp.waypoint;
        t_waypoint* w = editor.doc.waypoint(r.waypoint);
        if (w) {
            r.lon = r.corrected_lon = to_map_units(w->lon);
            r.lat = to_map_units(w->lat);
            r.alt = w->alt;
        }
        r.name = wp.name;
        r.hint = wp.hint;
        r.colour = wp.colour;
        r.border = wp.border;
        r.marker = wp.marker;
        r.size = wp.size;
        r.show_name = wp.show_name;
        editor.points_list.add(r.name, w ? list_object{w} : list_object{});
        editor.points_list.entries.back().selected = wp.selected;
    }
    return project_items(editor, nullptr, set);
}

edit_result add_set(map_editor& editor)
{
    edit_result result;
    if (t_set* set = editor.build_set(); set && set->point_count > 0) {
        if (editor.new_set) set = &editor.doc.link(std::move(editor.new_set));
        result.error = commit_item(editor, *set, set, {editor.doc.points_class_list, "New-Set-",
                                   editor.new_set_counter, cant_update_set_message});
        editor.build_set_number = 0;
        editor.points_list.clear();
        exit_points(editor);
    }
    return result |= project_items(editor, nullptr, nullptr);
}

void load_working_points(map_editor& editor, const t_set& set)
{
    editor.working_points.clear();
    editor.points_list.clear();
    for (const point_record& r : set.used()) {
        editor.working_points.push_back(working_point_from(r));
        t_waypoint* w = editor.doc.waypoint(r.waypoint);
        editor.points_list.add(w ? w->name : r.name, w ? list_object{w} : list_object{});
    }
}

} // namespace wayloom
