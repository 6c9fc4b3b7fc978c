#include "editing/set_building.h"

#include "editing/item_classes.h"
#include "editing/map_changes.h"
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
    t_waypoint* shown = editor.waypoints_set_list().object_at<t_waypoint>(at);
    t_waypoint* held = editor.doc().waypoints_list.object_at<t_waypoint>(at);
    if (shown == held) return held;
    editor.sync_with_map();
    return nullptr;
}

} // namespace

edit_result waypoints_set_list_mouse_down(map_editor& editor, std::int32_t index, bool shift)
{
    build_item& builder = editor.set_builder();
    if (builder.busy() || !editor.shape_builder().entries().empty()) return {};
    const auto count = static_cast<std::int32_t>(editor.waypoints_set_list().size());
    if (index >= count) return {};
    builder.set_busy(true);
    const std::size_t before = builder.size(editor.doc());
    edit_result result;
    {
        step_recorder step(editor, "");
        if (append_clicked(editor, builder, index, shift, append_point, result)) {
            // The mode first: the first point after a commit must be positioned
            // now, or it would keep position 0 until the next change of the set.
            result |= enter_points(editor, false);
            result |= refresh_build_set(editor);
        }
        step.set_text(rows_text("Add", builder.size(editor.doc()) - before, "point"));
    }
    builder.set_busy(false);
    return result;
}

edit_result append_point(map_editor& editor, std::int32_t index)
{
    if (index < 0) return {};
    const t_waypoint* w = set_list_waypoint(editor, index);
    if (!w) return {};
    build_item& builder = editor.set_builder();
    step_recorder step(editor, "Add point");
    if (!editor.build_set()) start_build_item(editor, builder, step);
    const t_set& set = *editor.build_set();
    const std::size_t used = used_points(set);
    if (used > 0 && set.points[used - 1].waypoint == w->number) return {};
    if (set.point_count >= editor.point_limit()) return {too_many_points_message};
    build_rows row;
    point_record& p = row.points.emplace_back();
    const point_attributes& style = editor.attributes();
    p.waypoint = w->number;
    p.name = w->name;
    p.hint = new_point_hint;
    p.marker = style.marker;
    p.size = style.point_size;
    p.colour = style.area_colour;
    p.border = style.border_colour;
    p.show_name = style.show_name;
    p.lon = p.corrected_lon = to_map_units(w->lon);
    p.lat = to_map_units(w->lat);
    p.alt = w->alt;
    row.entries.push_back(point_entry(editor.doc(), p));
    step.apply<rows_change>(builder, std::vector<std::size_t>{used}, std::move(row), true);
    return {};
}

edit_result refresh_build_set(map_editor& editor)
{
    t_set* set = editor.build_set();
    if (!editor.building_set() || !set || set->point_count <= 0) return {};
    for (point_record& r : set->used()) {
        if (const t_waypoint* w = editor.doc().waypoint(r.waypoint)) {
            r.lon = r.corrected_lon = to_map_units(w->lon);
            r.lat = to_map_units(w->lat);
            r.alt = w->alt;
        }
    }
    editor.set_builder().relist(editor.doc());
    return project_items(editor, nullptr, set);
}

edit_result add_set(map_editor& editor)
{
    edit_result result;
    if (t_set* set = editor.build_set(); set && set->point_count > 0) {
        result.error = commit_item(editor, {build_mode::set, editor.doc().points_class_list, "New-Set-",
                                            cant_update_set_message});
        exit_points(editor);
    }
    return result |= project_items(editor, nullptr, nullptr);
}

} // namespace wayloom
