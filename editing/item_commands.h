// The commands of the "Shapes" tab and the class edit boxes: committing,
// renaming, creating classes, taking an item up for editing, deleting items,
// and the line or polygon choice for the shape being built.
#pragma once

#include "editing/map_editor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

inline constexpr const char* only_one_shape_message = "Only one shape should be selected";
inline constexpr const char* editing_a_shape_message = "You are currently editing a shape";

// "Add node to map", "&Add shape", "&Add set": commits the shape in
// shape-building mode, else the set in set-building mode, else nothing.
edit_result add_shape_buttton_click(map_editor& editor);

// A right click on shape_list over entry `index` (−1 when none): remembers
// that entry's item for renaming (nothing when no entry lies there) and
// returns the text to put into shape_edit. The selection is not touched.
std::optional<std::string> shape_list_mouse_down(map_editor& editor, std::int32_t index);

// The text of shape_edit changed: the cleaned text (an empty one numbered
// "no-name") becomes the name of the item last right-clicked, wherever its
// entry now stands, and that entry's text. Renames nothing once that item
// has left shape_list.
edit_result shape_edit_change(map_editor& editor, std::string_view text);

// Enter in a class edit box, "Create Class", "&Add class": on the Waypoints
// tab from `edit_text` (class_edit) into class_list, on the Points tab
// (points_class_edit) into points_class_list, elsewhere nothing. A new
// class takes the cleaned text as its name and the colour dialog's colour;
// the box is emptied. A text already listed, as typed or cleaned, adds nothing.
edit_result create_class(map_editor& editor, std::string& edit_text);

// "Edit Shape", "&Edit": takes the one selected item of shape_list up for
// editing on the tab of its kind and selects its classes there.
edit_result edit_shape_button_click(map_editor& editor);

// "Delete Shape", "&Delete": removes the selected items from the map and
// repaints; an item open for editing is only deselected.
edit_result delete_shape_button_click(map_editor& editor);

// "Draw shape as line" / "Draw shape as polygon": records the choice and
// makes the shape being built a path or a polygon.
edit_result path_button_click(map_editor& editor);
edit_result polygon_button_click(map_editor& editor);

} // namespace wayloom
