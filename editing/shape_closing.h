// "Close path" and "Open shape" in the Shapes menu: the selected paths of
// shape_list become polygon shapes, or the selected shapes open paths.
#pragma once

#include "editing/map_editor.h"

namespace wayloom {

inline constexpr const char* too_few_to_close_message = "A shape needs at least 3 nodes";

// Each selected path becomes a polygon; a last node that repeats the first
// (a walk back to its start) is dropped, as a shape's closing node is. A
// path of fewer than 3 nodes (without that repeat) stays a path and the
// command ends with "A shape needs at least 3 nodes". Other items are left
// as they are; without a selected path nothing happens.
edit_result close_path(map_editor& editor);

// Each selected polygon shape becomes a path that walks round its outline
// back to its first node, so that the drawing keeps every side: closing it
// again gives the shape it was. A shape that already holds as many nodes as
// a map file may stays a shape with "Too many nodes".
edit_result open_shape(map_editor& editor);

} // namespace wayloom
