#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

#include "test_maps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wayloom {
namespace {

using test::add_set;
using test::add_shape;
using test::select_all;

TEST(correction_polynomial, approximates_a_hundred_times_the_cosine)
{
    struct row { const char* name; long double latitude; long double expected; };
    const row rows[] = {
        {"equator", 0, 99.83}, {"thirty", 30, 86.52}, {"sixty", 60, 50.14}, {"pole", 90, -0.06}};
    for (const row& r : rows)
        EXPECT_NEAR(static_cast<double>(correction_polynomial(r.latitude)),
                    static_cast<double>(r.expected), 0.01) << r.name;
}

TEST(correct_nodes, squeezes_longitudes_about_the_middle_of_the_extent)
{
    map_document doc;
    t_shape& shape = add_shape(doc, "s", {{10, 59.5}, {12, 59.5}, {12, 60.5}, {10, 60.5}});
    correct_nodes(doc.shape_list, nullptr, nullptr);
    const long double factor = correction_polynomial(60) / 100;
    EXPECT_NEAR(static_cast<double>(shape.nodes[0].corrected_lon), (11 - factor) * 360, 1e-9);
    EXPECT_NEAR(static_cast<double>(shape.nodes[1].corrected_lon), (11 + factor) * 360, 1e-9);
    EXPECT_EQ(shape.nodes[2].lat, 60.5L * 360);  // latitudes stay
}

TEST(correct_nodes, one_middle_latitude_serves_every_item_selected_or_not)
{
    map_document doc;
    t_shape& low = add_shape(doc, "low", {{0, 0}, {2, 0}});
    t_set& high = add_set(doc, "high", {{0, 60}, {2, 60}});
    correct_nodes(doc.shape_list, nullptr, nullptr);
    const long double factor = correction_polynomial(30) / 100;  // middle of 0..60
    EXPECT_NEAR(static_cast<double>(low.nodes[1].corrected_lon), (1 + factor) * 360, 1e-9);
    EXPECT_NEAR(static_cast<double>(high.points[0].corrected_lon), (1 - factor) * 360, 1e-9);
}

TEST(correct_nodes, a_given_shape_uses_its_own_middle_latitude)
{
    map_document doc;
    t_shape& low = add_shape(doc, "low", {{0, 0}, {2, 0}});
    t_shape& high = add_shape(doc, "high", {{0, 60}, {2, 60}});
    correct_nodes(doc.shape_list, &high, nullptr);
    const long double factor = correction_polynomial(60) / 100;
    EXPECT_NEAR(static_cast<double>(high.nodes[1].corrected_lon), (1 + factor) * 360, 1e-9);
    EXPECT_EQ(low.nodes[1].corrected_lon, 2 * 360);  // untouched
}

TEST(correct_nodes, items_without_positions_take_no_part)
{
    map_document doc;
    add_shape(doc, "empty first", {});
    t_set& no_points = add_set(doc, "no points", {});
    t_shape& shape = add_shape(doc, "s", {{0, 0}, {2, 0}});
    correct_nodes(doc.shape_list, nullptr, nullptr);
    EXPECT_NEAR(static_cast<double>(shape.nodes[0].corrected_lon),
                static_cast<double>((1 - correction_polynomial(0) / 100) * 360), 1e-9);
    EXPECT_EQ(no_points.points.size(), 0u);
    t_shape& alone = add_shape(doc, "alone", {});
    correct_nodes(doc.shape_list, &alone, nullptr);  // nothing to do, nothing read
}

// Correction and projection as after a read, in an 800 × 600 panel.
surface_bounds draw(map_document& doc, view_state& state, std::int32_t border = 0)
{
    state.avail_width = 800;
    state.avail_height = 600;
    state.set_map_border(border);
    correct_nodes(doc.shape_list, nullptr, nullptr);
    update_shapes(state, doc.shape_list, nullptr, nullptr);
    return state.surface;
}

TEST(projection, two_degrees_by_one_at_sixty_is_about_square)
{
    map_document doc;
    add_shape(doc, "s", {{10, 59.5}, {12, 59.5}, {12, 60.5}, {10, 60.5}});
    select_all(doc);
    view_state state;
    const surface_bounds b = draw(doc, state);
    EXPECT_EQ(b.height, 600);
    EXPECT_NEAR(b.width, 600, 4);
}

TEST(projection, two_degrees_by_one_at_the_equator_is_twice_as_wide)
{
    map_document doc;
    add_shape(doc, "s", {{10, -0.5}, {12, -0.5}, {12, 0.5}, {10, 0.5}});
    select_all(doc);
    view_state state;
    const surface_bounds b = draw(doc, state);
    // The correction at the equator still narrows by a sixth of a percent.
    const long double height = 800 / (2 * correction_polynomial(0) / 100);
    EXPECT_EQ(b.width, 800);
    EXPECT_EQ(b.height, static_cast<std::int32_t>(height));
    EXPECT_EQ(b.height, 400);
    EXPECT_EQ(b.top, static_cast<std::int32_t>((600 - height) / 2));
    EXPECT_EQ(b.top, 99);
    EXPECT_EQ(b.left, 0);
}

TEST(projection, tall_map_in_wide_panel_keeps_the_height_and_is_centred)
{
    map_document doc;
    add_shape(doc, "s", {{0, -1}, {1, -1}, {1, 1}, {0, 1}});
    select_all(doc);
    view_state state;
    const surface_bounds b = draw(doc, state);
    const long double width = 600 * correction_polynomial(0) / 100 / 2;
    EXPECT_EQ(b.height, 600);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.width, static_cast<std::int32_t>(width));
    EXPECT_EQ(b.left, static_cast<std::int32_t>((800 - width) / 2));
    EXPECT_EQ(state.fit_height, 600);
}

