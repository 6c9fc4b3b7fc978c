#include "view/geometry/projection.h"

#include "view/geometry/drawn_items.h"
#include "view/geometry/item_scope.h"

#include <cmath>
#include <limits>

namespace wayloom {

std::int32_t truncate_to_pixel(long double value)
{
    if (std::isnan(value)) return 0;
    constexpr long double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr long double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest) return std::numeric_limits<std::int32_t>::min();
    if (value >= highest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);  // conversion truncates toward zero
}

namespace {

// The item's own extent from corrected longitudes and latitudes, stored in
// the item and added to the map's.
void take_extent(t_mapper& item, detail::running_extent& map_extent)
{
    detail::running_extent own;
    for (const map_position& p : item.positions()) own.add(p.corrected_lon, p.lat);
    item.min_lon = own.min_lon;
    item.max_lon = own.max_lon;
    item.min_lat = own.min_lat;
    item.max_lat = own.max_lat;
    if (!map_extent.started) {
        map_extent = own;
        return;
    }
    if (own.max_lon > map_extent.max_lon) map_extent.max_lon = own.max_lon;
    if (own.min_lon < map_extent.min_lon) map_extent.min_lon = own.min_lon;
    if (own.max_lat > map_extent.max_lat) map_extent.max_lat = own.max_lat;
    if (own.min_lat < map_extent.min_lat) map_extent.min_lat = own.min_lat;
}

// Each position is the previous one plus the step to it, truncated on its
// own, so neighbouring nodes keep their pixel distances.
void project(view_state& state, t_mapper& item)
{
    const position_span at = item.positions();
    auto pixel = [&] {
        return pixel_pos{truncate_to_pixel(state.cur_x), truncate_to_pixel(state.fit_height - state.cur_y)};
    };
    state.cur_x = item.first_dx / state.lon_range * state.fit_width;
    state.cur_y = item.first_dy / state.lat_range * state.fit_height;
    at[0].pixel = pixel();
    for (std::size_t i = 1; i < at.size(); ++i) {
        state.cur_y += (at[i].lat - at[i - 1].lat) / state.lat_range * state.fit_height;
        state.cur_x += (at[i].corrected_lon - at[i - 1].corrected_lon) / state.lon_range * state.fit_width;
        at[i].pixel = pixel();
    }
}

// Keeps the proportions of the extent: the axis with room to spare shrinks.
void fit(view_state& state)
{
    const bool lon_zero = state.lon_range == 0;
    const bool lat_zero = state.lat_range == 0;
    if (lon_zero || lat_zero) {
        // Nothing to keep in proportion; a zero range becomes 1 so that its
        // positions land on the edge of the surface.
        if (lon_zero) state.lon_range = 1;
        if (lat_zero) state.lat_range = 1;
        return;
    }
    if (state.lat_range < state.lon_range) {
        const long double t = state.fit_height * state.lon_range / state.lat_range;
        if (state.fit_width >= t) state.fit_width = t;
        else state.fit_height = state.fit_width * state.lat_range / state.lon_range;
    } else if (state.lon_range < state.lat_range) {
        const long double t = state.fit_width * state.lat_range / state.lon_range;
        if (state.fit_height >= t) state.fit_height = t;
        else state.fit_width = state.fit_height * state.lon_range / state.lat_range;
    }
}

} // namespace

bool update_shapeses(view_state& state, const item_list& shape_list, std::int32_t width,
                     std::int32_t height, surface_bounds& out, t_shape* shape, t_set* set,
                     std::int32_t border)
{
    if (!shape && !set && shape_list.empty()) return false;
    border = clamp_map_border(border);

    state.min_lon = state.max_lon = state.min_lat = state.max_lat = 0;
    state.first_extent = true;
    detail::running_extent extent;

    detail::for_each_item(shape_list, shape, set, true, [&](t_mapper& item) {
        take_extent(item, extent);
        state.first_extent = false;
    });
    if (extent.started) {
        state.min_lon = extent.min_lon;
        state.max_lon = extent.max_lon;
        state.min_lat = extent.min_lat;
        state.max_lat = extent.max_lat;
    }

    state.fit_width = width;
    state.fit_height = height;
    state.lon_range = state.max_lon - state.min_lon;
    state.lat_range = state.max_lat - state.min_lat;

    if (border > 0) {
        long double d = state.lon_range * border / 40 / 2;
        state.min_lon -= d;
        state.max_lon += d;
        d = state.lat_range * border / 40 / 2;
        state.max_lat += d;
        state.min_lat -= d;
        state.lon_range = state.max_lon - state.min_lon;
        state.lat_range = state.max_lat - state.min_lat;
    }

    detail::for_each_item(shape_list, shape, set, true, [&](t_mapper& item) {
        const map_position& first = item.positions().front();
        item.first_dx = first.corrected_lon - state.min_lon;
        item.first_dy = first.lat - state.min_lat;
    });

    fit(state);

    out.top = truncate_to_pixel((height - state.fit_height) / 2);
    out.left = truncate_to_pixel((width - state.fit_width) / 2);
    out.width = truncate_to_pixel(state.fit_width);
    out.height = truncate_to_pixel(state.fit_height);

    detail::for_each_item(shape_list, shape, set, true, [&](t_mapper& item) { project(state, item); });
    return true;
}

bool update_shapes(view_state& state, const item_list& shape_list, t_shape* shape, t_set* set)
{
    // The item being built is drawn in the selection's frame then.
    const t_mapper* building = build_item(state);
    if (building && (shape == building || set == building) && map_behind_applies(state, shape_list))
        shape = nullptr, set = nullptr;
    surface_bounds bounds = state.surface;
    if (!update_shapeses(state, shape_list, state.avail_width, state.avail_height, bounds, shape,
                         set, state.map_border))
        return false;
    const bool changed = !(bounds == state.surface);
    state.surface = bounds;
    return changed;
}

void resize_window(view_state& state, const item_list& shape_list)
{
    t_mapper* building = build_item(state);
    update_shapes(state, shape_list, dynamic_cast<t_shape*>(building), dynamic_cast<t_set*>(building));
}

} // namespace wayloom
