// Zoom and pan over the fitted drawing, the frame that maps positions into
// it, what lies under a pixel, and shapes painted front to back.
#include "view/geometry/map_frame.h"
#include "view/geometry/shape_raster.h"
#include "view/geometry/surface_layout.h"
#include "view/geometry/view_transform.h"

#include "model/waypoint.h"
#include "test_maps.h"

#include <gtest/gtest.h>

#include <random>

namespace wayloom {
namespace {

using test::add_set;
using test::add_shape;

TEST(view_transform, zooms_about_a_point_and_pans_within_the_drawing)
{
    struct row {
        const char* name;
        real_point at;       // surface point zoomed about
        long double factor;
        real_point pan;      // then panned by
        long double zoom;    // expected
        real_point centre;   // expected, fitted pixels
    };
    const row rows[] = {
        {"one notch about the middle", {200, 100}, 1.25, {0, 0}, 1.25, {200, 100}},
        {"about a corner keeps it", {0, 0}, 4, {0, 0}, 4, {50, 25}},
        {"out of 1x stays at 1x", {30, 30}, 0.5, {0, 0}, 1, {200, 100}},
        {"held at 10,000x", {200, 100}, 1e9, {0, 0}, 10000, {200, 100}},
        {"a pan moves the picture with the hand", {200, 100}, 2, {40, -20}, 2, {180, 110}},
        {"no further than the east edge", {200, 100}, 2, {-1000, 0}, 2, {300, 100}},
        {"nor at 1x at all", {200, 100}, 1, {50, 50}, 1, {200, 100}},
    };
    for (const row& r : rows) {
        view_transform view;
        view.reset(400, 200);
        const real_point under = view.to_fitted(r.at);
        view.zoom_at(r.at, r.factor);
        if (r.factor <= 1e6 && r.zoom == r.factor) {
            const real_point still = view.to_fitted(r.at);
            EXPECT_NEAR(double(still.x), double(under.x), 1e-9) << r.name;
            EXPECT_NEAR(double(still.y), double(under.y), 1e-9) << r.name;
        }
        view.pan(r.pan.x, r.pan.y);
        EXPECT_DOUBLE_EQ(double(view.zoom()), double(r.zoom)) << r.name;
        EXPECT_NEAR(double(view.centre().x), double(r.centre.x), 1e-9) << r.name;
        EXPECT_NEAR(double(view.centre().y), double(r.centre.y), 1e-9) << r.name;
    }
    EXPECT_DOUBLE_EQ(double(wheel_zoom_factor(120)), 1.25);
    EXPECT_DOUBLE_EQ(double(wheel_zoom_factor(-240)), 0.64);
    EXPECT_NEAR(double(wheel_zoom_factor(60) * wheel_zoom_factor(60)), 1.25, 1e-15);
}

// A shape at 60° N, corrected and projected as after a read.
struct farm_fixture {
    map_document doc;
    view_state state;
    t_shape* field = nullptr;

