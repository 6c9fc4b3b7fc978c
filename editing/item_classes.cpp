#include "editing/item_classes.h"

#include "editing/map_editor.h"
#include "model/map_document.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

#include <algorithm>

namespace wayloom {

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
                       [&](const list_entry& e) { return mapper_of(e) == item; });
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

void start_build_item(map_editor& editor, t_mapper& item, shape_kind kind)
{
    item.name = "build";
    item.shape_type = kind;
    editor.changes.changed();
    editor.sync_view();
}

bool append_clicked(map_editor& editor, std::int32_t index, bool shift, std::int32_t& anchor,
                    edit_result (*append)(map_editor&, std::int32_t), edit_result& result)
{
    if (!shift || anchor < 0) {
        anchor = index;
        result |= append(editor, index);
        return true;
    }
    if (index <= anchor) return false;
    for (std::int32_t k = anchor + 1; k <= index; ++k) {
        result |= append(editor, k);
        if (!result.error.empty()) break;  // one box, not one per waypoint left
    }
    anchor = -1;
    return true;
}

std::string commit_item(map_editor& editor, t_mapper& item, list_object entry_object,
                        const item_commit& kind)
{
    const std::string name = classify_item(kind.class_list, item);
    std::string error = list_committed(editor, item, entry_object, name, kind.prefix, kind.counter,
                                       kind.cant_update);
    editor.changes.changed();
    return error;
}

edit_result project_items(map_editor& editor, t_shape* shape, t_set* set)
{
    editor.sync_view();
    correct_nodes(editor.doc.shape_list, shape, set);
    update_shapes(editor.view, editor.doc.shape_list, shape, set);
    edit_result result;
    result.repaint = true;
    return result;
}

} // namespace wayloom
