#include "reference_pixel_count.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace wayloom::test {

namespace {

// Pixel coordinates are whole 32-bit numbers, so doubles hold every
// position along an edge closely enough to find its pixels.
struct edge {
    double x0, y0, x1, y1;  // y0 <= y1
    double slope;           // x per row; 0 for a horizontal edge
    double low, high;       // x range
    bool steep;             // at least as many rows as columns

    edge(pixel_pos a, pixel_pos b)
    {
        if (b.y < a.y) std::swap(a, b);
        x0 = a.x;
        y0 = a.y;
        x1 = b.x;
        y1 = b.y;
        slope = y1 == y0 ? 0 : (x1 - x0) / (y1 - y0);
        low = std::min(x0, x1);
        high = std::max(x0, x1);
        steep = std::fabs(y1 - y0) >= std::fabs(x1 - x0);
    }

    double x_at(double y) const { return x0 + (y - y0) * slope; }
};

struct span {
    std::int64_t first, last;  // inclusive pixel columns
};

// Column of the pixel holding x, kept just outside the counted columns so
// that huge coordinates cannot overflow.
std::int64_t column_of(double x, std::int32_t width)
{
    return static_cast<std::int64_t>(std::floor(std::clamp(x, -2.0, width + 2.0)));
}

// The pixels a one-pixel line along the edge sets in this row, stepped the
// way the painter steps lines: sampled at pixel centres along the longer
// axis, each sample setting the pixel it falls in; both ends are set.
span outline_run(const edge& e, double y, std::int32_t width)
{
    if (e.y0 == e.y1) return {column_of(e.low, width), column_of(e.high, width)};
    if (e.steep) {
        const std::int64_t c = column_of(e.x_at(std::min(y + 0.5, e.y1)), width);
        return {c, c};
    }
    const double top = e.x_at(y);
    const double next = e.x_at(y + 1);
    double first, last;
    if (e.slope > 0) {
        first = std::ceil(top - 0.5);
        last = y == e.y1 ? e.high : std::ceil(next - 0.5) - 1;
    } else {
        // Stepped from the right-hand end, so sampled half a pixel to the left.
        first = std::floor(next + 0.5) + 1;
        last = y == e.y0 ? e.high : std::floor(top + 0.5);
    }
    first = std::max(first, e.low);
    last = std::min(last, y == (e.slope > 0 ? e.y1 : e.y0) ? e.high : e.high - 1);
    return {column_of(first, width), column_of(last, width)};
}

} // namespace

std::int64_t reference_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                  std::int32_t height)
{
    if (corners.empty() || width <= 0 || height <= 0) return 0;

    std::vector<edge> edges;
    edges.reserve(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i)
        edges.emplace_back(corners[i], corners[(i + 1) % corners.size()]);
    std::sort(edges.begin(), edges.end(), [](const edge& a, const edge& b) { return a.y0 < b.y0; });

    double bottom_edge = edges.front().y0;
    for (const edge& e : edges) bottom_edge = std::max(bottom_edge, e.y1);
    const std::int64_t first_row = std::max<std::int64_t>(0, static_cast<std::int64_t>(edges.front().y0));
    const std::int64_t last_row = std::min<std::int64_t>(height - 1, static_cast<std::int64_t>(bottom_edge));

    std::int64_t count = 0;
    std::size_t next = 0;
    std::vector<const edge*> active;
    std::vector<double> crossings;
    std::vector<span> spans;
    for (std::int64_t row = first_row; row <= last_row; ++row) {
        const double y = static_cast<double>(row);
        while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [&](const edge* e) { return e->y1 < y; });

        crossings.clear();
        spans.clear();
        // The pixel centre line of this row; corners sit on whole rows, so
        // it never passes through one.
        const double centre = y + 0.5;
        for (const edge* e : active) {
            if (e->y0 < centre && centre < e->y1) crossings.push_back(e->x_at(centre));
            spans.push_back(outline_run(*e, y, width));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centres lie between the two crossings; a centre
            // exactly on the right-hand crossing is inside, on the left one outside.
            const double left = std::clamp(crossings[i], -2.0, width + 2.0);
            const double right = std::clamp(crossings[i + 1], -2.0, width + 2.0);
            const std::int64_t first = static_cast<std::int64_t>(std::floor(left - 0.5)) + 1;
            const std::int64_t last = static_cast<std::int64_t>(std::floor(right - 0.5));
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

} // namespace wayloom::test
