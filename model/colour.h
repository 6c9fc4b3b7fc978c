// Colours and marker/item kinds shared by the whole model.
#pragma once

#include <cstdint>

namespace wayloom {

// Red in the lowest byte, then green, then blue; the high byte is 0 for plain
// colours and non-zero for platform system colours.
using colour_value = std::uint32_t;

constexpr colour_value make_colour(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return (red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF);
}

constexpr std::uint32_t red_of(colour_value c) { return c & 0xFF; }
constexpr std::uint32_t green_of(colour_value c) { return (c >> 8) & 0xFF; }
constexpr std::uint32_t blue_of(colour_value c) { return (c >> 16) & 0xFF; }

// Keeps the low three bytes: a system colour becomes the ordinary colour it
// stands for and stops following the system setting.
constexpr colour_value normalise_colour(colour_value c) { return c & 0x00FFFFFF; }

constexpr colour_value grey = make_colour(128, 128, 128);
constexpr colour_value black = make_colour(0, 0, 0);

// Marker of a point: a set over p_circle and p_square, one byte wide.
enum point_type_set : std::uint8_t { p_circle = 1 << 0, p_square = 1 << 1 };
using point_type = std::uint8_t;

// Kind of an item: a set over s_polygon, s_path and s_points, one byte wide.
enum shape_type_set : std::uint8_t { s_polygon = 1 << 0, s_path = 1 << 1, s_points = 1 << 2 };
using shape_kind = std::uint8_t;

} // namespace wayloom
