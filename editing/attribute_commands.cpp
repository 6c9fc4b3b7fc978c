#include "editing/attribute_commands.h"

#include "editing/clean_name.h"
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

enum class colour_part { area, border };

bool colour_chosen(map_editor& editor, colour_value colour, colour_part part)
{
    editor.chosen_colour = colour;
    const bool area = part == colour_part::area;
    map_document& doc = editor.doc;
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
        if (any_selected(editor.points_list)) {
            match_working_points(editor.working_points, *set);
            const std::size_t n = std::min(editor.points_list.size(), used_points(*set));
            for (std::size_t i = 0; i < n; ++i) {
                if (!editor.points_list.entries[i].selected) continue;
                (area ? set->points[i].colour : set->points[i].border) = colour;
                // Kept in the working entry too, so a rebuild before OK keeps what the map shows.
                (area ? editor.working_points[i].colour : editor.working_points[i].border) = colour;
            }
        } else {
            (area ? set->colour : set->border) = colour;
            (area ? set->default_colour : set->default_border) = colour;
        }
        taken = true;
    }
    if (taken) {
        (area ? editor.attributes.area_colour : editor.attributes.border_colour) = colour;
        editor.changes.changed();
    }
    return taken;
}

} // namespace

bool colour_button_click(map_editor& editor)
{
    t_set* set = editor.build_set();
    if (!editor.build_shape() && !set && !any_selected(editor.doc.class_list) &&
        !any_selected(editor.doc.points_class_list))
        return false;
    if (set && set->point_count > 0) {
        if (const auto i = editor.points_list.selected_index()) {
            match_working_points(editor.working_points, *set);
            if (*i < editor.working_points.size()) {
                editor.attributes.name = editor.working_points[*i].name;
                editor.attributes.hint = editor.working_points[*i].hint;
            }
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
    if (!set) return {};
    match_working_points(editor.working_points, *set);
    point_attributes& values = editor.attributes;
    const std::size_t n = std::min(editor.points_list.size(), editor.working_points.size());
    bool changed = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (!editor.points_list.entries[i].selected) continue;
        working_point& point = editor.working_points[i];
        if (values.name.empty()) values.name = point.name;
        else point.name = clean_name(values.name, editor.no_name_counter);
        if (values.hint.empty()) values.hint = point.hint;
        else point.hint = clean_name(values.hint, editor.no_name_counter);
        point.marker = values.marker;
        point.size = values.point_size;
        point.colour = values.area_colour;
        point.border = values.border_colour;
        point.show_name = values.show_name;
        changed = true;
    }
    if (changed) editor.changes.changed();
    edit_result result = refresh_build_set(editor);
    result.repaint = true;
    return result;
}

void store_point_defaults(map_editor& editor) { editor.doc.new_point = editor.attributes.defaults(); }

} // namespace wayloom
