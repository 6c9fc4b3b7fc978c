// Where the drawn items and the waypoints show on the surface under the
// view's zoom and pan, and what lies under a point of it. One layout serves
// a paint and the clicks and hovers until the next.
#pragma once

#include "model/position.h"
#include "view/geometry/map_frame.h"
#include "view/geometry/view_state.h"
#include "view/geometry/view_transform.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace wayloom {

struct item_list;
struct t_mapper;
struct t_waypoint;

struct laid_out_item {
    const t_mapper* item = nullptr;
    std::size_t entry = 0;  // its shape_list entry; no_entry for the item being built
    bool shape = true;      // a shape (polygon or path), else a point set
    std::vector<pixel_pos> pixels;  // surface pixels, one per node or point
};

struct surface_layout {
    map_frame frame;
    std::int32_t width = 0, height = 0;  // the surface
    std::vector<laid_out_item> items;    // projected into the frame, in drawing order
    // One surface pixel per waypoint, in number order, while the
    // waypoints are shown; else empty. Drawn over the items.
    std::vector<pixel_pos> waypoints;
    // The item being built, drawn over the map and its waypoints while the
    // map is kept behind it.
    std::optional<laid_out_item> building;
};

// Lays out the items the map drawing paints (drawn_items.h). At 1× an item
// projected into the surface's frame keeps the projection's pixels, so
// the fitted drawing is exactly the projection's; otherwise positions go
// through the frame and the view, floored to whole pixels, held to 32
// bits, and a pixel on the surface's width or height drawn on its last
// column or row. `waypoints` are laid out too (pass none while they are
// not shown). The first form refills `layout`, keeping its vectors' room.
void lay_out(surface_layout& layout, const view_state& state, const item_list& shape_list,
             const view_transform& view, std::span<const t_waypoint* const> waypoints = {});
surface_layout lay_out(const view_state& state, const item_list& shape_list,
                       const view_transform& view, std::span<const t_waypoint* const> waypoints = {});

// How close a click must come to a line or a dot, surface pixels.
constexpr long double pick_reach = 4;

// Points `at` below are surface pixels (column, row), as a mouse gives them.

// The shape_list entry of the topmost listed item under `at`: a polygon
// filling the pixel or with its outline near, near a path, or on a marker.
std::optional<std::size_t> item_under(const surface_layout& layout, real_point at,
                                      long double reach = pick_reach);

// The number of the waypoint nearest to `at` within `reach`: of every
// waypoint while they are shown, else of the drawn items' nodes and points.
std::optional<std::int32_t> waypoint_under(const surface_layout& layout, real_point at,
                                           long double reach = pick_reach);

} // namespace wayloom
