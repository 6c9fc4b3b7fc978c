// Counting the pixels a filled and outlined polygon covers, row by row on
// its spans, without a raster.
#pragma once

#include "model/shape.h"

#include <cstdint>
#include <span>

namespace wayloom {

// Pixels a polygon through `corners` covers when filled (even-odd rule,
// pixel centres) and outlined with a one-pixel pen, counted in columns
// 0 .. width − 1 and rows 0 .. height − 1 only. The edges are sorted once by
// their top row and each row looks only at the edges that reach it, so a
// row costs the edges it meets.
std::int64_t count_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                  std::int32_t height);

} // namespace wayloom
