#include "editing/item_commands.h"

#include "editing/item_classes.h"
#include "editing/map_changes.h"
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

const char* kind_word(const t_mapper& item) { return item.shape_type == s_points ? "set" : "shape"; }

edit_result choose_line(map_editor& editor, line_kind choice)
{
    edit_result result;
    if (editor.line_choice() != choice) {
        editor.set_line_choice(choice);
        result.repaint = true;
    }
    t_shape* shape = editor.build_shape();
    const shape_kind kind = choice == line_kind::line ? s_path : s_polygon;
    if (shape && shape->shape_type != kind) {
        step_recorder step(editor, choice == line_kind::line ? "Draw shape as line" : "Draw shape as polygon");
        const looks_snapshot before(editor);
        shape->shape_type = kind;
        before.record_changes(step);
        editor.sync_view();
        result.repaint = true;
    }
    return result;
}

// "Delete shape north-meadow", "Delete 2 shapes", "Delete 3 items".
std::string deletion_text(const std::vector<t_mapper*>& items)
{
    if (items.size() == 1) return std::string("Delete ") + kind_word(*items[0]) + " " + items[0]->name;
    const auto sets = std::count_if(items.begin(), items.end(), [](const t_mapper* m) { return m->shape_type == s_points; });
    const char* noun = sets == 0 ? "shapes" : sets == static_cast<std::ptrdiff_t>(items.size()) ? "sets" : "items";
    return "Delete " + std::to_string(items.size()) + " " + noun;
}

} // namespace

edit_result add_shape_buttton_click(map_editor& editor)
{
    if (editor.building_shape()) return add_shape(editor);
    if (editor.building_set()) return add_set(editor);
    return {};
}

std::optional<std::string> shape_list_mouse_down(map_editor& editor, std::int32_t index)
{
    editor.hold_for_rename(0, 0);
    const item_list& list = editor.doc().shape_list;
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return std::nullopt;
    const auto at = static_cast<std::size_t>(index);
    if (const t_shape* shape = list.object_at<t_shape>(at)) editor.hold_for_rename(shape->number, 0);
    else if (const t_set* set = list.object_at<t_set>(at)) editor.hold_for_rename(0, set->number);
    return list.entries[at].text;
}

edit_result shape_edit_change(map_editor& editor, std::string_view text)
{
    const std::string name = editor.clean(text);
    list_entry* entry = entry_of(editor.doc().shape_list, editor.rename_shape(), editor.rename_set());
    if (!entry) return {};
    t_mapper* item = mapper_of(*entry);
    if (entry->text == name && item->name == name) return {};
    // Each letter typed renames the item; the typing of one name is one step.
    const std::int64_t serial = editor.rename_shape() != 0 ? editor.rename_shape() : -editor.rename_set();
    step_recorder step(editor, std::string("Rename ") + kind_word(*item) + " to " + name, {rename_steps, serial});
    const looks_snapshot before(editor);
    item->name = name;
    entry->text = name;
    before.record_changes(step);
    edit_result result;
    result.legend = true;  // the legend lists items by name
    return result;
}

edit_result create_class(map_editor& editor, std::string& edit_text)
{
    map_document& doc = editor.doc();
    item_list* list = editor.mode() == waypoints_tab ? &doc.class_list
                      : editor.mode() == points_tab  ? &doc.points_class_list
                                                     : nullptr;
    if (!list || edit_text.empty()) return {};
    const std::string name = editor.clean(edit_text);
    // "wet land" would make a second wet_land otherwise.
    if (lists_text(*list, edit_text) || lists_text(*list, name)) return {};
    const map_mark before = doc.mark();
    t_class* c = doc.create_class();
    if (!c) return {};
    c->name = name;
    c->colour = editor.chosen_colour();
    list->add(name, c);
    edit_text.clear();
    step_recorder step(editor, "Add class " + name);
    step.keep(std::make_unique<map_appended>(before, std::nullopt));
    return {};
}

edit_result edit_shape_button_click(map_editor& editor)
{
    map_document& doc = editor.doc();
    const auto selected = std::count_if(doc.shape_list.entries.begin(), doc.shape_list.entries.end(),
                                        [](const list_entry& e) { return e.selected; });
    if (selected != 1) return {editor.build_shape() ? editing_a_shape_message : only_one_shape_message};
    const std::size_t i = *doc.shape_list.selected_index();
    t_mapper* item = mapper_of(doc.shape_list.entries[i]);
    if (!item) return {};
    t_set* set = doc.shape_list.object_at<t_set>(i);
    item_list* class_list = &doc.class_list;
    if (!item->editing) {
        if (set) class_list = &doc.points_class_list;
        build_item& builder = set ? editor.set_builder() : editor.shape_builder();
        // An item already taken up gives way, keeping its changes; a new
        // one is dropped only while it holds no node or point.
        t_mapper* current = builder.item(doc);
        if (current && builder.holds_new() && !current->positions().empty()) return {editing_a_shape_message};
        step_recorder step(editor, std::string("Edit ") + kind_word(*item) + " " + item->name);
        step.set_changes_map(false);
        const looks_snapshot before(editor);
        if (current) current->editing = false;
        item->editing = true;
        before.record_changes(step);
        const std::int32_t number = set ? set->number : doc.shape_list.object_at<t_shape>(i)->number;
        step.apply<holding_swapped>(builder, builder.holding_for(doc, *item, number));
        builder.set_anchor(-1);
        // Off the Points tab its class list is stale; bring it up to date
        // now so that the classes selected below are the ones shown there.
        if (set && editor.mode() != points_tab) copy_class_entries(doc.class_list, doc.points_class_list);
        editor.sync_view();
    }
    select_classes_of(*class_list, *item);
    edit_result result;
    if (editor.shown_tab() == waypoints_tab) result |= enter_waypoints(editor);
    else if (editor.shown_tab() == points_tab) result |= enter_points(editor, true);
    return result;
}

edit_result delete_shape_button_click(map_editor& editor)
{
    map_document& doc = editor.doc();
    std::vector<t_mapper*> doomed;
    for (list_entry& entry : doc.shape_list.entries) {
        if (!entry.selected) continue;
        t_mapper* item = mapper_of(entry);
        // An item open for editing cannot be deleted: it is only deselected.
        if (item && item->editing) entry.selected = false;
        else if (item && std::find(doomed.begin(), doomed.end(), item) == doomed.end()) doomed.push_back(item);
    }
    if (doomed.empty()) return {};
    {
        step_recorder step(editor, deletion_text(doomed));
        for (t_mapper* item : doomed) step.apply<item_unlinked>(*item);
    }
    editor.sync_view();
    edit_result result;
    result.legend = true;
    result.repaint = true;  // the deleted items leave the surface now
    return result;
}

edit_result path_button_click(map_editor& editor) { return choose_line(editor, line_kind::line); }

edit_result polygon_button_click(map_editor& editor)
{
    return choose_line(editor, line_kind::polygon);
}

} // namespace wayloom
