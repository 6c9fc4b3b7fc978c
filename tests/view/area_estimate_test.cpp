#include "view/geometry/area_estimate.h"

#include "view/geometry/correction.h"

#include "test_maps.h"

#include <gtest/gtest.h>

#include <vector>

namespace wayloom {
namespace {

using test::add_set;
using test::add_shape;

TEST(count_polygon_pixels, counts_fill_and_outline_inside_the_counted_area)
{
    struct row {
        const char* name;
        std::vector<pixel_pos> corners;
        std::int32_t width, height;
        std::int64_t expected;
    };
    const row rows[] = {
        {"square, outline outside", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 10, 10, 100},
        {"square with its outline", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 11, 11, 121},
        {"square, clockwise", {{0, 10}, {10, 10}, {10, 0}, {0, 0}}, 11, 11, 121},
        {"square cut to a corner", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 4, 3, 12},
        // Row y holds the y columns right of the diagonal plus the
        // diagonal's own pixel.
        {"right triangle", {{0, 10}, {10, 10}, {10, 0}}, 10, 10, 55},
        {"one corner", {{3, 4}}, 10, 10, 1},
        // Lines are stepped along their longer axis.
        {"shallow triangle", {{0, 0}, {30, 10}, {0, 10}}, 31, 11, 3 + 6 + 9 + 12 + 15 + 18 + 21 + 24 + 27 + 30 + 31},
        {"steep triangle", {{0, 0}, {7, 10}, {0, 10}}, 8, 11, 1 + 2 + 2 + 3 + 4 + 4 + 5 + 6 + 6 + 7 + 8},
        {"horizontal line", {{0, 0}, {9, 0}}, 10, 10, 10},
        {"vertical line", {{2, 0}, {2, 9}}, 10, 10, 10},
        {"outside", {{20, 20}, {30, 20}, {30, 30}}, 10, 10, 0},
        {"above and left", {{-30, -30}, {-20, -30}, {-20, -20}}, 10, 10, 0},
        {"covering everything", {{-2000000000, -2000000000}, {2000000000, -2000000000},
                                 {2000000000, 2000000000}, {-2000000000, 2000000000}}, 10, 10, 100},
        {"no counted area", {{0, 0}, {10, 0}, {10, 10}}, 0, 10, 0},
        {"no corners", {}, 10, 10, 0},
        // Between the two halves of a bow tie is outside (even-odd): row y
        // holds 2y + 3 pixels above the crossing row, 41 − 2y below it, and
        // the bottom row its two corners.
        {"bow tie", {{0, 0}, {20, 20}, {20, 0}, {0, 20}}, 21, 21, 120 + 21 + 99 + 2},
    };
    for (const row& r : rows)
        EXPECT_EQ(count_polygon_pixels(r.corners, r.width, r.height), r.expected) << r.name;
}

TEST(break_up, each_shape_is_measured_filled_at_its_own_middle_latitude)
{
    map_document doc;
    t_shape& square = add_shape(doc, "square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    t_shape& triangle = add_shape(doc, "triangle", {{0, 0}, {1, 0}, {1, 1}});
    t_shape& path = add_shape(doc, "path", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, s_path);
    t_shape& north = add_shape(doc, "north", {{0, 59.5}, {2, 59.5}, {2, 60.5}, {0, 60.5}});
    break_up(doc.shape_list, nullptr);
    const auto d = [](long double v) { return static_cast<double>(v); };
    EXPECT_DOUBLE_EQ(d(square.coverage), 100.0);
    EXPECT_NEAR(d(square.area), d((square.max_lon - square.min_lon) * (square.max_lat - square.min_lat)), 1e-6);
    EXPECT_NEAR(d(square.area), d(360 * 360 * correction_polynomial(0.5L) / 100), 1e-6);
    // The nodes now hold raster positions, fitted to its height.
    EXPECT_EQ(square.nodes[2].pixel, (pixel_pos{1597, 0}));
    EXPECT_NEAR(d(triangle.coverage), 50, 0.2);
    EXPECT_NEAR(d(triangle.area / square.area), 0.5, 0.002);
    EXPECT_DOUBLE_EQ(d(path.coverage), 100.0) << "a path is measured as a filled polygon";
    EXPECT_NEAR(d(north.max_lon - north.min_lon), d(2 * 360 * correction_polynomial(60) / 100), 1e-6);
    EXPECT_NEAR(d(north.coverage), 100, 1e-9);
}

TEST(break_up, degenerate_shapes_give_zero)
{
    struct row { const char* name; std::initializer_list<test::degrees> corners; double coverage = 0; };
    const row rows[] = {
        {"no nodes", {}},
        {"one node", {{3, 3}}},
        // Fitted width 1600 · 1e-7 truncates to 0: no division by it.
        {"hair-thin", {{0, 0}, {1e-7L, 0}, {1e-7L, 1}, {0, 1}}},
        {"flat, on one parallel: the edge row along the bottom", {{0, 0}, {1, 0}, {2, 0}}, 0.1},
    };
    for (const row& r : rows) {
        map_document doc;
        t_shape& s = add_shape(doc, r.name, r.corners);
        s.area = 99;
        s.coverage = 99;
        break_up(doc.shape_list, &s);
        EXPECT_EQ(s.area, 0) << r.name;
        EXPECT_LE(s.coverage, r.coverage) << r.name;
    }
}

TEST(break_up, leaves_point_sets_alone_and_measures_a_given_shape_only)
{
    map_document doc;
    t_set& set = add_set(doc, "set", {{0, 0}, {1, 1}});
    t_shape& a = add_shape(doc, "a", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    t_shape& b = add_shape(doc, "b", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    break_up(doc.shape_list, &b);
    EXPECT_EQ(a.coverage, 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(b.coverage), 100.0);
    EXPECT_EQ(set.points[1].x, 0);
}

} // namespace
} // namespace wayloom
