// The area estimate of shapes: each shape alone, fitted into a square raster,
// filled and outlined, and its pixels counted.
#pragma once

#include "model/shape.h"

#include <cstdint>
#include <span>

namespace wayloom {

struct item_list;

constexpr std::int32_t area_raster_size = 1600;

// Pixels a polygon through `corners` covers when filled (even-odd rule,
// pixel centres) and outlined with a one-pixel pen, counted in columns
// 0 .. width − 1 and rows 0 .. height − 1 only. Works row by row on the
// polygon's spans; no raster is allocated.
std::int64_t count_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                  std::int32_t height);

// Sets `area` (square map units) and `coverage` (percent of the fitted
// raster) of `shape`, else of every shape in `shape_list`, selected or not.
// Leaves each shape's corrected longitudes and pixels as the raster
// projection made them: run correct_nodes and update_shapes afterwards.
// A shape without nodes, or one whose fitted width or height truncates to 0,
// gets area 0 and coverage 0.
void break_up(const item_list& shape_list, t_shape* shape);

} // namespace wayloom
