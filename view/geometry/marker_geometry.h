// Where a point's marker and name label go on the drawing surface.
#pragma once

#include <cstdint>

namespace wayloom {

// Pixels; right and bottom are excluded, so the marker is 2s wide and high.
struct marker_box {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const marker_box&, const marker_box&) = default;
};

// Markers are held to this half-size, pixels: a larger one covers any drawing
// surface already, and its box, the pen's rectangle and the label's place
// then stay far inside 32 bits whatever size a map gives.
constexpr std::int32_t max_marker_half_size = 1 << 20;

// The marker's half-width in whole pixels: the size truncated toward zero,
// held to ±max_marker_half_size; NaN gives 0.
std::int32_t marker_half_size(long double size);

// The bounding box of a marker of half-width `half_size` centred on (x, y).
marker_box marker_rectangle(std::int32_t x, std::int32_t y, std::int32_t half_size);

// Top-left corner of the name label: (x + trunc(2 · size), y), the size held
// as for the marker.
struct label_origin_pos {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const label_origin_pos&, const label_origin_pos&) = default;
};
label_origin_pos label_origin(std::int32_t x, std::int32_t y, long double size);

} // namespace wayloom
