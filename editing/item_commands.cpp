#include "editing/item_commands.h"

#include "editing/clean_name.h"
#include "editing/mode_switching.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"

#include <algorithm>

namespace wayloom {

namespace {

bool lists_text(const item_list& list, std::string_view text)
{
    return std::any_of(list.entries.begin(), list.entries.end(),
                       [&](const list_entry& e) { return e.text == text; });
}

void select_classes_of(item_list& class_list, const t_mapper& item)
{
    for (std::size_t i = 0; i < class_list.size(); ++i) {
        const t_class* c = class_list.object_at<t_class>(i);
        class_list.entries[i].selected =
            c && std::find(item.classes.begin(), item.classes.end(), c->number) != item.classes.end();
    }
}

// A build item of the same kind gives way to the one taken up: an edited
// one keeps its changes (they were made in place), a new one with no nodes
// or points is dropped. Returns false when it is a new item holding the
// user's work, which is not thrown away.
template <class Item>
bool release(std::unique_ptr<Item>& new_item, Item* current, bool has_content)
{
    if (!current) return true;
    if (current->editing) {
        current->editing = false;
        return true;
    }
    if (has_content) return false;
    new_item.reset();
    return true;
}

// The entry of shape_list holding the shape or set with that serial number.
list_entry* entry_of(item_list& shape_list, std::int32_t shape_number, std::int32_t set_number)
{
    for (list_entry& entry : shape_list.entries) {
        const auto* shape = std::get_if<t_shape*>(&entry.object);
        const auto* set = std::get_if<t_set*>(&entry.object);
        if ((shape && *shape && (*shape)->number == shape_number) ||
            (set && *set && (*set)->number == set_number))
            return &entry;
    }
    return nullptr;
}

edit_result choose_line(map_editor& editor, line_kind choice)
{
    edit_result result;
    if (editor.line_choice != choice) {
        editor.line_choice = choice;
        result.repaint = true;
    }
    t_shape* shape = editor.build_shape();
    const shape_kind kind = choice == line_kind::line ? s_path : s_polygon;
    if (shape && shape->shape_type != kind) {
        shape->shape_type = kind;
        editor.changes.changed();
        editor.sync_view();
        result.repaint = true;
    }
    return result;
}

} // namespace

edit_result add_shape_buttton_click(map_editor& editor)
{
    if (editor.building_shape) return add_shape(editor);
    if (editor.building_set) return add_set(editor);
    return {};
}

std::optional<std::string> shape_list_mouse_down(map_editor& editor, std::int32_t index)
{
    editor.rename_shape_number = 0;
    editor.rename_set_number = 0;
    const item_list& list = editor.doc.shape_list;
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return std::nullopt;
    const list_entry& entry = list.entries[static_cast<std::size_t>(index)];
    if (const t_shape* shape = list.object_at<t_shape>(static_cast<std::size_t>(index)))
        editor.rename_shape_number = shape->number;
    else if (const t_set* set = list.object_at<t_set>(static_cast<std::size_t>(index)))
        editor.rename_set_number = set->number;
    return entry.text;
}

edit_result shape_edit_change(map_editor& editor, std::string_view text)
{
    const std::string name = clean_name(text, editor.no_name_counter);
    list_entry* entry =
        entry_of(editor.doc.shape_list, editor.rename_shape_number, editor.rename_set_number);
    if (!entry) return {};
    t_mapper* item = mapper_of(*entry);
    if (entry->text == name && item->name == name) return {};
    entry->text = name;
    item->name = name;
    editor.changes.changed();
    edit_result result;
    result.legend = true;  // the legend lists items by name
    return result;
}

edit_result create_class(map_editor& editor, std::string& edit_text)
{
    item_list* list = editor.mode == waypoints_tab ? &editor.doc.class_list
                      : editor.mode == points_tab  ? &editor.doc.points_class_list
                                                   : nullptr;
    if (!list || edit_text.empty()) return {};
    const std::string name = clean_name(edit_text, editor.no_name_counter);
    // "wet land" would make a second wet_land otherwise.
    if (lists_text(*list, edit_text) || lists_text(*list, name)) return {};
    t_class* c = editor.doc.create_class();
    if (!c) return {};
    c->name = name;
    c->colour = editor.chosen_colour;
    list->add(name, c);
    edit_text.clear();
    editor.changes.changed();
    return {};
}

edit_result edit_shape_button_click(map_editor& editor)
{
    map_document& doc = editor.doc;
    const auto selected = std::count_if(doc.shape_list.entries.begin(), doc.shape_list.entries.end(),
                                        [](const list_entry& e) { return e.selected; });
    t_shape* current_shape = editor.build_shape();
    if (selected != 1) return {current_shape ? editing_a_shape_message : only_one_shape_message};
    const std::size_t i = *doc.shape_list.selected_index();
    item_list* class_list = &doc.class_list;
    t_mapper* item = mapper_of(doc.shape_list.entries[i]);
    if (!item) return {};
    if (!item->editing) {
        if (t_set* set = doc.shape_list.object_at<t_set>(i)) {
            t_set* current = editor.build_set();
            if (!release(editor.new_set, current, current && current->point_count > 0))
                return {editing_a_shape_message};
            editor.build_set_number = set->number;
            set->editing = true;
            load_working_points(editor, *set);
            editor.last_set_click = -1;
            class_list = &doc.points_class_list;
            // Off the Points tab its class list is stale; bring it up to date
            // now so that the classes selected below are the ones shown there.
            if (editor.mode != points_tab) copy_class_entries(doc.class_list, doc.points_class_list);
        } else if (t_shape* shape = doc.shape_list.object_at<t_shape>(i)) {
            if (!release(editor.new_shape, current_shape, current_shape && !current_shape->nodes.empty()))
                return {editing_a_shape_message};
            editor.build_shape_number = shape->number;
            shape->editing = true;
            editor.waypoints_shape_list.clear();
            for (const t_node& node : shape->nodes) {
                t_waypoint* w = doc.waypoint(node.waypoint);
                editor.waypoints_shape_list.add(w ? w->name : std::to_string(node.waypoint),
                                                w ? list_object{w} : list_object{});
            }
            editor.last_shape_click = -1;
        }
        editor.sync_view();
    }
    select_classes_of(*class_list, *item);
    edit_result result;
    if (editor.shown_tab == waypoints_tab) result |= enter_waypoints(editor);
    else if (editor.shown_tab == points_tab) result |= enter_points(editor, true);
    return result;
}

edit_result delete_shape_button_click(map_editor& editor)
{
    map_document& doc = editor.doc;
    if (doc.shape_list.empty()) return {};
    bool deleted = false;
    for (list_entry& entry : doc.shape_list.entries) {
        if (!entry.selected) continue;
        t_mapper* item = mapper_of(entry);
        if (item && item->editing) {
            entry.selected = false;
            continue;
        }
        if (auto* shape = std::get_if<t_shape*>(&entry.object); shape && *shape) doc.unlink(**shape);
        else if (auto* set = std::get_if<t_set*>(&entry.object); set && *set) doc.unlink(**set);
        entry.object = std::monostate{};  // freed with the unlinked item
        deleted = true;
    }
    std::erase_if(doc.shape_list.entries, [](const list_entry& e) { return e.selected; });
    edit_result result;
    if (deleted) {
        editor.changes.changed();
        editor.sync_view();
        result.legend = true;
        result.repaint = true;  // the deleted items leave the surface now
    }
    return result;
}

edit_result path_button_click(map_editor& editor) { return choose_line(editor, line_kind::line); }

edit_result polygon_button_click(map_editor& editor)
{
    return choose_line(editor, line_kind::polygon);
}

} // namespace wayloom
