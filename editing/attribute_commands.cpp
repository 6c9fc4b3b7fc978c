#include "editing/attribute_commands.h"

#include "editing/map_changes.h"
#include "editing/set_building.h"
#include "model/map_document.h"

#include <algorithm>

namespace wayloom {

namespace {

bool any_selected(const item_list& list)
{
    return std::any_of(list.entries.begin(), list.entries.end(),
                       [](const list_entry& e) { return e.selected; });
}

std::vector<std::size_t> selected_points(const map_editor& editor)
{
    std::vector<std::size_t> at;
    const build_item& builder = editor.set_builder();
    const std::size_t n = std::min(builder.entries().size(), builder.size(editor.doc()));
    for (std::size_t i = 0; i < n; ++i)
        if (builder.entries().entries[i].selected) at.push_back(i);
    return at;
}

// Every change made from one opening of the dialog until its OK is one step.
step_recorder dialog_step(map_editor& editor)
{
    return step_recorder(editor, "Change attributes", {attributes_steps, editor.dialog_opening()});
}

enum class colour_part { area, border };

bool colour_chosen(map_editor& editor, colour_value colour, colour_part part)
{
    editor.set_chosen_colour(colour);
    const bool area = part == colour_part::area;
    map_document& doc = editor.doc();
    step_recorder step = dialog_step(editor);
    const looks_snapshot before(editor);
    bool taken = false;
    if (any_selected(doc.class_list)) {
        for (std::size_t i = 0; i < doc.class_list.size(); ++i) {
            t_class* c = doc.class_list.object_at<t_class>(i);
            if (!c || !doc.class_list.entries[i].selected) continue;
            if (area) doc.recolour_class(*c, colour);
            else c->border = colour;
        }
        taken = true;
    } else if (t_shape* shape = editor.build_shape()) {
        (area ? shape->colour : shape->border) = colour;
        (area ? shape->default_colour : shape->default_border) = colour;
        taken = true;
    } else if (t_set* set = editor.build_set()) {
        if (any_selected(editor.set_builder().entries())) {
            const std::vector<std::size_t> at = selected_points(editor);
            const point_looks_snapshot points_before(editor.set_builder(), doc, at);
            for (std::size_t i : at) (area ? set->points[i].colour : set->points[i].border) = colour;
            points_before.record_changes(step, doc);
        } else {
            (area ? set->colour : set->border) = colour;
            (area ? set->default_colour : set->default_border) = colour;
        }
        taken = true;
    }
    before.record_changes(step);
    if (taken) (area ? editor.attributes().area_colour : editor.attributes().border_colour) = colour;
    return taken;
}

} // namespace

bool colour_button_click(map_editor& editor)
{
    t_set* set = editor.build_set();
    if (!editor.build_shape() && !set && !any_selected(editor.doc().class_list) &&
        !any_selected(editor.doc().points_class_list))
        return false;
    editor.next_dialog_opening();
    if (set && set->point_count > 0) {
        if (const auto i = editor.set_builder().entries().selected_index(); i && *i < used_points(*set)) {
            editor.attributes().name = set->points[*i].name;
            editor.attributes().hint = set->points[*i].hint;
        }
    }
    return true;
}

bool area_colour_chosen(map_editor& editor, colour_value colour)
{
    return colour_chosen(editor, colour, colour_part::area);
}

bool border_colour_chosen(map_editor& editor, colour_value colour)
{
    return colour_chosen(editor, colour, colour_part::border);
}

edit_result ok_button_click(map_editor& editor)
{
    t_set* set = editor.build_set();
    edit_result result;
    if (set) {
        const std::vector<std::size_t> at = selected_points(editor);
        const point_looks_snapshot before(editor.set_builder(), editor.doc(), at);
        point_attributes& values = editor.attributes();
        for (std::size_t i : at) {
            point_record& point = set->points[i];
            if (values.name.empty()) values.name = point.name;
            else point.name = editor.clean(values.name);
            if (values.hint.empty()) values.hint = point.hint;
            else point.hint = editor.clean(values.hint);
            point.marker = values.marker;
            point.size = values.point_size;
            point.colour = values.area_colour;
            point.border = values.border_colour;
            point.show_name = values.show_name;
        }
        {
            step_recorder step = dialog_step(editor);
            before.record_changes(step, editor.doc());
        }
        editor.set_builder().relist(editor.doc());
        result = refresh_build_set(editor);
        result.repaint = true;
    }
    // The next change starts a step of its own.
    editor.next_dialog_opening();
    return result;
}

void store_point_defaults(map_editor& editor) { editor.doc().new_point = editor.attributes().defaults(); }

} // namespace wayloom
