#include "view/geometry/area_estimate.h"

#include "view/geometry/correction.h"

#include "reference_pixel_count.h"
#include "test_maps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
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
        // Row 13 is crossed at 29 − 10.5 · 18/14, a rounding hair left of the
        // centre 15.5 of pixel 15, which is therefore inside.
        {"crossing a hair left of a pixel centre", {{29, 3}, {11, 17}, {29, 17}}, 30, 18, 159},
        {"rows wider than 64 words", {{-5, 0}, {9000, 0}, {9000, 2}, {-5, 2}}, 8000, 5, 3 * 8000},
    };
    for (const row& r : rows) {
        EXPECT_EQ(count_polygon_pixels(r.corners, r.width, r.height), r.expected) << r.name;
        EXPECT_EQ(test::reference_polygon_pixels(r.corners, r.width, r.height), r.expected) << r.name;
    }
}

// Odd polygons of every kind give exactly the count of the plain row-by-row
// reference, pixel for pixel.
TEST(count_polygon_pixels, matches_the_reference_on_random_polygons)
{
    std::mt19937 rng(11);
    const auto between = [&](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(rng);
    };
    struct kind {
        const char* name;
        std::function<std::vector<pixel_pos>()> corners;
    };
    const kind kinds[] = {
        {"self-intersecting, many corners", [&] {
             std::vector<pixel_pos> c(static_cast<std::size_t>(between(3, 300)));
             for (pixel_pos& p : c) p = {between(-50, 1650), between(-50, 1650)};
             return c;
         }},
        {"star, corners in angle order", [&] {
             std::vector<double> angles(static_cast<std::size_t>(between(3, 100)));
             for (double& a : angles) a = between(0, 62831) / 10000.0;
             std::sort(angles.begin(), angles.end());
             std::vector<pixel_pos> c;
             for (double a : angles) {
                 const double reach = between(100, 800);
                 c.push_back({static_cast<std::int32_t>(800 + reach * std::cos(a)),
                              static_cast<std::int32_t>(800 + reach * std::sin(a))});
             }
             return c;
         }},
        {"collinear", [&] {
             const std::int32_t dx = between(-5, 5), dy = between(-5, 5);
             std::vector<pixel_pos> c;
             for (std::int32_t i = 0, n = between(2, 40); i < n; ++i) {
                 const std::int32_t k = between(0, 300);
                 c.push_back({20 + k * dx, 20 + k * dy});
             }
             return c;
         }},
        {"repeated corners and zero-length edges", [&] {
             std::vector<pixel_pos> c;
             for (std::int32_t i = 0, n = between(1, 12); i < n; ++i) {
                 const pixel_pos p{between(0, 30), between(0, 30)};
                 for (std::int32_t k = between(1, 3); k > 0; --k) c.push_back(p);
             }
             return c;
         }},
        {"huge, far past the counted area", [&] {
             std::vector<pixel_pos> c(static_cast<std::size_t>(between(3, 20)));
             for (pixel_pos& p : c)
                 p = {between(-2'000'000'000, 2'000'000'000), between(-2'000'000'000, 2'000'000'000)};
             return c;
         }},
        {"self-crossing star, every point joined to the nearly opposite ones", [&] {
             const std::int32_t points = 5 + 2 * between(0, 40);
             const double turn = between(0, 62831) / 10000.0, reach = between(10, 2000);
             std::vector<pixel_pos> c;
             for (std::int32_t i = 0; i < points; ++i) {
                 const double a = turn + 2 * M_PI * (i * (points / 2) % points) / points;
                 c.push_back({static_cast<std::int32_t>(800 + reach * std::cos(a)),
                              static_cast<std::int32_t>(800 + reach * std::sin(a))});
             }
             return c;
         }},
        {"tiny", [&] {
             std::vector<pixel_pos> c(static_cast<std::size_t>(between(1, 6)));
             for (pixel_pos& p : c) p = {between(0, 3), between(0, 3)};
             return c;
         }},
        {"thin strip of many shallow edges", [&] {
             std::vector<pixel_pos> c;
             for (std::int32_t x = 0; x < 1600; x += between(1, 9)) c.push_back({x, between(0, 6)});
             c.push_back({1599, 7});
             c.push_back({0, 7});
             return c;
         }},
    };
    for (const kind& k : kinds) {
        for (int round = 0; round < 25; ++round) {
            const std::vector<pixel_pos> corners = k.corners();
            // Now and then wider than 64 words of 64 columns.
            const std::int32_t width = between(1, round % 5 ? 1600 : 9000), height = between(1, 1600);
            EXPECT_EQ(count_polygon_pixels(corners, width, height),
                      test::reference_polygon_pixels(corners, width, height))
                << k.name << ", round " << round << ", " << corners.size() << " corners in "
                << width << " x " << height;
        }
    }
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

// All shapes at once, spread over the cores, give what each measured alone
// gives; a shape listed twice is measured once and right.
TEST(break_up, all_shapes_at_once_equal_each_shape_alone)
{
    map_document doc;
    std::mt19937 rng(5);
    std::uniform_real_distribution<long double> unit(0, 1);
    for (int s = 0; s < 60; ++s) {
        t_shape& shape = add_shape(doc, "field" + std::to_string(s), {});
        for (int n = 0; n < 3 + s % 17; ++n) {
            t_node node;
            node.lon = (s % 7 + unit(rng)) * 360;
            node.lat = (50 + s / 7 + unit(rng)) * 360;
            shape.nodes.push_back(node);
        }
    }
    doc.add_item("again", doc.shapes.front().get(), nullptr);
    std::vector<std::pair<long double, long double>> alone;
    for (const auto& shape : doc.shapes) {
        break_up(doc.shape_list, shape.get());
        alone.emplace_back(shape->area, shape->coverage);
        shape->area = shape->coverage = -1;
    }
    break_up(doc.shape_list, nullptr);
    for (std::size_t i = 0; i < doc.shapes.size(); ++i) {
        EXPECT_EQ(doc.shapes[i]->area, alone[i].first) << doc.shapes[i]->name;
        EXPECT_EQ(doc.shapes[i]->coverage, alone[i].second) << doc.shapes[i]->name;
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
    EXPECT_EQ(set.points[1].pixel.x, 0);
}

} // namespace
} // namespace wayloom
