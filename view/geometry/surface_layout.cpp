#include "view/geometry/surface_layout.h"

#include "model/item_list.h"
#include "model/map_units.h"
#include "model/point_set.h"
#include "model/shape.h"
#include "model/waypoint.h"
#include "view/geometry/drawn_items.h"
#include "view/geometry/marker_geometry.h"
#include "view/geometry/projection.h"

#include <algorithm>
#include <cmath>

namespace wayloom {

pixel_pos surface_pixel(const view_transform& view, real_point fitted, std::int32_t width,
                        std::int32_t height)
{
    const real_point at = view.to_surface(fitted);
    return {drawn_pixel(truncate_to_pixel(std::floor(at.x)), width),
            drawn_pixel(truncate_to_pixel(std::floor(at.y)), height)};
}

surface_layout lay_out(const view_state& state, const item_list& shape_list,
                       const view_transform& view, std::span<const t_waypoint* const> waypoints)
{
    surface_layout layout;
    layout.frame = frame_of(state, shape_list);
    layout.width = state.surface.width;
    layout.height = state.surface.height;
    const map_frame& frame = layout.frame;

    auto add = [&](laid_out_item& out, const t_mapper& item, std::size_t entry, bool over_map) {
        out.item = &item;
        out.entry = entry;
        out.shape = dynamic_cast<const t_shape*>(&item) != nullptr;
        const const_position_span at = item.positions();
        out.pixels.reserve(at.size());
        for (const map_position& p : at) {
            if (!over_map && view.fitted()) {
                out.pixels.push_back({drawn_pixel(p.pixel.x, layout.width), drawn_pixel(p.pixel.y, layout.height)});
                continue;
            }
            const long double corrected = over_map ? frame.corrected(p.lon) : p.corrected_lon;
            out.pixels.push_back(surface_pixel(view, frame.fitted(corrected, p.lat), layout.width, layout.height));
        }
    };
    for_each_framed_item(state, shape_list, [&](const t_mapper& item, std::size_t entry) {
        add(layout.items.emplace_back(), item, entry, false);
    });
    if (map_behind_applies(state, shape_list)) add(layout.building.emplace(), *build_item(state), no_entry, true);

    layout.waypoints.reserve(waypoints.size());
    for (const t_waypoint* w : waypoints) {
        const real_point fitted = frame.fitted(frame.corrected(to_map_units(w->lon)), to_map_units(w->lat));
        layout.waypoints.push_back(surface_pixel(view, fitted, layout.width, layout.height));
    }
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
