// The tab shown in map_control decides the building mode: "Waypoints" builds
// or edits a shape, "Points" a point set, the others build nothing.
#pragma once

#include "editing/map_editor.h"

namespace wayloom {

// The tab change of map_control, with the index of the tab now shown. When
// a build mode ends the view shows the selection again, projected afresh.
edit_result map_control_change(map_editor& editor, int tab);

// The view back on the selected items of shape_list, projected, repainted.
edit_result show_selection(map_editor& editor);

// Shape-building mode on, unless a set is being built on the Points tab;
// shows right_toolbar and redraws when the shape has a node.
edit_result enter_waypoints(map_editor& editor);
// Hides right_toolbar; shape-building mode off, so the view no longer
// shows the shape.
void exit_waypoints(map_editor& editor);

// Set-building mode on, unless shape-building mode is; shows points_toolbar
// when the set has a point and, with `refresh`, rebuilds and redraws it.
// Coming from another tab it copies waypoints_list and class_list into the
// Points tab's lists.
edit_result enter_points(map_editor& editor, bool refresh);
// Hides points_toolbar; set-building mode off; leaving the Points tab copies
// its class list back, so classes created there reach the Waypoints tab.
void exit_points(map_editor& editor);

// After an undo or redo changed what the builders hold: the mode of the tab
// shown is on, with its tool strip and drawing, while its item has a node
// or point, and off otherwise.
edit_result settle_modes(map_editor& editor);

// Copies the entries of `from` into `to`. An entry keeps the selection the
// same object had in `to`, so classes chosen for an item taken up for
// editing survive the copy between the two tabs' class lists.
void copy_class_entries(const item_list& from, item_list& to);

} // namespace wayloom