    farm_fixture()
    {
        field = &add_shape(doc, "field", {{10, 60}, {12, 60}, {12, 61}, {10, 61}});
        add_set(doc, "posts", {{11, 60.5}});
        test::select_all(doc);
        test::draw(doc, state, 400, 300);
    }
};

TEST(map_frame, puts_positions_where_the_projection_put_the_nodes_and_back)
{
    farm_fixture f;
    const map_frame frame = frame_of(f.state, f.doc.shape_list);
    for (const t_node& node : f.field->nodes) {
        EXPECT_NEAR(double(frame.corrected(node.lon)), double(node.corrected_lon), 1e-9);
        const real_point p = frame.fitted(node.corrected_lon, node.lat);
        EXPECT_NEAR(double(p.x), node.pixel.x, 1.0);
        EXPECT_NEAR(double(p.y), node.pixel.y, 1.0);
        const map_frame::position back = frame.at(p);
        EXPECT_NEAR(double(back.lon), double(node.lon), 1e-9);
        EXPECT_NEAR(double(back.lat), double(node.lat), 1e-9);
    }
    // A lone meridian keeps its longitude, whatever the squeeze.
    map_document doc;
    t_shape& line = add_shape(doc, "line", {{5, 50}, {5, 51}}, s_path);
    test::select_all(doc);
    view_state state;
    test::draw(doc, state, 100, 100);
    EXPECT_NEAR(double(frame_of(state, doc.shape_list).corrected(line.nodes[0].lon)),
                double(line.nodes[0].corrected_lon), 1e-9);
}

TEST(surface_layout, keeps_the_projection_at_1x_and_scales_about_the_centre)
{
    farm_fixture f;
    view_transform view;
    view.reset(f.state.surface.width, f.state.surface.height);
    const surface_layout fitted = lay_out(f.state, f.doc.shape_list, view);
    ASSERT_EQ(fitted.items.size(), 2u);
    for (std::size_t i = 0; i < f.field->nodes.size(); ++i)
        EXPECT_EQ(fitted.items[0].pixels[i], (pixel_pos{drawn_pixel(f.field->nodes[i].pixel.x, fitted.width),
                                                         drawn_pixel(f.field->nodes[i].pixel.y, fitted.height)}));
    // At 4x about the post in the middle, the post stays and the corners
    // go four times as far from it.
    const pixel_pos post = fitted.items[1].pixels[0];
    view.zoom_at({static_cast<long double>(post.x), static_cast<long double>(post.y)}, 4);
    const surface_layout zoomed = lay_out(f.state, f.doc.shape_list, view);
    EXPECT_NEAR(zoomed.items[1].pixels[0].x, post.x, 1);
    EXPECT_NEAR(zoomed.items[1].pixels[0].y, post.y, 1);
    const pixel_pos corner = fitted.items[0].pixels[0];
    EXPECT_NEAR(zoomed.items[0].pixels[0].x, post.x + 4 * (corner.x - post.x), 4);
    EXPECT_NEAR(zoomed.items[0].pixels[0].y, post.y + 4 * (corner.y - post.y), 4);
}

TEST(surface_layout, finds_the_topmost_item_and_the_nearest_waypoint)
{
    map_document doc;
    add_shape(doc, "big", {{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    add_shape(doc, "small", {{1, 1}, {2, 1}, {2, 2}, {1, 2}});
    add_shape(doc, "track", {{0, 3}, {4, 3}}, s_path);
    test::select_all(doc);
    view_state state;
    test::draw(doc, state, 400, 400);  // 100 pixels a degree at the equator, nearly
    view_transform view;
    view.reset(state.surface.width, state.surface.height);
    std::vector<t_waypoint> stored(2);
    stored[0].lon = stored[0].lat = 3.5;
    stored[1].lon = 3.6;
    stored[1].lat = 3.5;
    const std::vector<const t_waypoint*> waypoints{&stored[0], &stored[1]};
    const surface_layout layout = lay_out(state, doc.shape_list, view, waypoints);
    const pixel_pos inner = layout.items[1].pixels[0];
    const pixel_pos track = layout.items[2].pixels[0];
    struct row { const char* name; real_point at; std::optional<std::size_t> entry; };
    const row rows[] = {
        {"inside both: the one drawn last", {inner.x + 20.0L, inner.y - 20.0L}, 1},
        {"inside the big one only", {inner.x - 30.0L, inner.y + 30.0L}, 0},
        {"on the track, drawn last", {track.x + 150.0L, track.y + 2.0L}, 2},
        {"outside everything", {-50, -50}, std::nullopt},
    };
    for (const row& r : rows) EXPECT_EQ(item_under(layout, r.at), r.entry) << r.name;
    const pixel_pos dot = layout.waypoints[1];
    EXPECT_EQ(waypoint_under(layout, {dot.x + 1.0L, dot.y + 1.0L}), 1);
    EXPECT_EQ(waypoint_under(layout, {dot.x + 30.0L, dot.y + 0.0L}), std::nullopt);
}

// Shapes given front to back leave the picture painting each alone, back
// to front, leaves: huge corners and paths among them, and crowds of
// shapes that cover all but the pixels along the sides.
TEST(shape_raster, front_to_back_paints_what_back_to_front_would)
{
    std::mt19937 rng(25);
    const auto any = [&](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(rng);
    };
    for (int round = 0; round < 30; ++round) {
        const std::int32_t width = any(1, 200), height = any(1, 150);
        struct shape { std::vector<pixel_pos> corners; bool path; std::uint32_t fill, outline; };
        const bool crowd = round % 3 == 1;
        std::vector<shape> shapes(static_cast<std::size_t>(crowd ? 150 : any(1, 12)));
        for (shape& s : shapes) {
            const std::int32_t reach = round % 5 == 0 ? 2'000'000'000 : 260;
            s.corners.resize(static_cast<std::size_t>(crowd ? 40 : any(1, 40)));
            for (pixel_pos& p : s.corners)
                p = crowd ? pixel_pos{any(0, width), any(0, height)} : pixel_pos{any(-reach / 4, reach), any(-reach / 4, reach)};
            s.path = any(0, 3) == 0;
            s.fill = static_cast<std::uint32_t>(any(0, 1 << 24));
            s.outline = static_cast<std::uint32_t>(any(0, 1 << 24));
        }
        std::vector<std::uint32_t> back(static_cast<std::size_t>(width * height), 7), front = back;
        for (const shape& s : shapes) {
            shape_raster alone(back.data(), width, height, width);
            if (s.path) alone.path(s.corners, s.outline);
            else alone.polygon(s.corners, s.fill, s.outline);
        }
        shape_raster raster(front.data(), width, height, width);
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            if (it->path) raster.path(it->corners, it->outline);
            else raster.polygon(it->corners, it->fill, it->outline);
        }
        EXPECT_EQ(front, back) << "round " << round << ", " << width << " x " << height;
    }
}

} // namespace
} // namespace wayloom
