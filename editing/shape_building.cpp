#include "editing/shape_building.h"

#include "editing/item_classes.h"
#include "editing/mode_switching.h"
#include "model/map_document.h"
#include "model/map_units.h"
#include "view/geometry/area_estimate.h"

namespace wayloom {

edit_result waypoints_list_mouse_down(map_editor& editor, std::int32_t index, bool shift)
{
    if (editor.shape_click_busy || !editor.points_list.empty()) return {};
    const auto count = static_cast<std::int32_t>(editor.doc.waypoints_list.size());
    if (index >= count) return {};
    editor.shape_click_busy = true;
    edit_result result;
    append_clicked(editor, index, shift, editor.last_shape_click, append_node, result);
    editor.shape_click_busy = false;
    return result;
}

edit_result append_node(map_editor& editor, std::int32_t index)
{
    if (index < 0) return {};
    map_document& doc = editor.doc;
    t_waypoint* w = doc.waypoints_list.object_at<t_waypoint>(static_cast<std::size_t>(index));
    if (!w) return {};
    t_shape* shape = editor.build_shape();
    if (!shape) {
        editor.new_shape = std::make_unique<t_shape>();
        shape = editor.new_shape.get();
        start_build_item(editor, *shape, s_polygon);
    }
    if (!shape->nodes.empty() && shape->nodes.back().waypoint == w->number)
        return enter_waypoints(editor);
    if (shape->node_count() >= editor.shape_node_limit) return {too_many_nodes_message};
    shape->nodes.emplace_back().waypoint = w->number;
    editor.changes.changed();
    edit_result result = refresh_build_shape(editor);
    editor.waypoints_shape_list.add(w->name, w);
    result |= enter_waypoints(editor);
    return result;
}

edit_result refresh_build_shape(map_editor& editor)
{
    t_shape* shape = editor.build_shape();
    if (!editor.building_shape || !shape || shape->nodes.empty()) return {};
    for (t_node& node : shape->nodes) {
        // A node read from the source may stand on no waypoint; it keeps its own position.
        if (const t_waypoint* w = editor.doc.waypoint(node.waypoint)) {
            node.lon = to_map_units(w->lon);
            node.lat = to_map_units(w->lat);
        }
    }
    return project_items(editor, shape, nullptr);
}

edit_result add_shape(map_editor& editor)
{
    edit_result result;
    if (t_shape* shape = editor.build_shape(); shape && !shape->nodes.empty()) {
        if (editor.new_shape) shape = &editor.doc.link(std::move(editor.new_shape));
        break_up(editor.doc.shape_list, shape);
        result.error = commit_item(editor, *shape, shape, {editor.doc.class_list, "New-Shape-",
                                   editor.new_shape_counter, cant_update_shape_message});
        editor.build_shape_number = 0;
        editor.waypoints_shape_list.clear();
        exit_waypoints(editor);
        result.legend = true;
    }
    return result |= project_items(editor, nullptr, nullptr);
}

} // namespace wayloom
