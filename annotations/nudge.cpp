#include "annotations/nudge.h"

#include <cmath>
#include <limits>

namespace wayloom {

namespace {

constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();

std::int32_t held(std::int64_t value)
{
    return static_cast<std::int32_t>(value < lowest ? lowest : value > highest ? highest : value);
}

} // namespace

std::int32_t round_to_pixel(long double value)
{
    if (std::isnan(value)) return 0;
    if (value <= lowest) return static_cast<std::int32_t>(lowest);
    if (value >= highest) return static_cast<std::int32_t>(highest);
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<std::int32_t>(std::nearbyint(value));
}

std::int32_t nudge_back(std::int32_t position, std::int32_t step)
{
    const std::int64_t moved = std::int64_t{position} - step;
    if (moved > 0) return held(moved);
    if (position > 0) return position - 1;
    return 0;
}

std::int32_t nudge_forward(std::int32_t position, std::int32_t step, std::int32_t size,
                           long double limit)
{
    const std::int64_t moved = std::int64_t{position} + step;
    std::int64_t result = 0;
    if (static_cast<long double>(moved + size) <= limit)
        result = moved;
    else if (static_cast<long double>(std::int64_t{position} + size) < limit)
        result = std::int64_t{position} + 1;
    else
        result = round_to_pixel(limit - size);
    return result < 0 ? 0 : held(result);
}

} // namespace wayloom
