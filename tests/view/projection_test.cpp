#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

#include "test_maps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wayloom {
namespace {

using test::add_set;
using test::add_shape;
using test::draw;
using test::draw_all;
using test::select_all;

double factor_at(long double latitude) { return static_cast<double>(correction_polynomial(latitude) / 100); }
double lon_of(long double map_units) { return static_cast<double>(map_units / 360); }

TEST(correction_polynomial, approximates_a_hundred_times_the_cosine)
{
    struct row { long double latitude; double expected; };
    for (const row& r : {row{0, 99.83}, row{30, 86.52}, row{60, 50.14}, row{90, -0.06}})
        EXPECT_NEAR(static_cast<double>(correction_polynomial(r.latitude)), r.expected, 0.01) << r.latitude;
}

TEST(correct_nodes, squeeze_longitudes_about_the_middle_with_one_latitude_for_all)
{
    map_document doc;
    add_shape(doc, "empty first", {});  // items without positions take no part
    add_set(doc, "no points", {});
    t_shape& low = add_shape(doc, "low", {{10, 0}, {12, 0}});
    t_set& high = add_set(doc, "high", {{10, 60}, {12, 60}});
    correct_nodes(doc.shape_list, nullptr, nullptr);
    const double f = factor_at(30);  // middle of 0..60
    EXPECT_NEAR(lon_of(low.nodes[0].corrected_lon), 11 - f, 1e-9);
    EXPECT_NEAR(lon_of(low.nodes[1].corrected_lon), 11 + f, 1e-9);
    EXPECT_NEAR(lon_of(high.points[0].corrected_lon), 11 - f, 1e-9);
    EXPECT_EQ(high.points[1].lat, 60 * 360) << "latitudes stay";

    // A given shape uses its own middle latitude and leaves the rest alone.
    t_shape& alone = add_shape(doc, "alone", {{0, 59.5}, {2, 60.5}});
    correct_nodes(doc.shape_list, &alone, nullptr);
    EXPECT_NEAR(lon_of(alone.nodes[1].corrected_lon), 1 + factor_at(60), 1e-9);
    EXPECT_NEAR(lon_of(low.nodes[1].corrected_lon), 11 + f, 1e-9);
    t_shape& nothing = add_shape(doc, "nothing", {});
    correct_nodes(doc.shape_list, &nothing, nullptr);  // nothing to do, nothing read
}

TEST(projection, the_fit_keeps_the_proportions_and_centres_the_map)
{
    struct row {
        const char* name;
        std::initializer_list<test::degrees> corners;
        double width, height, left, top, slack = 0;
    };
    const double equator = factor_at(0);
    const row rows[] = {
        {"two degrees by one at sixty is about square", {{10, 59.5}, {12, 59.5}, {12, 60.5}, {10, 60.5}},
         600, 600, 100, 0, 4},
        // The correction at the equator still narrows by a sixth of a percent.
        {"two by one at the equator is twice as wide", {{10, -0.5}, {12, -0.5}, {12, 0.5}, {10, 0.5}},
         800, std::trunc(800 / (2 * equator)), 0, std::trunc((600 - 800 / (2 * equator)) / 2)},
        {"a tall map keeps the height", {{0, -1}, {1, -1}, {1, 1}, {0, 1}},
         std::trunc(600 * equator / 2), 600, std::trunc((800 - 600 * equator / 2) / 2), 0},
    };
    for (const row& r : rows) {
        map_document doc;
        add_shape(doc, "s", r.corners);
        const surface_bounds b = draw_all(doc).surface;
        EXPECT_NEAR(b.width, r.width, r.slack) << r.name;
        EXPECT_EQ(b.height, r.height) << r.name;
        EXPECT_NEAR(b.left, r.left, r.slack / 2) << r.name;
        EXPECT_EQ(b.top, r.top) << r.name;
    }
    map_document doc;
    add_shape(doc, "s", {{10, -0.5}, {12, -0.5}, {12, 0.5}, {10, 0.5}});
    const auto [state, surface] = draw_all(doc);
    EXPECT_EQ(surface, (surface_bounds{99, 0, 800, 400})) << "exact at the equator";
    EXPECT_NEAR(static_cast<double>(state.fit_height), 400, 1);
}

TEST(projection, corners_land_on_the_surface_corners_and_pixels_are_truncated)
{
    map_document doc;
    t_shape& s = add_shape(doc, "s", {{0, 0}, {2, 0}, {2, 1}, {0, 1}});
    auto [state, b] = draw_all(doc);
    const pixel_pos corners[] = {{0, b.height}, {b.width, b.height}, {b.width, 0}, {0, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.nodes[i].pixel, corners[i]) << "corner " << i;
    EXPECT_EQ(std::tuple(s.first_dx, s.min_lat, s.max_lat), std::tuple(0, 0, 360));

    // Extent 3 × 3 map units on 100 × 100: each unit is 33.33 pixels.
    map_document steps;
    t_shape& t = add_shape(steps, "t", {});
    for (long double v : {0.0L, 1.0L, 2.0L, 3.0L}) t.nodes.emplace_back(0, v, v).corrected_lon = v;
    select_all(steps);
    surface_bounds out;
    ASSERT_TRUE(update_shapeses(state, steps.shape_list, 100, 100, out, nullptr, nullptr, 0));
    const pixel_pos expected[] = {{0, 100}, {33, 66}, {66, 33}, {100, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(t.nodes[i].pixel, expected[i]) << "node " << i;
}

TEST(projection, single_point_sits_on_the_bottom_left_corner_of_the_whole_area)
{
    for (int copies : {1, 3}) {
        map_document doc;
        t_set& set = add_set(doc, "one", {});
        for (int i = 0; i < copies; ++i) {
            point_record& p = set.add_point(point_defaults{});
            p.lon = p.corrected_lon = 720;
            p.lat = 180;
        }
        const auto [state, surface] = draw_all(doc);
        EXPECT_EQ(surface, (surface_bounds{0, 0, 800, 600})) << copies;
        EXPECT_EQ(std::tuple(state.lon_range, state.lat_range), std::tuple(1, 1));
        for (int i = 0; i < copies; ++i) EXPECT_EQ(set.points[i].pixel, (pixel_pos{0, 600}));
    }
}

TEST(projection, one_zero_range_becomes_one_and_nothing_is_fitted)
{
    struct row { const char* name; test::degrees a, b; pixel_pos pa, pb; bool lat_zero; };
    const row rows[] = {
        {"parallel", {0, 0}, {1, 0}, {0, 600}, {800, 600}, true},
        {"meridian", {0, 0}, {0, 1}, {0, 600}, {0, 0}, false},
    };
    for (const row& r : rows) {
        map_document doc;
        t_shape& s = add_shape(doc, r.name, {r.a, r.b}, s_path);
        const auto [state, surface] = draw_all(doc);
        EXPECT_EQ(surface, (surface_bounds{0, 0, 800, 600})) << r.name;
        EXPECT_EQ(s.nodes[0].pixel, r.pa) << r.name;
        EXPECT_EQ(s.nodes[1].pixel, r.pb) << r.name;
        // Only the zero range is replaced; the other keeps its extent.
        EXPECT_EQ(r.lat_zero ? state.lat_range : state.lon_range, 1) << r.name;
        EXPECT_GT(r.lat_zero ? state.lon_range : state.lat_range, 300) << r.name;
    }
}

TEST(projection, border_of_forty_leaves_the_map_the_middle_half)
{
    map_document doc;
    t_shape& s = add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    const auto [state, b] = draw_all(doc, 800, 600, 40);
    EXPECT_EQ(s.nodes[0].pixel.x, b.width / 4);
    EXPECT_NEAR(s.nodes[1].pixel.x, 3 * b.width / 4, 1);
    EXPECT_NEAR(s.nodes[0].pixel.y, 3 * b.height / 4, 1);
    EXPECT_NEAR(s.nodes[2].pixel.y, b.height / 4, 1);
    EXPECT_NEAR(static_cast<double>(state.lat_range), 720, 1e-9);  // doubled
}

TEST(projection, border_from_any_source_is_clamped)
{
    struct row { std::int64_t given; std::int32_t used; };
    const row rows[] = {{-5, 0}, {0, 0}, {20, 20}, {40, 40}, {41, 40}, {1LL << 40, 40}};
    for (const row& r : rows) {
        view_state state;
        state.set_map_border(r.given);
        EXPECT_EQ(state.map_border, r.used) << r.given;

        // The border argument of the projection is held to the same range.
        map_document doc;
        add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}});
        select_all(doc);
        view_state direct, clamped;
        surface_bounds a, b;
        update_shapeses(direct, doc.shape_list, 500, 500, a, nullptr, nullptr,
                        static_cast<std::int32_t>(std::clamp<std::int64_t>(r.given, -100, 100)));
        update_shapeses(clamped, doc.shape_list, 500, 500, b, nullptr, nullptr, r.used);
        EXPECT_EQ(direct.lat_range, clamped.lat_range) << r.given;
    }
}

TEST(projection, without_a_selected_item_the_surface_takes_the_whole_area)
{
    map_document doc;
    view_state state;
    state.surface = {4, 4, 300, 200};
    state.fit_width = 123;
    state.avail_width = 800;
    state.avail_height = 600;
    EXPECT_FALSE(update_shapes(state, doc.shape_list, nullptr, nullptr)) << "an empty list changes nothing";
    EXPECT_EQ(state.surface, (surface_bounds{4, 4, 300, 200}));
    EXPECT_EQ(state.fit_width, 123);

    t_shape& s = add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}});
    EXPECT_EQ(draw(doc, state), (surface_bounds{0, 0, 800, 600}));
    EXPECT_EQ(s.nodes[1].pixel, pixel_pos{}) << "not projected";
}

