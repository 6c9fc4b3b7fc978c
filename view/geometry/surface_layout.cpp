#include "view/geometry/surface_layout.h"

#include "model/item_list.h"
#include "model/map_units.h"
#include "model/point_set.h"
#include "model/shape.h"
#include "model/waypoint.h"
#include "view/geometry/drawn_items.h"
#include "view/geometry/marker_geometry.h"
#include "view/geometry/polygon_rows.h"
#include "view/geometry/projection.h"

#include <algorithm>
#include <cmath>

namespace wayloom {

namespace {

// One surface coordinate as a product and a sum of a map value, in double:
// the frame and the view folded together, for the hundreds of thousands of
// positions of a large map.
struct axis_map {
    double scale = 1, offset = 0;

    std::int32_t pixel(double value, std::int32_t size) const
    {
        const double at = value * scale + offset;
        if (std::isnan(at)) return 0;
        const double held = std::clamp(at, -2147483648.0, 2147483647.0);
        return drawn_pixel(static_cast<std::int32_t>(detail::floor_of(held)), size);
    }
};

// Corrected longitude and latitude (map units) to surface pixels.
struct position_map {
    axis_map x, y;
};

position_map map_of(const map_frame& frame, const view_transform& view)
{
    const long double zoom = view.zoom();
    const real_point origin = view.to_surface({0, 0});
    const long double across = zoom * frame.fit_width / frame.lon_range;
    const long double down = zoom * frame.fit_height / frame.lat_range;
    position_map m;
    m.x = {static_cast<double>(across), static_cast<double>(origin.x - frame.min_lon * across)};
    m.y = {static_cast<double>(-down),
           static_cast<double>(origin.y + (frame.fit_height + frame.min_lat * frame.fit_height / frame.lat_range) * zoom)};
    return m;
}

void lay_out_item(laid_out_item& out, const t_mapper& item, std::size_t entry, const map_frame& frame,
                  const view_transform& view, std::int32_t width, std::int32_t height, bool over_map)
{
    out.item = &item;
    out.entry = entry;
    out.shape = dynamic_cast<const t_shape*>(&item) != nullptr;
    out.pixels.clear();
    const const_position_span at = item.positions();
    out.pixels.reserve(at.size());
    if (!over_map && view.fitted()) {
        for (const map_position& p : at)
            out.pixels.push_back({drawn_pixel(p.pixel.x, width), drawn_pixel(p.pixel.y, height)});
        return;
    }
    const position_map m = map_of(frame, view);
    const auto place = [&](const map_position& p) {
        const long double corrected = over_map ? frame.corrected(p.lon) : p.corrected_lon;
        out.pixels.push_back({m.x.pixel(static_cast<double>(corrected), width),
                              m.y.pixel(static_cast<double>(p.lat), height)});
    };
    // A shape's nodes directly: the span's element call costs as much again.
    if (const auto* shape = dynamic_cast<const t_shape*>(&item))
        for (const t_node& node : shape->nodes) place(node);
    else
        for (const map_position& p : at) place(p);
}

} // namespace

void lay_out(surface_layout& layout, const view_state& state, const item_list& shape_list,
             const view_transform& view, std::span<const t_waypoint* const> waypoints)
{
    layout.frame = frame_of(state, shape_list);
    layout.width = state.surface.width;
    layout.height = state.surface.height;
    const map_frame& frame = layout.frame;

    // The vectors keep their room from one layout to the next.
    std::size_t count = 0;
    for_each_framed_item(state, shape_list, [&](const t_mapper& item, std::size_t entry) {
        if (count == layout.items.size()) layout.items.emplace_back();
        lay_out_item(layout.items[count++], item, entry, frame, view, layout.width, layout.height, false);
    });
    layout.items.resize(count);
    if (map_behind_applies(state, shape_list)) {
        if (!layout.building) layout.building.emplace();
        lay_out_item(*layout.building, *build_item(state), no_entry, frame, view, layout.width, layout.height, true);
    } else {
        layout.building.reset();
    }

    // Degrees of a waypoint to surface pixels, through the items' correction.
    const position_map m = map_of(frame, view);
    const axis_map across{m.x.scale * static_cast<double>(map_units_per_degree * frame.lon_factor),
                          m.x.scale * static_cast<double>(frame.lon_offset) + m.x.offset};
    const axis_map down{m.y.scale * static_cast<double>(map_units_per_degree), m.y.offset};
    layout.waypoints.resize(waypoints.size());
    for (std::size_t i = 0; i < waypoints.size(); ++i)
        layout.waypoints[i] = {across.pixel(static_cast<double>(waypoints[i]->lon), layout.width),
                               down.pixel(static_cast<double>(waypoints[i]->lat), layout.height)};
}

surface_layout lay_out(const view_state& state, const item_list& shape_list, const view_transform& view,
                       std::span<const t_waypoint* const> waypoints)
{
    surface_layout layout;
    lay_out(layout, state, shape_list, view, waypoints);
    return layout;
}

namespace {

long double square(long double v) { return v * v; }

// Squared distance from p to the segment a–b.
long double segment_distance2(real_point p, pixel_pos a, pixel_pos b)
{
    const long double dx = b.x - a.x, dy = b.y - a.y;
    const long double length2 = dx * dx + dy * dy;
    long double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp<long double>(t, 0, 1);
    return square(p.x - (a.x + t * dx)) + square(p.y - (a.y + t * dy));
}

bool near_line(std::span<const pixel_pos> at, bool closed, real_point p, long double reach)
{
    if (at.size() == 1) return segment_distance2(p, at[0], at[0]) <= reach * reach;
    const std::size_t edges = closed ? at.size() : at.size() - 1;
    for (std::size_t i = 0; i < edges; ++i)
        if (segment_distance2(p, at[i], at[(i + 1) % at.size()]) <= reach * reach) return true;
    return false;
}

// Even-odd, as the polygon is filled.
bool inside(std::span<const pixel_pos> at, real_point p)
{
    bool in = false;
    for (std::size_t i = 0, j = at.size() - 1; i < at.size(); j = i++) {
        const long double yi = at[i].y, yj = at[j].y;
        if ((yi > p.y) == (yj > p.y)) continue;
        const long double x = at[i].x + (p.y - yi) / (yj - yi) * (at[j].x - at[i].x);
        if (p.x < x) in = !in;
    }
    return in;
}

bool under(const laid_out_item& laid, real_point p, long double reach)
{
    if (laid.pixels.empty()) return false;
    if (!laid.shape) {
        const auto& set = static_cast<const t_set&>(*laid.item);
        const std::span<const point_record> points = set.used();
        for (std::size_t i = 0; i < points.size() && i < laid.pixels.size(); ++i) {
            const long double half = std::max<long double>(marker_half_size(points[i].size), reach);
            if (std::fabs(p.x - laid.pixels[i].x) <= half && std::fabs(p.y - laid.pixels[i].y) <= half) return true;
        }
        return false;
    }
    const bool path = laid.item->is_path();
    return near_line(laid.pixels, !path, p, reach) || (!path && inside(laid.pixels, {p.x + 0.5L, p.y + 0.5L}));
}

} // namespace

std::optional<std::size_t> item_under(const surface_layout& layout, real_point at, long double reach)
{
    for (auto it = layout.items.rbegin(); it != layout.items.rend(); ++it)
        if (it->entry != no_entry && under(*it, at, reach)) return it->entry;
    return std::nullopt;
}

std::optional<std::int32_t> waypoint_under(const surface_layout& layout, real_point at, long double reach)
{
    std::optional<std::int32_t> best;
    long double best_distance = reach * reach;
    auto consider = [&](pixel_pos p, std::int32_t number) {
        const long double d = square(p.x - at.x) + square(p.y - at.y);
        if (number >= 0 && d <= best_distance) {
            best_distance = d;
            best = number;
        }
    };
    if (!layout.waypoints.empty()) {
        for (std::size_t i = 0; i < layout.waypoints.size(); ++i)
            consider(layout.waypoints[i], static_cast<std::int32_t>(i));
        return best;
    }
    const auto nodes_of = [&](const laid_out_item& laid) {
        if (laid.shape) {
            const auto& nodes = static_cast<const t_shape&>(*laid.item).nodes;
            for (std::size_t i = 0; i < nodes.size() && i < laid.pixels.size(); ++i)
                consider(laid.pixels[i], nodes[i].waypoint);
        } else {
            const auto points = static_cast<const t_set&>(*laid.item).used();
            for (std::size_t i = 0; i < points.size() && i < laid.pixels.size(); ++i)
                consider(laid.pixels[i], points[i].waypoint);
        }
    };
    for (const laid_out_item& laid : layout.items) nodes_of(laid);
    if (layout.building) nodes_of(*layout.building);
    return best;
}

} // namespace wayloom
