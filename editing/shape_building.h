// Building a shape on the "Waypoints" tab: clicks in waypoints_list append
// nodes to the shape being built, which alone is projected and drawn while
// it changes; "Add node to map" commits it under a name and the selected classes.
#pragma once

#include "editing/map_editor.h"

#include <cstdint>

namespace wayloom {

inline constexpr const char* too_many_nodes_message = "Too many nodes";
inline constexpr const char* cant_update_shape_message = "Cant update shape, so creating a new one";

// A mouse press on waypoints_list over entry `index` (−1 when none). A plain
// click appends that waypoint and makes it the anchor; a Shift-click below
// the anchor appends the waypoints after the anchor down to `index` and
// drops the anchor; a Shift-click at or above it does nothing. Ignored while
// a click is being handled and while a point set has points in points_list.
// A position past the end of the list does nothing.
edit_result waypoints_list_mouse_down(map_editor& editor, std::int32_t index, bool shift);

// Appends the waypoint of entry `index` of waypoints_list as the next node,
// starting a new shape "build" when none is being built. The same waypoint
// twice in a row is appended once; the 512th node is refused with "Too many nodes".
edit_result append_node(map_editor& editor, std::int32_t index);

// While shape-building mode is on and the shape has a node: takes each node's
// position from its waypoint, corrects and projects the shape alone.
edit_result refresh_build_shape(map_editor& editor);

// Commits the shape being built for "Add node to map": classes from the
// selection of class_list, named after the first selected class and its
// counter, else "New-Shape-" and the shape counter; an item taken up for
// editing is updated in place. Always corrects and projects the selection.
edit_result add_shape(map_editor& editor);

} // namespace wayloom
