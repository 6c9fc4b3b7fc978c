// Deleting and reordering the nodes of the shape being built and the points
// of the set being built. Selected entries move one place as a block and
// stay selected; commands without a selection do nothing.
#pragma once

#include "editing/map_editor.h"

namespace wayloom {

// Deletes the selected nodes; with none left, shape-building mode ends, and
// a map item taken up for editing is deleted from the map.
edit_result delete_button_click(map_editor& editor);
// Moves each selected node above the unselected one before it; a block that
// starts at the top stays where it is.
edit_result up_button_click(map_editor& editor);
// The mirror image: each selected node below the unselected one after it.
edit_result down_button_click(map_editor& editor);

// The same three for the points of the set being built; a set emptied by
// the delete ends the same way.
edit_result delete_point_button_click(map_editor& editor);
edit_result points_up_button_click(map_editor& editor);
edit_result points_down_button_click(map_editor& editor);

// A node (or point) dragged in its list: the press picks up entry `row` of
// the Waypoints tab's (build_mode::shape) or the Points tab's list; each
// row the pointer reaches moves it there, past the rows between; the
// release lets it go. However many rows it passes, a drag is one step.
void pick_node(map_editor& editor, build_mode kind, std::size_t row);
edit_result drag_node_to(map_editor& editor, std::size_t row);
void drop_node(map_editor& editor);

} // namespace wayloom
