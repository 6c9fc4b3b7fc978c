#include "view/geometry/area_estimate.h"

#include "view/geometry/correction.h"
#include "view/geometry/item_scope.h"
#include "view/geometry/projection.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

namespace wayloom {

namespace {

struct edge {
    long double x0, y0, x1, y1;  // y0 <= y1
};

struct span {
    std::int64_t first, last;  // inclusive pixel columns
};

// Column of the pixel a line at x passes through, kept just outside the
// counted columns so that huge coordinates cannot overflow.
std::int64_t column_of(long double x, std::int32_t width)
{
    const long double held = std::clamp(x, -2.0L, static_cast<long double>(width) + 2);
    return static_cast<std::int64_t>(std::floor(held + 0.5L));
}

long double x_at(const edge& e, long double y)
{
    return e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0);
}

// The pixels a one-pixel line along the edge sets in this row, stepped the
// way the painter steps lines: sampled at pixel centres along the longer
// axis, each sample setting the pixel it falls in; both ends are set.
span outline_run(const edge& e, long double y, std::int32_t width)
{
    const long double dx = e.x1 - e.x0;
    const long double dy = e.y1 - e.y0;
    auto column = [&](long double x) {
        return static_cast<std::int64_t>(
            std::floor(std::clamp(x, -2.0L, static_cast<long double>(width) + 2)));
    };
    if (std::fabs(dy) >= std::fabs(dx)) {
        const std::int64_t c = column(x_at(e, std::min(y + 0.5L, e.y1)));
        return {c, c};
    }
    const long double low = std::min(e.x0, e.x1);
    const long double high = std::max(e.x0, e.x1);
    const long double top = x_at(e, y);
    const long double next = x_at(e, y + 1);
    long double first, last;
    if (dx > 0) {
        first = std::ceil(top - 0.5L);
        last = y == e.y1 ? high : std::ceil(next - 0.5L) - 1;
    } else {
        // Stepped from the right-hand end, so sampled half a pixel to the left.
        first = std::floor(next + 0.5L) + 1;
        last = y == e.y0 ? high : std::floor(top + 0.5L);
    }
    first = std::max(first, low);
    last = std::min(last, y == (dx > 0 ? e.y1 : e.y0) ? high : high - 1);
    return {column(first), column(last)};
}

} // namespace

std::int64_t count_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                  std::int32_t height)
{
    if (corners.empty() || width <= 0 || height <= 0) return 0;

    std::vector<edge> edges;
    edges.reserve(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const pixel_pos a = corners[i];
        const pixel_pos b = corners[(i + 1) % corners.size()];
        if (a.y <= b.y) edges.push_back({(long double)a.x, (long double)a.y, (long double)b.x, (long double)b.y});
        else edges.push_back({(long double)b.x, (long double)b.y, (long double)a.x, (long double)a.y});
    }
    std::sort(edges.begin(), edges.end(), [](const edge& a, const edge& b) { return a.y0 < b.y0; });

    const long double top_edge = edges.front().y0;
    long double bottom_edge = top_edge;
    for (const edge& e : edges) bottom_edge = std::max(bottom_edge, e.y1);
    const std::int64_t first_row = std::max<std::int64_t>(0, (std::int64_t)top_edge);
    const std::int64_t last_row = std::min<std::int64_t>(height - 1, (std::int64_t)bottom_edge);

    std::int64_t count = 0;
    std::size_t next = 0;
    std::vector<std::size_t> active;
    std::vector<long double> crossings;
    std::vector<span> spans;
    for (std::int64_t row = first_row; row <= last_row; ++row) {
        const long double y = static_cast<long double>(row);
        while (next < edges.size() && edges[next].y0 <= y) active.push_back(next++);
        std::erase_if(active, [&](std::size_t i) { return edges[i].y1 < y; });

        crossings.clear();
        spans.clear();
        for (const std::size_t i : active) {
            const edge& e = edges[i];
            if (e.y0 == e.y1) {
                // A horizontal edge lies on its row as one run.
                spans.push_back({column_of(std::min(e.x0, e.x1), width),
                                 column_of(std::max(e.x0, e.x1), width)});
                continue;
            }
            // The pixel centre line of this row; corners sit on whole rows,
            // so it never passes through one.
            const long double centre = y + 0.5L;
            if (e.y0 < centre && centre < e.y1) crossings.push_back(x_at(e, centre));
            spans.push_back(outline_run(e, y, width));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centres lie between the two crossings; a centre
            // exactly on the right-hand crossing is inside, on the left one outside.
            const long double left = std::clamp(crossings[i], -2.0L, (long double)width + 2);
            const long double right = std::clamp(crossings[i + 1], -2.0L, (long double)width + 2);
            const std::int64_t first = (std::int64_t)std::floor(left - 0.5L) + 1;
            const std::int64_t last = (std::int64_t)std::floor(right - 0.5L);
            if (first <= last) spans.push_back({first, last});
        }

        std::sort(spans.begin(), spans.end(), [](span a, span b) { return a.first < b.first; });
        std::int64_t covered_to = -1;  // last column already counted
        for (span s : spans) {
            const std::int64_t first = std::max<std::int64_t>({s.first, 0, covered_to + 1});
            const std::int64_t last = std::min<std::int64_t>(s.last, width - 1);
            if (first <= last) {
                count += last - first + 1;
                covered_to = last;
            }
        }
    }
    return count;
}

namespace {

void estimate(const item_list& shape_list, t_shape& shape)
{
    shape.area = 0;
    shape.coverage = 0;
    if (shape.nodes.empty()) return;

    correct_nodes(shape_list, &shape, nullptr);
    view_state raster;
    surface_bounds fitted;
    update_shapeses(raster, shape_list, area_raster_size, area_raster_size, fitted, &shape,
                    nullptr, 0);
    const std::int32_t w = std::min(fitted.width, area_raster_size);
    const std::int32_t h = std::min(fitted.height, area_raster_size);
    if (w <= 0 || h <= 0) return;  // nothing to measure against

    std::vector<pixel_pos> corners;
    corners.reserve(shape.nodes.size());
    for (const t_node& node : shape.nodes) corners.push_back(node.pixel);
    const long double count = static_cast<long double>(count_polygon_pixels(corners, w, h));
    const long double cells = static_cast<long double>(w) * h;
    shape.area = (shape.max_lon - shape.min_lon) * (shape.max_lat - shape.min_lat) * count /
                 (cells + 1e-12L);
    shape.coverage = count / cells * 100;
}

} // namespace

void break_up(const item_list& shape_list, t_shape* shape)
{
    if (shape) {
        estimate(shape_list, *shape);
        return;
    }
    for (const list_entry& entry : shape_list.entries)
        if (t_shape* const* s = std::get_if<t_shape*>(&entry.object); s && *s)
            estimate(shape_list, **s);
}

} // namespace wayloom
