// The area estimate of shapes: each shape alone, fitted into a square raster,
// filled and outlined, and its pixels counted.
#pragma once

#include "model/shape.h"
#include "view/geometry/polygon_pixels.h"  // count_polygon_pixels

#include <cstdint>

namespace wayloom {

struct item_list;

constexpr std::int32_t area_raster_size = 1600;

// Sets `area` (square map units) and `coverage` (percent of the fitted
// raster) of `shape`, else of every shape in `shape_list`, selected or not,
// the latter on all cores; shapes must not be touched meanwhile.
// Leaves each shape's corrected longitudes and pixels as the raster
// projection made them: run correct_nodes and update_shapes afterwards.
// A shape without nodes, or one whose fitted width or height truncates to 0,
// gets area 0 and coverage 0.
void break_up(const item_list& shape_list, t_shape* shape);

} // namespace wayloom
