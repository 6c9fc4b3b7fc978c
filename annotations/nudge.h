// Moving a block placed on the map (the legend, the scale ruler) by its arrow
// buttons: whole steps while a step fits, then one pixel per click up to the
// edge, then it stays against the edge.
#pragma once

#include <cstdint>

namespace wayloom {

// Nearest integer, halves to even; held within the 32-bit range, NaN gives 0.
std::int32_t round_to_pixel(long double value);

// Up or Left: position − step while that stays above 0, else one pixel
// towards 0, else 0.
std::int32_t nudge_back(std::int32_t position, std::int32_t step);

// Down or Right for a block `size` pixels long on a drawing `limit` pixels
// long: position + step while the block still ends within the limit, else
// one pixel while it ends short of the limit, else round(limit − size); a
// negative result becomes 0. A step or position that would pass the 32-bit
// range is worked out in 64 bits and held at its end.
std::int32_t nudge_forward(std::int32_t position, std::int32_t step, std::int32_t size,
                           long double limit);

} // namespace wayloom