TEST(projection, corners_land_on_the_surface_corners)
{
    map_document doc;
    t_shape& s = add_shape(doc, "s", {{0, 0}, {2, 0}, {2, 1}, {0, 1}});
    select_all(doc);
    view_state state;
    const surface_bounds b = draw(doc, state);
    EXPECT_EQ(s.nodes[0].pixel, (pixel_pos{0, b.height}));
    EXPECT_EQ(s.nodes[1].pixel, (pixel_pos{b.width, b.height}));
    EXPECT_EQ(s.nodes[2].pixel, (pixel_pos{b.width, 0}));
    EXPECT_EQ(s.nodes[3].pixel, (pixel_pos{0, 0}));
    EXPECT_EQ(s.first_dx, 0);
    EXPECT_EQ(s.min_lat, 0);
    EXPECT_EQ(s.max_lat, 360);
}

TEST(projection, pixels_are_truncated_step_by_step)
{
    // Extent 3 × 3 map units on 100 × 100: each unit is 33.33 pixels.
    map_document doc;
    t_shape& s = add_shape(doc, "s", {});
    for (long double v : {0.0L, 1.0L, 2.0L, 3.0L}) s.nodes.push_back({0, v, v, v, {}});
    select_all(doc);
    view_state state;
    surface_bounds out;
    ASSERT_TRUE(update_shapeses(state, doc.shape_list, 100, 100, out, nullptr, nullptr, 0));
    const pixel_pos expected[] = {{0, 100}, {33, 66}, {66, 33}, {100, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.nodes[i].pixel, expected[i]) << "node " << i;
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
        select_all(doc);
        view_state state;
        const surface_bounds b = draw(doc, state);
        EXPECT_EQ(b, (surface_bounds{0, 0, 800, 600})) << copies;
        EXPECT_EQ(state.lon_range, 1);
        EXPECT_EQ(state.lat_range, 1);
        for (int i = 0; i < copies; ++i) {
            EXPECT_EQ(set.points[i].x, 0);
            EXPECT_EQ(set.points[i].y, 600);
        }
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
        select_all(doc);
        view_state state;
        const surface_bounds b = draw(doc, state);
        EXPECT_EQ(b, (surface_bounds{0, 0, 800, 600})) << r.name;
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
    select_all(doc);
    view_state state;
    const surface_bounds b = draw(doc, state, 40);
    EXPECT_EQ(s.nodes[0].pixel.x, b.width / 4);
    EXPECT_NEAR(s.nodes[1].pixel.x, 3 * b.width / 4, 1);
    EXPECT_NEAR(s.nodes[0].pixel.y, 3 * b.height / 4, 1);
    EXPECT_NEAR(s.nodes[2].pixel.y, b.height / 4, 1);
    EXPECT_NEAR(static_cast<double>(state.lat_range), 720, 1e-9);  // doubled
}

TEST(projection, border_from_any_source_is_clamped)
{
    struct row { const char* name; std::int64_t given; std::int32_t used; };
    const row rows[] = {{"negative", -5, 0}, {"zero", 0, 0}, {"twenty", 20, 20},
                        {"forty", 40, 40}, {"too wide", 41, 40}, {"huge", 1LL << 40, 40}};
    for (const row& r : rows) {
        view_state state;
        state.set_map_border(r.given);
        EXPECT_EQ(state.map_border, r.used) << r.name;

        // The border argument of the projection is held to the same range.
        map_document doc;
        add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}});
        select_all(doc);
        view_state direct, clamped;
        surface_bounds a, b;
        update_shapeses(direct, doc.shape_list, 500, 500, a, nullptr, nullptr,
                        static_cast<std::int32_t>(std::clamp<std::int64_t>(r.given, -100, 100)));
        update_shapeses(clamped, doc.shape_list, 500, 500, b, nullptr, nullptr, r.used);
        EXPECT_EQ(direct.lat_range, clamped.lat_range) << r.name;
    }
}

