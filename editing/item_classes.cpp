#include "editing/item_classes.h"

#include "editing/map_changes.h"
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

std::string commit_item(map_editor& editor, const item_commit& kind)
{
    build_item& builder = editor.builder(kind.kind);
    t_mapper& item = *builder.item(editor.doc());
    const bool is_new = builder.holds_new();
    step_recorder step(editor, "");
    const looks_snapshot before(editor);
    const std::string name = classify_item(kind.class_list, item);
    std::string error;
    if (item.editing && !lists_item(editor.doc().shape_list, &item)) error = kind.cant_update;
    const bool listed_anew = is_new || !error.empty();
    if (listed_anew) {
        // The counter goes up for every new item, named after a class or not.
        const std::int32_t number = editor.take_new_number(kind.kind);
        if (!name.empty()) {
            item.name = name;
        } else {
            item.name = std::string(kind.prefix) + std::to_string(number);
            item.colour = item.default_colour;
        }
    }
    item.editing = false;
    before.record_changes(step);
    if (is_new) step.apply<new_item_linked>(builder);
    if (listed_anew) step.apply<item_listed>(item);
    step.apply<holding_swapped>(builder, build_holding{});
    const bool set = kind.kind == build_mode::set;
    step.set_text(std::string(is_new ? "Add " : "Update ") + (set ? "set " : "shape ") + item.name);
    return error;
}

void start_build_item(map_editor& editor, build_item& builder, step_recorder& step)
{
    step.apply<holding_swapped>(builder, builder.fresh());
    editor.sync_view();
}

bool append_clicked(map_editor& editor, build_item& builder, std::int32_t index, bool shift,
                    edit_result (*append)(map_editor&, std::int32_t), edit_result& result)
{
    if (!shift || builder.anchor() < 0) {
        builder.set_anchor(index);
        result |= append(editor, index);
        return true;
    }
    if (index <= builder.anchor()) return false;
    for (std::int32_t k = builder.anchor() + 1; k <= index; ++k) {
        result |= append(editor, k);
        if (!result.error.empty()) break;  // one box, not one per waypoint left
    }
    builder.set_anchor(-1);
    return true;
}

std::string rows_text(std::string_view verb, std::size_t count, std::string_view noun)
{
    std::string text(verb);
    text += ' ';
    if (count != 1) text += std::to_string(count) + ' ';
    text += noun;
    if (count != 1) text += 's';
    return text;
}

edit_result project_items(map_editor& editor, t_shape* shape, t_set* set)
{
    editor.sync_view();
    correct_nodes(editor.doc().shape_list, shape, set);
    update_shapes(editor.view(), editor.doc().shape_list, shape, set);
    edit_result result;
    result.repaint = true;
    return result;
}

} // namespace wayloom
