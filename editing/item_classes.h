// The steps a commit shares between shapes and point sets: filing the item
// under the selected classes, naming and listing it, the clicks that add
// waypoints, and showing the item or the selection again afterwards.
#pragma once

#include "editing/map_editor.h"
#include "model/colour.h"
#include "model/item_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom {

class step_recorder;
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

// What differs between committing a shape and a point set.
struct item_commit {
    build_mode kind;
    item_list& class_list;         // class_list or points_class_list
    std::string_view prefix;       // "New-Shape-" or "New-Set-"
    std::string_view cant_update;  // the error when an edited item is listed no more
};

// Commits the builder's item as one step: filed under the classes selected
// in the kind's class list; a new item is named from the first class or
// the prefix and the kind's counter, joins the map and is listed; an item
// taken up for editing is changed in place, or listed anew with the
// `cant_update` error when it is listed no more. The builder lets go of it.
// Returns the error box's message, or an empty text.
std::string commit_item(map_editor& editor, const item_commit& kind);

// Takes up a new item "build" into the builder, as part of the step.
void start_build_item(map_editor& editor, build_item& builder, step_recorder& step);

// A click on a waypoint list adds that waypoint with `append`; a Shift-click
// below the anchor (the last plain click) adds every waypoint from there down
// to it, stopping at the first error box, and clears the anchor. Returns
// whether anything was appended.
bool append_clicked(map_editor& editor, build_item& builder, std::int32_t index, bool shift,
                    edit_result (*append)(map_editor&, std::int32_t), edit_result& result);

// The step's name for `count` rows added or taken: "Add node", "Add 4 nodes".
std::string rows_text(std::string_view verb, std::size_t count, std::string_view noun);

// The view follows the build items; then `shape`, else `set`, else every
// listed item is corrected, and that item, else the selection, projected
// again. Asks for a repaint.
edit_result project_items(map_editor& editor, t_shape* shape, t_set* set);

} // namespace wayloom
