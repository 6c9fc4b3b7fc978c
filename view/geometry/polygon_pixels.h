// Counting the pixels a filled and outlined polygon covers, row by row,
// without a raster.
#pragma once

#include "model/shape.h"
#include "view/geometry/polygon_rows.h"

#include <cstdint>
#include <span>
#include <vector>

namespace wayloom {

// Pixels a polygon through `corners` covers when filled (even-odd rule,
// pixel centres) and outlined with a one-pixel pen, counted in columns
// 0 .. width − 1 and rows 0 .. height − 1 only. A row costs the edges that
// reach it plus a pass over the words of a row of bits they touch, whatever
// order the corners come in: nothing is sorted per row.
std::int64_t count_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                  std::int32_t height);

// The same count, keeping its work buffers from one polygon to the next:
// one counter per thread measures many shapes without allocating.
class polygon_pixel_counter {
public:
    std::int64_t count(std::span<const pixel_pos> corners, std::int32_t width, std::int32_t height);

private:
    std::vector<detail::pixel_edge> edges_;   // by top row
    std::vector<detail::pixel_edge> steep_;   // those reaching the current row,
    std::vector<detail::pixel_edge> shallow_; // by kind
    std::vector<std::uint64_t> bits_;         // the current row's marks
};

} // namespace wayloom
