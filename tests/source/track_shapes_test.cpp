// Ground distances, Douglas–Peucker to what a map file holds, and tracks and
// routes as the map's paths and shapes.
#include "source/track_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace wayloom {
namespace {

// Metres from p to the segment a-b about a's meridian (a part in 10,000 from the line's middle).
double off_segment(geo_point p, geo_point a, geo_point b)
{
    const ground_plane plane(a.lon);
    const auto pp = plane(p), pa = plane(a), pb = plane(b);
    const double dx = pb.x - pa.x, dy = pb.y - pa.y, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((pp.x - pa.x) * dx + (pp.y - pa.y) * dy) / l2, 0.0, 1.0) : 0;
    return std::hypot(pp.x - pa.x - t * dx, pp.y - pa.y - t * dy);
}

std::vector<geo_point> walk(std::size_t n, const std::function<geo_point(double)>& at)
{
    std::vector<geo_point> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = at(static_cast<double>(i));
    return out;
}

TEST(line_simplify, ground_distances_are_true_metres)
{
    const std::tuple<geo_point, geo_point, double> rows[] = {{{0, 0}, {0, 1}, 110574.3}, {{10, 0}, {11, 0}, 111319.5},
        {{0, 89.5}, {0, 90}, 55847.0}, {{179.9999, 0}, {-179.9999, 0}, 22.264}, {{5, 60}, {6, 60}, 55800.0}};
    for (const auto& [a, b, metres] : rows) EXPECT_NEAR(ground_distance(a, b), metres, metres * 2e-4) << b.lat;
}

TEST(line_simplify, keeps_the_ends_and_every_dropped_point_within_the_smallest_tolerance_that_fits)
{
    const std::tuple<const char*, std::vector<geo_point>, double, std::size_t> rows[] = {  // tolerance, most
        {"a wobbly walk of 100000 points", walk(100000, [](double i) {
             return geo_point{-4.05 + 2e-7 * i + 1e-5 * std::sin(i * 0.37), 52.41 + 0.01 * std::sin(i * 7e-5)};
         }), 0, 511},
        {"a field walked round, back at the start", walk(3001, [](double i) {
             return geo_point{-4.05 + 0.003 * std::cos(i * 2.0944e-3), 52.41 + 0.002 * std::sin(i * 2.0944e-3)};
         }), 0, 511},
        {"a track that doubles back", walk(2000, [](double i) {
             return geo_point{1e-6 * (i < 1000 ? i : 1999 - i), 1e-6 * std::fmod(i, 7)};
         }), 0, 100},
        {"a tolerance asked for", walk(1000, [](double i) { return geo_point{1e-5 * i, 1e-5 * std::sin(i * 0.1)}; }),
         0.5, 511},
    };
    for (const auto& [name, line, tolerance, most] : rows) {
        const simplified_line s = simplify_line(line, tolerance, most);
        const auto& kept = s.kept;
        EXPECT_LE(kept.size(), most) << name;
        EXPECT_EQ(std::pair(kept.front(), kept.back()), std::pair(std::size_t{0}, line.size() - 1)) << name;
        EXPECT_GE(s.tolerance, tolerance) << name;
        for (std::size_t k = 0; k + 1 < kept.size(); ++k)
            for (std::size_t i = kept[k] + 1; i < kept[k + 1]; ++i)
                ASSERT_LE(off_segment(line[i], line[kept[k]], line[kept[k + 1]]), s.tolerance * 1.0001 + 1e-9)
                    << name << ": point " << i;
        if (s.tolerance == tolerance) continue;
        // The smallest that fits: a hair less keeps too many.
        EXPECT_GT(simplify_line(line, s.tolerance * 0.999, SIZE_MAX).kept.size(), most) << name;
        EXPECT_EQ(simplify_line(line, s.tolerance, SIZE_MAX).kept, kept) << name;
    }
}

walked_track track(std::string name, std::vector<geo_point> points)
{
    walked_track t{std::move(name), {}, {}};
    for (const geo_point p : points) t.points.push_back({p, 60.5});
    return t;
}

