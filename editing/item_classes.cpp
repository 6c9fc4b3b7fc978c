#include "editing/item_classes.h"

#include "editing/map_editor.h"
#include "model/map_document.h"

#include <algorithm>

namespace wayloom {

namespace {

const t_mapper* item_of(const list_entry& entry)
{
    if (const auto* shape = std::get_if<t_shape*>(&entry.object)) return *shape;
    if (const auto* set = std::get_if<t_set*>(&entry.object)) return *set;
    return nullptr;
}

} // namespace

std::string classify_item(item_list& class_list, t_mapper& item)
{
    std::string name;
    const bool any_selected = std::any_of(class_list.entries.begin(), class_list.entries.end(),
                                          [](const list_entry& e) { return e.selected; });
    if (!any_selected) {
        item.colour = item.default_colour;
        return name;
    }
    if (item.class_count() >= max_item_classes) return name;
    for (std::size_t i = 0; i < class_list.size(); ++i) {
        list_entry& entry = class_list.entries[i];
        t_class* c = class_list.object_at<t_class>(i);
        if (!entry.selected) {
            if (c) std::erase(item.classes, c->number);
            continue;
        }
        entry.selected = false;
        if (!c) continue;
        if (std::find(item.classes.begin(), item.classes.end(), c->number) == item.classes.end())
            item.classes.push_back(c->number);
        if (name.empty()) {
            name = c->name + "-" + std::to_string(c->name_counter);
            item.colour = c->colour;
            ++c->name_counter;
        }
    }
    return name;
}

bool lists_item(const item_list& shape_list, const t_mapper* item)
{
    return std::any_of(shape_list.entries.begin(), shape_list.entries.end(),
                       [&](const list_entry& e) { return item_of(e) == item; });
}

void add_as_new(map_editor& editor, t_mapper& item, list_object entry_object,
                std::string_view name, std::string_view prefix, std::int32_t& counter)
{
    if (!name.empty()) {
        item.name = std::string(name);
    } else {
        item.name = std::string(prefix) + std::to_string(counter);
        item.colour = item.default_colour;
    }
    ++counter;
    editor.doc.shape_list.add(item.name, entry_object);
}

std::string list_committed(map_editor& editor, t_mapper& item, list_object entry_object,
                           std::string_view name, std::string_view prefix, std::int32_t& counter,
                           std::string_view cant_update)
{
    std::string error;
    if (item.editing && !lists_item(editor.doc.shape_list, &item)) error = cant_update;
    if (!item.editing || !error.empty()) add_as_new(editor, item, entry_object, name, prefix, counter);
    item.editing = false;
    return error;
}

} // namespace wayloom
