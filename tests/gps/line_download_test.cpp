// The track log and route transfers through the session, over a scripted
// handset: what goes on the wire, what reaches the map and the boxes.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace wayloom::gps::testing {
namespace {

bytes d301(std::int32_t lat, std::int32_t lon, bool first)
{
    bytes r(21, 0);
    put32(r, 0, lat);
    put32(r, 4, lon);
    r[20] = first;
    return r;
}

// A link started on a handset whose protocol array is `array`.
void start(link_fixture& f, bytes array)
{
    f.ack(254);
    f.reply(255, {0x9B, 1, 0x0E, 1, 0});
    f.reply(253, std::move(array));
    f.link.init_gps();
    ASSERT_TRUE(f.link.protocol_supported());
    f.link.choice = {false, true, true};
}

const bytes array{'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', 108, 0, 'A', 201, 0, 'D', 202, 0, 'D', 108, 0,
                  'D', 210, 0, 'A', 45, 1, 'D', 54, 1, 'D', 45, 1};  // ... A301 D310 D301

constexpr std::int32_t m = 97;  // about a metre of latitude, in semicircles

TEST(line_download, tracks_then_routes_become_shapes_and_paths)
{
    link_fixture f;
    start(f, array);
    // The track log: a field walked round (back within 20 metres) and a lane.
    f.ack(10);
    f.reply(27, {9, 0});
    f.reply(99, {1, 0, 'F', 'I', 'E', 'L', 'D', 0});
    for (const auto& [lat, lon] : {std::pair{0, 0}, {0, 200 * m}, {200 * m, 200 * m}, {200 * m, 0}, {20 * m, 0}})
        f.reply(34, d301(lat, lon, lat == 0 && lon == 0));
    f.reply(99, {1, 0, 0});
    f.reply(34, d301(0, 0, true));
    f.reply(34, d301(0x7FFFFFFF, 0x7FFFFFFF, false));
    f.reply(12, {6, 0});
    // The routes: one of two waypoints, joined by a link.
    f.ack(10);
    f.reply(27, {4, 0});
    f.reply(29, {'T', 'O', ' ', 'W', 'E', 'L', 'L', 0});
    f.reply(30, d108("GATE", 0, 0, 0));
    f.reply(98, bytes(21, 0));
    f.reply(30, d108("WELL", 1000 * m, 0, 0));
    f.reply(12, {4, 0});
    f.line.written.clear();
    f.link.download_gps();

    EXPECT_TRUE(f.seen.boxes.empty()) << f.seen.boxes.front();
    // The commands: transfer track (6), then transfer route (4), in packet 10.
    const bytes tracks_asked = frame(10, {6, 0}), routes_asked = frame(10, {4, 0});
    EXPECT_TRUE(std::equal(tracks_asked.begin(), tracks_asked.end(), f.line.written.begin()));
    EXPECT_NE(std::search(f.line.written.begin(), f.line.written.end(), routes_asked.begin(), routes_asked.end()),
              f.line.written.end());
    ASSERT_EQ(f.doc.shape_count(), 2);
    const t_shape& field = *f.doc.shapes[0];
    EXPECT_EQ(field.name, "field");
    EXPECT_FALSE(field.is_path());
    EXPECT_EQ(field.node_count(), 5);
    const t_shape& route = *f.doc.shapes[1];
    EXPECT_EQ(route.name, "to_well");
    EXPECT_TRUE(route.is_path());
    EXPECT_EQ(f.doc.waypoint(route.nodes[1].waypoint)->name, "WELL");
    EXPECT_EQ(f.link.last_lines().tracks, 1);
    EXPECT_EQ(f.link.last_lines().routes, 1);
    EXPECT_EQ(f.link.last_lines().left_out, 1) << "the unnamed track of one point with a fix";
    EXPECT_TRUE(f.seen.logged("track-1 left out: 1 point"));
    EXPECT_EQ(f.seen.range_max, 12) << "the progress bar runs over the records of both transfers";
    EXPECT_EQ(f.seen.steps, 13);
    EXPECT_EQ(f.seen.resets, 1);
}

TEST(line_download, failures_keep_what_came_and_stop_the_download)
{
    struct row {
        const char* name;
        bytes array;
        void (*script)(link_fixture&);
        std::vector<std::string> boxes;
        int shapes;
        std::optional<transfer_tally> tracks;
    };
    const row rows[] = {
        {"the track log falls silent", array,
         [](link_fixture& f) {
             f.ack(10);
             f.reply(27, {5, 0});
             f.reply(34, d301(0, 0, true));
             f.reply(34, d301(0, 200 * m, false));
         },
         {"Track Download failed"}, 1, transfer_tally{2, 5}},
        {"no acknowledgement of the command", array, [](link_fixture&) {}, {"Track Download failed"}, 0,
         std::nullopt},
        {"a handset without a track protocol",
         bytes{'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', 108, 0}, [](link_fixture&) {}, {"Track Download failed"}, 0,
         std::nullopt},
        {"an empty track log, then routes that fall silent", array,
         [](link_fixture& f) {
             f.ack(10);
             f.reply(27, {0, 0});
             f.reply(12, {6, 0});
             f.ack(10);
             f.reply(27, {3, 0});
             f.reply(29, {'R', 0});
             f.reply(30, d108("GATE", 0, 0, 0));
         },
         {"Route Download failed"}, 0, transfer_tally{0, 0}},
    };
    for (const row& r : rows) {
        link_fixture f;
        start(f, r.array);
        r.script(f);
        f.link.download_gps();
        EXPECT_EQ(f.seen.boxes, r.boxes) << r.name;
        EXPECT_EQ(f.doc.shape_count(), r.shapes) << r.name;
        const auto& got = f.link.last_lines().track_records;
        ASSERT_EQ(got.has_value(), r.tracks.has_value()) << r.name;
        if (got) EXPECT_EQ(std::pair(got->received, got->announced), std::pair(r.tracks->received, r.tracks->announced)) << r.name;
    }
}

} // namespace
} // namespace wayloom::gps::testing