TEST(projection, empty_list_and_no_item_changes_nothing)
{
    map_document doc;
    view_state state;
    state.surface = {4, 4, 300, 200};
    state.fit_width = 123;
    state.avail_width = 800;
    state.avail_height = 600;
    EXPECT_FALSE(update_shapes(state, doc.shape_list, nullptr, nullptr));
    EXPECT_EQ(state.surface, (surface_bounds{4, 4, 300, 200}));
    EXPECT_EQ(state.fit_width, 123);
}

TEST(projection, nothing_selected_takes_the_whole_area)
{
    map_document doc;
    t_shape& s = add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}});
    view_state state;
    const surface_bounds b = draw(doc, state);
    EXPECT_EQ(b, (surface_bounds{0, 0, 800, 600}));
    EXPECT_EQ(s.nodes[1].pixel, pixel_pos{});  // not projected
}

TEST(projection, items_without_positions_are_left_out)
{
    map_document doc;
    t_shape& empty = add_shape(doc, "empty", {});
    add_set(doc, "no points", {});
    t_shape& s = add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    select_all(doc);
    view_state state;
    draw(doc, state);
    EXPECT_EQ(state.min_lat, 0);
    EXPECT_EQ(state.max_lat, 360);
    EXPECT_EQ(s.nodes[2].pixel, (pixel_pos{state.surface.width, 0}));
    EXPECT_TRUE(empty.nodes.empty());
}

TEST(projection, spare_records_of_a_set_are_not_projected)
{
    map_document doc;
    t_set& set = add_set(doc, "set", {{0, 0}, {1, 1}, {50, 50}});
    set.point_count = 2;  // the third record is kept for reuse only
    select_all(doc);
    view_state state;
    draw(doc, state);
    EXPECT_EQ(state.max_lat, 360);
}

TEST(projection, a_given_shape_alone_is_fitted)
{
    map_document doc;
    add_shape(doc, "big", {{0, 0}, {10, 0}, {10, 10}});
    t_shape& small = add_shape(doc, "small", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    select_all(doc);
    view_state state;
    draw(doc, state);
    state.building_shape = &small;
    resize_window(state, doc.shape_list);
    EXPECT_EQ(state.max_lat, 360);
    EXPECT_EQ(small.nodes[2].pixel.y, 0);
    EXPECT_EQ(state.surface.height, 600);
}

TEST(projection, a_building_shape_without_nodes_leaves_the_selection_in_view)
{
    map_document doc;
    add_shape(doc, "big", {{0, 0}, {10, 0}, {10, 10}});
    t_shape& building = add_shape(doc, "building", {});
    select_all(doc);
    view_state state;
    state.avail_width = 800;
    state.avail_height = 600;
    state.building_shape = &building;
    resize_window(state, doc.shape_list);
    EXPECT_EQ(state.max_lat, 3600);
}

TEST(pixel_truncation, holds_huge_and_undefined_values)
{
    EXPECT_EQ(truncate_to_pixel(2.9L), 2);
    EXPECT_EQ(truncate_to_pixel(-2.9L), -2);
    EXPECT_EQ(truncate_to_pixel(1e30L), INT32_MAX);
    EXPECT_EQ(truncate_to_pixel(-1e30L), INT32_MIN);
    EXPECT_EQ(truncate_to_pixel(NAN), 0);
}

} // namespace
} // namespace wayloom
