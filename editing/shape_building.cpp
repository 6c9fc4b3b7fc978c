#include "editing/shape_building.h"

#include "editing/item_classes.h"
#include "editing/mode_switching.h"
#include "model/map_document.h"
#include "view/geometry/area_estimate.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

namespace wayloom {

edit_result waypoints_list_mouse_down(map_editor& editor, std::int32_t index, bool shift)
{
    if (editor.shape_click_busy || !editor.points_list.empty()) return {};
    const auto count = static_cast<std::int32_t>(editor.doc.waypoints_list.size());
    if (index >= count) return {};
    editor.shape_click_busy = true;
    edit_result result;
    if (shift && editor.last_shape_click >= 0) {
        if (index > editor.last_shape_click) {
            for (std::int32_t k = editor.last_shape_click + 1; k <= index; ++k) {
                result |= append_node(editor, k);
                if (!result.error.empty()) break;  // one box, not one per waypoint left
            }
            editor.last_shape_click = -1;
        }
    } else {
        editor.last_shape_click = index;
        result |= append_node(editor, index);
    }
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
        shape->name = "build";
        shape->shape_type = s_polygon;
        editor.changes.changed();
        editor.sync_view();
    }
    if (!shape->nodes.empty() && shape->nodes.back().waypoint == w->number)
        return enter_waypoints(editor);
    if (shape->node_count() >= editor.shape_node_limit) return {too_many_nodes_message};
    t_node node;
    node.waypoint = w->number;
    shape->nodes.push_back(node);
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
            node.lon = w->lon * 360;
            node.lat = w->lat * 360;
        }
    }
    editor.sync_view();
    correct_nodes(editor.doc.shape_list, shape, nullptr);
    update_shapes(editor.view, editor.doc.shape_list, shape, nullptr);
    edit_result result;
    result.repaint = true;
    return result;
}

edit_result add_shape(map_editor& editor)
{
    map_document& doc = editor.doc;
    edit_result result;
    t_shape* shape = editor.build_shape();
    if (shape && !shape->nodes.empty()) {
        if (editor.new_shape) shape = &doc.link(std::move(editor.new_shape));
        const std::string name = classify_item(doc.class_list, *shape);
        break_up(doc.shape_list, shape);
        result.error = list_committed(editor, *shape, shape, name, "New-Shape-",
                                      editor.new_shape_counter, cant_update_shape_message);
        editor.build_shape_number = 0;
        editor.changes.changed();
        editor.waypoints_shape_list.clear();
        exit_waypoints(editor);
        result.legend = true;
    }
    editor.sync_view();
    correct_nodes(doc.shape_list, nullptr, nullptr);
    update_shapes(editor.view, doc.shape_list, nullptr, nullptr);
    result.repaint = true;
    return result;
}

} // namespace wayloom
