#include "view/geometry/polygon_rows.h"

namespace wayloom::detail {

namespace {

std::int64_t column_of(double x, std::int32_t width)
{
    return static_cast<std::int64_t>(floor_of(std::clamp(x, -2.0, width + 2.0)));
}

} // namespace

pixel_edge make_edge(pixel_pos a, pixel_pos b)
{
    if (b.y < a.y) std::swap(a, b);
    pixel_edge e;
    e.x0 = a.x;
    e.y0 = a.y;
    e.y1 = b.y;
    const double x1 = b.x;
    e.slope = e.y1 == e.y0 ? 0 : (x1 - e.x0) / (e.y1 - e.y0);
    e.low = std::min(e.x0, x1);
    e.high = std::max(e.x0, x1);
    e.steep = std::fabs(e.y1 - e.y0) >= std::fabs(x1 - e.x0);
    return e;
}

column_run outline_run(const pixel_edge& e, double y, std::int32_t width)
{
    if (e.y0 == e.y1) return {column_of(e.low, width), column_of(e.high, width)};
    if (e.steep) {
        const std::int64_t c = column_of(x_at(e, std::min(y + 0.5, e.y1)), width);
        return {c, c};
    }
    const double top = x_at(e, y);
    const double next = x_at(e, y + 1);
    double first, last;
    if (e.slope > 0) {
        first = ceil_of(top - 0.5);
        last = y == e.y1 ? e.high : ceil_of(next - 0.5) - 1;
    } else {
        // Stepped from the right-hand end, so sampled half a pixel to the left.
        first = floor_of(next + 0.5) + 1;
        last = y == e.y0 ? e.high : floor_of(top + 0.5);
    }
    first = std::max(first, e.low);
    last = std::min(last, y == (e.slope > 0 ? e.y1 : e.y0) ? e.high : e.high - 1);
    return {column_of(first, width), column_of(last, width)};
}

void edge_table::build(std::span<const pixel_pos> corners, bool closed, std::int32_t height)
{
    edges.clear();
    first_row = 0;
    last_row = -1;
    if (corners.empty() || height <= 0) return;
    // A lone corner is a dot: an edge of no length.
    const std::size_t count = closed || corners.size() == 1 ? corners.size() : corners.size() - 1;
    for (std::size_t i = 0; i < count; ++i)
        edges.push_back(make_edge(corners[i], corners[(i + 1) % corners.size()]));
    std::sort(edges.begin(), edges.end(), [](const pixel_edge& a, const pixel_edge& b) { return a.y0 < b.y0; });
    double bottom = edges.front().y0;
    for (const pixel_edge& e : edges) bottom = std::max(bottom, e.y1);
    first_row = std::max<std::int64_t>(0, static_cast<std::int64_t>(edges.front().y0));
    last_row = std::min<std::int64_t>(height - 1, static_cast<std::int64_t>(bottom));
}

} // namespace wayloom::detail
