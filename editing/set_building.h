// Building a point set on the "Points" tab: clicks in waypoints_set_list
// append points, each named after its waypoint and styled from the
// attributes dialog's current values; "Add node to map" commits the set.
#pragma once

#include "editing/map_editor.h"

#include <cstdint>

namespace wayloom {

inline constexpr const char* too_many_points_message = "Too many points";
inline constexpr const char* cant_update_set_message =
    "Cant update point set, so creating a new one";
inline constexpr const char* new_point_hint = "A hint";

// A mouse press on waypoints_set_list over entry `index` (−1 when none): the
// click rules of waypoints_list_mouse_down, ignored while a shape has nodes
// in waypoints_shape_list. The set is rebuilt once per click, also for a range.
edit_result waypoints_set_list_mouse_down(map_editor& editor, std::int32_t index, bool shift);

// Appends the waypoint of entry `index` of waypoints_set_list as the next
// point, starting a new set "build" when none is being built. The same
// waypoint twice in a row is appended once; a point past the limit is
// refused with "Too many points". Does not rebuild the set.
edit_result append_point(map_editor& editor, std::int32_t index);

// While set-building mode is on and the set has a point: takes each point's
// position from its waypoint, lists the points again under their names
// (keeping the selection), corrects and projects the set alone.
edit_result refresh_build_set(map_editor& editor);

// Commits the set being built: classes from points_class_list, names from
// the first selected class or "New-Set-" and the set counter; a set taken
// up for editing is updated in place. Always corrects and projects the selection.
edit_result add_set(map_editor& editor);

} // namespace wayloom
