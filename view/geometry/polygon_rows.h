// A polygon's or a path's edges walked row by row: where the fill's
// even-odd parity changes on each row's line of pixel centres, and which
// pixels a one-pixel outline sets there. One set of rules for the pixels
// the surface paints and those the area estimate counts. Internal to the view.
#pragma once

#include "model/position.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace wayloom::detail {

// One edge, top end first; pixel coordinates are whole 32-bit numbers, so
// doubles hold every position along it closely enough.
struct pixel_edge {
    double x0, y0, y1;  // y0 <= y1
    double slope;       // x per row; 0 for a horizontal edge
    double low, high;   // x range
    bool steep;         // at least as many rows as columns
};

inline pixel_edge make_edge(pixel_pos a, pixel_pos b)
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

inline double x_at(const pixel_edge& e, double y) { return e.x0 + (y - e.y0) * e.slope; }

// floor and ceil for the finite, well bounded values met here, without the
// maths library's calls; exact like std::floor.
inline double floor_of(double v)
{
    const double t = static_cast<double>(static_cast<std::int64_t>(v));
    return t > v ? t - 1 : t;
}

inline double ceil_of(double v)
{
    const double t = static_cast<double>(static_cast<std::int64_t>(v));
    return t < v ? t + 1 : t;
}

// Pixel columns, both ends included.
struct column_run {
    std::int64_t first, last;
};

// The column holding x, with x held to −2 .. width + 2 so that huge
// coordinates cannot overflow.
inline std::int64_t column_of(double x, std::int32_t width)
{
    return static_cast<std::int64_t>(floor_of(std::clamp(x, -2.0, width + 2.0)));
}

// The pixels a one-pixel line along the edge sets in row y, stepped the way
// a painter steps lines: sampled at pixel centres along the longer axis,
// each sample setting the pixel it falls in; both ends are set. Inline, so
// that every build of the area estimate's row loop has its own.
[[gnu::always_inline]] inline column_run outline_run(const pixel_edge& e, double y, std::int32_t width)
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

// Each bit of a row's word becomes the parity of the changes at and below
// it; a single change, the usual case in a row of few edges, sets every bit
// from it up.
[[gnu::always_inline]] inline std::uint64_t parity_up_to_each(std::uint64_t changes)
{
    if ((changes & (changes - 1)) == 0) return std::uint64_t{0} - changes;
    changes ^= changes << 1;
    changes ^= changes << 2;
    changes ^= changes << 4;
    changes ^= changes << 8;
    changes ^= changes << 16;
    return changes ^ (changes << 32);
}

// The edges of a polygon (closed: the last corner joins the first) or of a
// path, sorted by top row; and the rows they reach, within 0 .. height − 1.
struct edge_table {
    std::vector<pixel_edge> edges;
    std::int64_t first_row = 0, last_row = -1;  // none when last < first

    void build(std::span<const pixel_pos> corners, bool closed, std::int32_t height);
};

// Walks rows first_row .. last_row of `table`. For each row r that
// row.wanted(r) keeps, it calls row.cross(x, pen) for every edge crossing
// the row's centre line at x (pen: a steep edge, whose outline takes the
// pixel holding x), row.set(run) for every other outline run, then
// row.end(r). `steep` and `shallow` are work lists, kept by the caller.
template <class Row>
[[gnu::always_inline]] inline void walk_rows(const edge_table& table, std::vector<pixel_edge>& steep,
                                             std::vector<pixel_edge>& shallow, std::int32_t width, Row& row)
{
    steep.clear();
    shallow.clear();
    std::size_t next = 0;
    bool ended = true;  // some edge ended on the row before; on the first, some may have
    const auto drop_ended = [](std::vector<pixel_edge>& active, double y) {
        std::erase_if(active, [y](const pixel_edge& e) { return e.y1 < y; });
    };
    for (std::int64_t r = table.first_row; r <= table.last_row; ++r) {
        const double y = static_cast<double>(r);
        for (; next < table.edges.size() && table.edges[next].y0 <= y; ++next)
            (table.edges[next].steep ? steep : shallow).push_back(table.edges[next]);
        if (!row.wanted(r)) {
            ended = true;  // edges may end in the rows passed over
            continue;
        }
        if (std::exchange(ended, false)) {
            drop_ended(steep, y);
            drop_ended(shallow, y);
        }
        // The line of this row's pixel centres; corners sit on whole rows,
        // so it never passes through one.
        const double centre = y + 0.5;
        for (const pixel_edge& e : steep) {
            if (y < e.y1) {
                row.cross(x_at(e, centre), true);
            } else {
                row.set(outline_run(e, y, width));
                ended = true;
            }
        }
        for (const pixel_edge& e : shallow) {
            if (y < e.y1) row.cross(x_at(e, centre), false);
            else ended = true;
            row.set(outline_run(e, y, width));
        }
        row.end(r);
    }
}

} // namespace wayloom::detail
