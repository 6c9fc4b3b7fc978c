#include "editing/undo_commands.h"

#include "editing/map_changes.h"
#include "editing/mode_switching.h"
#include "view/geometry/area_estimate.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

namespace wayloom {

namespace {

// Everything that shows the map catches up with a step undone or redone.
edit_result follow(map_editor& editor, const edit_step* step, std::int32_t waypoints_before)
{
    edit_result result;
    if (!step) return result;
    map_document& doc = editor.doc();
    for (const t_mapper* item : step->reshaped())
        for (const auto& shape : doc.shapes)
            if (shape.get() == item) break_up(doc.shape_list, shape.get());
    // The Points tab's copy of a large waypoint list is made again only when it changed.
    if (doc.waypoint_count() != waypoints_before) editor.sync_with_map();
    correct_nodes(doc.shape_list, nullptr, nullptr);
    result |= settle_modes(editor);
    if (!editor.view().building_shape && !editor.view().building_set) result |= show_selection(editor);
    result.repaint = result.legend = true;
    return result;
}

std::string caption(const char* verb, const std::string& text)
{
    return text.empty() ? std::string(verb) : std::string(verb) + " " + text;
}

void count_part(std::string& text, std::size_t count, const char* one, const char* many)
{
    if (count == 0) return;
    if (!text.empty()) text += ", ";
    text += std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

edit_result undo_edit(map_editor& editor)
{
    const std::int32_t waypoints = editor.doc().waypoint_count();
    return follow(editor, editor.history().undo(editor), waypoints);
}

edit_result redo_edit(map_editor& editor)
{
    const std::int32_t waypoints = editor.doc().waypoint_count();
    return follow(editor, editor.history().redo(editor), waypoints);
}

std::string undo_caption(const map_editor& editor) { return caption("Undo", editor.history().undo_text()); }

std::string redo_caption(const map_editor& editor) { return caption("Redo", editor.history().redo_text()); }

void record_appended(map_editor& editor, const map_mark& before, std::string text,
                     std::optional<tsource_text> replaced_source)
{
    const map_mark after = editor.doc().mark();
    if (after.waypoints == before.waypoints && after.classes == before.classes &&
        after.shapes == before.shapes && after.sets == before.sets)
        return;
    step_recorder step(editor, std::move(text));
    step.keep(std::make_unique<map_appended>(before, std::move(replaced_source)));
}

std::string appended_text(const map_mark& before, const map_mark& after)
{
    std::string text;
    count_part(text, after.waypoints - before.waypoints, "waypoint", "waypoints");
    count_part(text, after.classes - before.classes, "class", "classes");
    count_part(text, after.shapes - before.shapes, "shape", "shapes");
    count_part(text, after.sets - before.sets, "set", "sets");
    return text;
}

} // namespace wayloom
