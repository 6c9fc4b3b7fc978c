// The projection state the main window keeps for its drawing surface: the
// panel it may use, the map extent and fitted size of the last projection,
// the surface's bounds inside the panel, and the guards around painting.
#pragma once

#include "model/colour.h"

#include <cstdint>

namespace wayloom {

struct t_shape;
struct t_set;

// Where the drawing surface sits inside the draw panel, pixels.
struct surface_bounds {
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const surface_bounds&, const surface_bounds&) = default;
};

constexpr std::int32_t max_map_border = 40;

// Any border value, from the scale window, a settings file or the command
// line, ends up in 0..40 fortieths of the extent.
constexpr std::int32_t clamp_map_border(std::int64_t border)
{
    return border < 0 ? 0 : border > max_map_border ? max_map_border : static_cast<std::int32_t>(border);
}

struct view_state {
    // The draw panel's size, pixels; the window sets them on creation and resize.
    std::int32_t avail_width = 0;
    std::int32_t avail_height = 0;
    // Extra space around the map in fortieths of its extent; see set_map_border.
    std::int32_t map_border = 0;

    // Map extent after the border, map units: corrected longitude across,
    // latitude up. Ranges are never zero after a projection.
    long double min_lon = 0, max_lon = 0, min_lat = 0, max_lat = 0;
    long double lon_range = 0, lat_range = 0;
    // Size of the fitted drawing, pixels (not yet truncated).
    long double fit_width = 0, fit_height = 0;
    // Running pixel position while one item's nodes are projected.
    long double cur_x = 0, cur_y = 0;
    bool first_extent = true;

    colour_value background = make_colour(255, 255, 255);

    // The drawing surface as the last update_shapes placed it.
    surface_bounds surface;

    bool drawing = false;      // a paint is running
    bool reading_map = false;  // the reader is running; nothing is painted

    // The item under construction, if any: while it has a node or point,
    // it alone is projected and drawn.
    t_shape* building_shape = nullptr;
    t_set* building_set = nullptr;
    // Keep the selection drawn, in its own projection, behind the item
    // being built instead of fitting that item alone (drawn_items.h).
    bool map_behind_build = false;

    void set_map_border(std::int64_t border) { map_border = clamp_map_border(border); }
};

} // namespace wayloom
