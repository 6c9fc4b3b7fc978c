#include "app/window_placement.h"

#include <algorithm>
#include <limits>

namespace wayloom {

namespace {

std::int32_t to_int32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min() / 2, std::numeric_limits<std::int32_t>::max() / 2));
}

// Keeps [start, start + size) inside [low, low + span) where it fits, and
// at the low edge where it does not.
std::int32_t keep_inside(std::int64_t start, std::int64_t size, std::int64_t low, std::int64_t span)
{
    if (start + size > low + span) start = low + span - size;
    if (start < low) start = low;
    return to_int32(start);
}

} // namespace

placement place_window(std::span<const monitor_rect> monitors, std::int32_t screen_width,
                       std::int32_t screen_height, const stored_placement& stored,
                       std::int32_t window_width, std::int32_t window_height)
{
    placement out;
    std::int64_t left = 0, top = 0;
    monitor_rect bounds;

    if (stored.monitor >= 0 && stored.monitor < static_cast<std::int64_t>(monitors.size())) {
        bounds = monitors[static_cast<std::size_t>(stored.monitor)];
        out.monitor = static_cast<std::int32_t>(stored.monitor);
        left = stored.left.value_or((bounds.width - window_width) / 2);
        top = stored.top.value_or((bounds.height - window_height) / 2);
    } else {
        const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                          [](const monitor_rect& m) { return m.primary; });
        bounds = {0, 0, screen_width, screen_height, false};
        if (primary != monitors.end()) {
            out.monitor = static_cast<std::int32_t>(primary - monitors.begin());
            bounds.width = primary->width;
            bounds.height = primary->height;
        }
        left = (bounds.width - window_width) / 2;
        top = (bounds.height - window_height) / 2;
    }
    out.left = keep_inside(left, window_width, bounds.left, bounds.width);
    out.top = keep_inside(top, window_height, bounds.top, bounds.height);
    return out;
}

std::int32_t monitor_of(std::span<const monitor_rect> monitors, std::int32_t left,
                        std::int32_t top, std::int32_t width, std::int32_t height)
{
    const std::int64_t cx = std::int64_t{left} + width / 2;
    const std::int64_t cy = std::int64_t{top} + height / 2;
    auto holds = [](const monitor_rect& m, std::int64_t x, std::int64_t y) {
        return x >= m.left && x < std::int64_t{m.left} + m.width && y >= m.top &&
               y < std::int64_t{m.top} + m.height;
    };
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (holds(monitors[i], cx, cy)) return static_cast<std::int32_t>(i);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const monitor_rect& m = monitors[i];
        const bool overlaps = left < std::int64_t{m.left} + m.width && std::int64_t{left} + width > m.left &&
                              top < std::int64_t{m.top} + m.height && std::int64_t{top} + height > m.top;
        if (overlaps) return static_cast<std::int32_t>(i);
    }
    return -1;
}

} // namespace wayloom
