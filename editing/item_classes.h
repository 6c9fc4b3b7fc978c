// The steps a commit shares between shapes and point sets: filing the item
// under the selected classes, finding it in shape_list, listing it as new.
#pragma once

#include "model/item_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom {

struct map_editor;
struct t_mapper;

// Files `item` under the classes selected in `class_list` and deselects them;
// the unselected ones are taken off the item. Returns the name the item gets
// from its first selected class (the class name, "-" and that class's
// counter, which goes up; the item takes the class's colour), or an empty
// name. With nothing selected the item's colour returns to its default; an
// item already holding 1024 classes keeps its classes, name and colour.
// A class the item already belongs to is not added a second time.
std::string classify_item(item_list& class_list, t_mapper& item);

// Whether an entry of `shape_list` holds the item.
bool lists_item(const item_list& shape_list, const t_mapper* item);

// Names the item `name`, or `prefix` and the counter with its default
// colour when `name` is empty; the counter goes up either way. Lists the
// item in shape_list under its name, unselected.
// `entry_object` is the item itself, as a shape or as a set.
void add_as_new(map_editor& editor, t_mapper& item, list_object entry_object,
                std::string_view name, std::string_view prefix, std::int32_t& counter);

// Lists a committed item: a new one as add_as_new does; one taken up for
// editing stays where it is listed, or, when it is listed no more, is listed
// anew and `cant_update` is returned as the error. The item is no longer
// open for editing afterwards.
std::string list_committed(map_editor& editor, t_mapper& item, list_object entry_object,
                           std::string_view name, std::string_view prefix, std::int32_t& counter,
                           std::string_view cant_update);

} // namespace wayloom
