#include "editing/shape_building.h"

#include "editing/item_classes.h"
#include "editing/map_changes.h"
#include "editing/mode_switching.h"
#include "model/map_document.h"
#include "model/map_units.h"
#include "view/geometry/area_estimate.h"

namespace wayloom {

edit_result waypoints_list_mouse_down(map_editor& editor, std::int32_t index, bool shift)
{
    build_item& builder = editor.shape_builder();
    if (builder.busy() || !editor.set_builder().entries().empty()) return {};
    const auto count = static_cast<std::int32_t>(editor.doc().waypoints_list.size());
    if (index >= count) return {};
    builder.set_busy(true);
    const std::size_t before = builder.size(editor.doc());
    edit_result result;
    {
        step_recorder step(editor, "");
        append_clicked(editor, builder, index, shift, append_node, result);
        step.set_text(rows_text("Add", builder.size(editor.doc()) - before, "node"));
    }
    builder.set_busy(false);
    return result;
}

edit_result append_node(map_editor& editor, std::int32_t index)
{
    if (index < 0) return {};
    map_document& doc = editor.doc();
    const t_waypoint* w = doc.waypoints_list.object_at<t_waypoint>(static_cast<std::size_t>(index));
    if (!w) return {};
    build_item& builder = editor.shape_builder();
    step_recorder step(editor, "Add node");
    if (!editor.build_shape()) start_build_item(editor, builder, step);
    const t_shape& shape = *editor.build_shape();
    if (!shape.nodes.empty() && shape.nodes.back().waypoint == w->number) return enter_waypoints(editor);
    if (shape.node_count() >= editor.node_limit()) return {too_many_nodes_message};
    build_rows row;
    row.nodes.emplace_back(w->number, to_map_units(w->lon), to_map_units(w->lat));
    row.entries.push_back(node_entry(doc, row.nodes.back()));
    step.apply<rows_change>(builder, std::vector<std::size_t>{shape.nodes.size()}, std::move(row), true);
    edit_result result = refresh_build_shape(editor);
    result |= enter_waypoints(editor);
    return result;
}

edit_result refresh_build_shape(map_editor& editor)
{
    t_shape* shape = editor.build_shape();
    if (!editor.building_shape() || !shape || shape->nodes.empty()) return {};
    for (t_node& node : shape->nodes) {
        // A node read from the source may stand on no waypoint; it keeps its own position.
        if (const t_waypoint* w = editor.doc().waypoint(node.waypoint)) {
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
        result.error = commit_item(editor, {build_mode::shape, editor.doc().class_list, "New-Shape-",
                                            cant_update_shape_message});
        break_up(editor.doc().shape_list, shape);
        exit_waypoints(editor);
        result.legend = true;
    }
    return result |= project_items(editor, nullptr, nullptr);
}

} // namespace wayloom
