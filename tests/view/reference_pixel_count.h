// The filled-pixel count as the area estimate first made it: every row
// gathers its crossings and outline runs from the edges that span it and
// sorts them. Slow but plain; the tests and the benchmark hold the product's
// count against it.
#pragma once

#include "model/shape.h"

#include <cstdint>
#include <span>

namespace wayloom::test {

std::int64_t reference_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                      std::int32_t height);

} // namespace wayloom::test