TEST(projection, items_and_records_without_positions_are_left_out)
{
    map_document doc;
    t_shape& empty = add_shape(doc, "empty", {});
    add_set(doc, "no points", {});
    t_set& set = add_set(doc, "set", {{0, 0}, {1, 1}, {50, 50}});
    set.point_count = 2;  // the third record is kept for reuse only
    t_shape& s = add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    const view_state state = draw_all(doc).state;
    EXPECT_EQ(std::tuple(state.min_lat, state.max_lat), std::tuple(0, 360));
    EXPECT_EQ(s.nodes[2].pixel, (pixel_pos{state.surface.width, 0}));
    EXPECT_TRUE(empty.nodes.empty());
}

TEST(projection, a_building_shape_alone_is_fitted_unless_it_has_no_nodes)
{
    map_document doc;
    add_shape(doc, "big", {{0, 0}, {10, 0}, {10, 10}});
    t_shape& small = add_shape(doc, "small", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    t_shape& building = add_shape(doc, "building", {});
    view_state state = draw_all(doc).state;
    state.building_shape = &building;
    resize_window(state, doc.shape_list);
    EXPECT_EQ(state.max_lat, 3600) << "the selection stays in view";
    state.building_shape = &small;
    resize_window(state, doc.shape_list);
    EXPECT_EQ(state.max_lat, 360);
    EXPECT_EQ(small.nodes[2].pixel.y, 0);
    EXPECT_EQ(state.surface.height, 600);
}

TEST(pixel_truncation, holds_huge_and_undefined_values)
{
    const std::pair<long double, std::int32_t> rows[] = {{2.9L, 2}, {-2.9L, -2}, {1e30L, INT32_MAX}, {-1e30L, INT32_MIN}, {NAN, 0}};
    for (const auto& [value, pixel] : rows) EXPECT_EQ(truncate_to_pixel(value), pixel) << static_cast<double>(value);
}

} // namespace
} // namespace wayloom
