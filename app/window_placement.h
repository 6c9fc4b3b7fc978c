// Where a window goes on the desktop: on the monitor it was last on when that
// monitor is still attached, else centred on the primary monitor, and always
// moved back inside the monitor's bounds.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace wayloom {

// A monitor's bounds in desktop pixels.
struct monitor_rect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool primary = false;
};

// What a window's settings section says; left and top are empty when missing.
struct stored_placement {
    std::int64_t monitor = -1;
    std::optional<std::int64_t> left, top;
};

struct placement {
    std::int32_t monitor = -1;  // index into the monitors, -1 when none
    std::int32_t left = 0, top = 0;
    friend bool operator==(const placement&, const placement&) = default;
};

// A stored monitor index outside the present monitors ignores the stored
// position and centres the window on the first primary monitor (or, with
// none, on `screen_width` × `screen_height`). Halves truncate toward zero.
placement place_window(std::span<const monitor_rect> monitors, std::int32_t screen_width,
                       std::int32_t screen_height, const stored_placement& stored,
                       std::int32_t window_width, std::int32_t window_height);

// The monitor holding the centre of the window, else the first one it
// overlaps, else -1.
std::int32_t monitor_of(std::span<const monitor_rect> monitors, std::int32_t left,
                        std::int32_t top, std::int32_t width, std::int32_t height);

} // namespace wayloom
