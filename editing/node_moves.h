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

} // namespace wayloom
