#include "editing/shape_closing.h"

#include "editing/item_classes.h"
#include "editing/map_changes.h"
#include "editing/shape_building.h"
#include "model/map_document.h"
#include "view/geometry/area_estimate.h"

namespace wayloom {

namespace {

bool repeats_first(const t_shape& shape)
{
    const t_node &first = shape.nodes.front(), &last = shape.nodes.back();
    return first.waypoint == last.waypoint || (first.lon == last.lon && first.lat == last.lat);
}

// Runs `change` on every selected shape of the kind `from`; it returns the
// error of a shape it left alone, else an empty text. What it changes is
// one step named `text`; the area estimate and the drawing follow.
template <class Change>
edit_result change_selected(map_editor& editor, std::string text, shape_kind from, Change change)
{
    map_document& doc = editor.doc();
    edit_result result;
    step_recorder step(editor, std::move(text));
    const looks_snapshot before(editor);
    bool changed = false;
    for (const list_entry& entry : doc.shape_list.entries) {
        t_shape* const* shape = std::get_if<t_shape*>(&entry.object);
        if (!entry.selected || !shape || !*shape || (*shape)->shape_type != from || (*shape)->nodes.empty()) continue;
        std::vector<t_node> nodes = (*shape)->nodes;
        if (std::string error = change(**shape); !error.empty()) {
            result.error = error;
            continue;
        }
        step.keep(std::make_unique<nodes_swapped>(**shape, std::move(nodes)));
        break_up(doc.shape_list, *shape);
        changed = true;
    }
    if (!changed) return result;
    before.record_changes(step);
    doc.analyses_outdated();
    result.legend = true;
    return result |= project_items(editor, nullptr, nullptr);
}

} // namespace

edit_result close_path(map_editor& editor)
{
    return change_selected(editor, "Close path", s_path, [](t_shape& shape) -> std::string {
        const std::size_t kept = shape.nodes.size() - (shape.nodes.size() > 1 && repeats_first(shape) ? 1 : 0);
        if (kept < 3) return too_few_to_close_message;
        shape.nodes.resize(kept);
        shape.shape_type = s_polygon;
        return {};
    });
}

edit_result open_shape(map_editor& editor)
{
    return change_selected(editor, "Open shape", s_polygon, [&editor](t_shape& shape) -> std::string {
        if (shape.node_count() >= editor.node_limit()) return too_many_nodes_message;
        shape.nodes.push_back(shape.nodes.front());
        shape.shape_type = s_path;
        return {};
    });
}

} // namespace wayloom
