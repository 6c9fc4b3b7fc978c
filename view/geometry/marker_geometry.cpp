#include "view/geometry/marker_geometry.h"

#include "view/geometry/projection.h"

#include <algorithm>
#include <limits>

namespace wayloom {

namespace {

// Sums pixel coordinates without leaving the 32-bit range.
std::int32_t offset(std::int32_t at, std::int64_t by)
{
    const std::int64_t sum = static_cast<std::int64_t>(at) + by;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::int32_t marker_half_size(long double size)
{
    return std::clamp(truncate_to_pixel(size), -max_marker_half_size, max_marker_half_size);
}

marker_box marker_rectangle(std::int32_t x, std::int32_t y, std::int32_t half_size)
{
    return {offset(x, -static_cast<std::int64_t>(half_size)),
            offset(y, -static_cast<std::int64_t>(half_size)), offset(x, half_size),
            offset(y, half_size)};
}

label_origin_pos label_origin(std::int32_t x, std::int32_t y, long double size)
{
    constexpr long double most = max_marker_half_size;
    return {offset(x, truncate_to_pixel(2 * std::clamp(size, -most, most))), y};
}

} // namespace wayloom
