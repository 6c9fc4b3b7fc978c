// The steps a commit shares between shapes and point sets: filing the item
// under the selected classes, finding it in shape_list, listing it as new,
// and showing the item or the selection again afterwards.
#pragma once

#include "model/colour.h"
#include "model/item_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom {

struct edit_result;
struct map_editor;
struct t_mapper;
struct t_set;
struct t_shape;

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

// Starts a new build item of `kind`, named "build": the map counts as
// changed and the view follows the builder.
void start_build_item(map_editor& editor, t_mapper& item, shape_kind kind);

// A click on a waypoint list adds that waypoint with `append`; a Shift-click
// below the anchor (the last plain click) adds every waypoint from there down
// to it, stopping at the first error box, and clears the anchor. Returns
// whether anything was appended.
bool append_clicked(map_editor& editor, std::int32_t index, bool shift, std::int32_t& anchor,
                    edit_result (*append)(map_editor&, std::int32_t), edit_result& result);

// What differs between committing a shape and a point set.
struct item_commit {
    item_list& class_list;         // class_list or points_class_list
    std::string_view prefix;       // "New-Shape-" or "New-Set-"
    std::int32_t& counter;         // the kind's naming counter
    std::string_view cant_update;  // the error when an edited item is listed no more
};

// Files the item under the classes selected in the kind's class list, names
// and lists it as list_committed does and marks the map changed. Returns the
// error box's message, or an empty text.
std::string commit_item(map_editor& editor, t_mapper& item, list_object entry_object,
                        const item_commit& kind);

// The view follows the build items; then `shape`, else `set`, else every
// listed item is corrected, and that item, else the selection, projected
// again. Asks for a repaint.
edit_result project_items(map_editor& editor, t_shape* shape, t_set* set);

} // namespace wayloom
