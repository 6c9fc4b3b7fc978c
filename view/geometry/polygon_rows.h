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

pixel_edge make_edge(pixel_pos a, pixel_pos b);

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

// The pixels a one-pixel line along the edge sets in row y, stepped the way
// a painter steps lines: sampled at pixel centres along the longer axis,
// each sample setting the pixel it falls in; both ends are set. Columns are
// held to −2 .. width + 2, so that huge coordinates cannot overflow.
column_run outline_run(const pixel_edge& e, double y, std::int32_t width);

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