TEST(track_shapes, a_walk_back_to_its_start_is_a_shape_and_others_are_paths)
{
    constexpr double metre = 1.0 / 111320;  // about a metre, in degrees
    const geo_point a{0, 0}, b{100 * metre, 0}, c{100 * metre, 100 * metre};
    const geo_point near_a{0, 20 * metre}, far_from_a{0, 30 * metre};
    std::vector<geo_point> long_walk;
    for (int i = 0; i < 5000; ++i) long_walk.push_back({i * 1e-5, std::sin(i * 0.01) * 1e-3});
    // Nodes: a shape's as they are, a path's negative, 0 when left out.
    const std::tuple<const char*, walked_track, track_rules, int> rows[] = {
        {"back at the start", track("field", {a, b, c, a}), {}, 3},
        {"within 25 metres of the start", track("field", {a, b, c, near_a}), {}, 4},
        {"30 metres short", track("field", {a, b, c, far_from_a}), {}, -4},
        {"closing asked for within 40 metres", track("field", {a, b, c, far_from_a}), {40, 0}, 4},
        {"never closed", track("field", {a, b, c, a}), {0, 0}, -4},
        {"a shape needs three points", track("field", {a, b, a}), {}, 0},
        {"a path needs two", track("field", {a}), {}, 0},
        {"a simplification asked for", track("lane", {a, {50 * metre, 0.5 * metre}, b}), {25, 1}, -2},
        {"a long walk fits a map file, no more simplified than that", track("long", long_walk), {}, -511},
    };
    for (const auto& [name, walked, rules, nodes] : rows) {
        map_document doc;
        doc.create_waypoint();
        const t_shape* shape = add_track(doc, walked, rules);
        EXPECT_EQ(shape ? (shape->is_path() ? -1 : 1) * shape->node_count() : 0, nodes) << name;
        EXPECT_EQ(doc.waypoint_count(), 1 + std::abs(nodes)) << name;
        if (!shape) continue;
        EXPECT_EQ(doc.shape_list.entries.at(0).text, walked.name) << name;
        const t_waypoint& second = *doc.waypoint(shape->nodes[1].waypoint);
        EXPECT_EQ(std::tie(second.name, second.alt), std::tuple(walked.name + "-2", 60.5L)) << name;
        EXPECT_EQ(shape->nodes[1].lon, second.lon * 360) << name;
    }
}

TEST(track_shapes, names_and_distances_as_given)
{
    const std::pair<std::string_view, std::string> names[] = {
        {"ACTIVE LOG", "active_log"}, {"  North Field  ", "north_field"}, {"2024", "2024"}, {"   ", "track-3"}};
    for (const auto& [given, expected] : names) EXPECT_EQ(item_name_of(given, "track-3"), expected) << given;
    const std::tuple<std::string_view, std::string_view, double, double> rows[] = {
        {"40", " 2.5 ", 40, 2.5}, {"0", "0", 0, 0}, {"far", "-1", 25, 0}, {"1e7", "1,5", 25, 0}, {"", "1e6", 25, 1e6}};
    for (const auto& [close, simplify, close_m, simplify_m] : rows) {
        const track_rules rules = read_track_rules(close, simplify);
        EXPECT_EQ(std::pair(rules.close_within, rules.simplify), std::pair(close_m, simplify_m)) << close << simplify;
    }
}

// Points that repeat a waypoint by name (a fixed-width ident padded) and place
// refer to it; a name elsewhere, or none, is a new waypoint.
TEST(track_shapes, route_points_that_repeat_a_waypoint_refer_to_it)
{
    map_document doc;
    t_waypoint& gate = doc.create_waypoint();
    std::tie(gate.name, gate.lon, gate.lat) = std::tuple("gate", -4.052L, 52.413L);
    waypoint_finder finder;
    const t_shape* path = add_route(doc, "to_the_barn", {{"GATE  ", {{-4.052, 52.413}, {}}}, {"barn", {{-4.054, 52.41}, 63.0}},
                                    {"gate", {{-4.06, 52.413}, {}}}, {"", {{-4.05, 52.41}, {}}}, {"barn", {{-4.054, 52.41}, {}}}},
                                    finder);
    std::vector<std::int32_t> nodes;
    for (const t_node& n : path->nodes) nodes.push_back(n.waypoint);
    EXPECT_EQ(std::tie(nodes, path->shape_type), std::tuple(std::vector<std::int32_t>{0, 1, 2, 3, 1}, s_path));
    EXPECT_EQ(std::tie(doc.waypoint(3)->name, doc.waypoint(1)->alt), std::tuple("to_the_barn-4", 63.0L));
    EXPECT_EQ(add_route(doc, "one", {{"well", {{1, 1}, {}}}}, finder), nullptr) << "one point is no path";
    EXPECT_EQ(doc.waypoint_count(), 5) << "its waypoint is still added";
}

} // namespace
} // namespace wayloom
