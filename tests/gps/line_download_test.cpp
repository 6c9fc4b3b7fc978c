// The track log and route transfers through the session, over a scripted
// handset: what goes on the wire, what reaches the map and the boxes.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wayloom::gps::testing {
namespace {

constexpr std::int32_t m = 97;  // about a metre of latitude, in semicircles

bytes d301(std::int32_t lat, std::int32_t lon, bool first)
{
    bytes r(21, 0);
    put32(r, 0, lat);
    put32(r, 4, lon);
    r[20] = first;
    return r;
}

// Starts the link on a handset with routes by A201 D202 D108 D210 and
// tracks by A301 D310 D301 (or none), to download tracks and routes.
void start(link_fixture& f, bool tracks = true)
{
    f.ack(254);
    f.reply(255, {0x9B, 1, 0x0E, 1, 0});
    bytes array{'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', 108, 0, 'A', 201, 0, 'D', 202, 0, 'D', 108, 0, 'D', 210, 0};
    if (tracks) array.insert(array.end(), {'A', 45, 1, 'D', 54, 1, 'D', 45, 1});
    f.reply(253, array);
    f.link.init_gps();
    f.link.choice = {false, true, true};
}

// A field walked round (back within 20 metres), then a track of one point with a fix.
void track_log(link_fixture& f, int announced = 9)
{
    f.ack(10);
    f.reply(27, {static_cast<std::uint8_t>(announced), 0});
    f.reply(99, {1, 0, 'F', 'I', 'E', 'L', 'D', 0});
    for (const auto& [lat, lon] : {std::pair{0, 0}, {0, 200 * m}, {200 * m, 200 * m}, {200 * m, 0}, {20 * m, 0}})
        f.reply(34, d301(lat, lon, lat == 0 && lon == 0));
    f.reply(99, {1, 0, 0});
    f.reply(34, d301(0, 0, true));
    f.reply(34, d301(0x7FFFFFFF, 0x7FFFFFFF, false));
}

TEST(line_download, tracks_then_routes_become_shapes_and_paths)
{
    link_fixture f;
    start(f);
    track_log(f);
    f.reply(12, {6, 0});
    f.ack(10);
    f.reply(27, {4, 0});
    f.reply(29, {'T', 'O', ' ', 'W', 'E', 'L', 'L', 0});
    for (const bytes& r : {d108("GATE", 0, 0, 0), bytes(21, 0), d108("WELL", 1000 * m, 0, 0)})
        f.reply(r.size() == 21 ? 98 : 30, r);
    f.reply(12, {4, 0});
    f.line.written.clear();
    f.link.download_gps();

    EXPECT_TRUE(f.seen.boxes.empty());
    // Transfer track (6), then transfer route (4), in packet 10.
    const bytes tracks_asked = frame(10, {6, 0}), routes_asked = frame(10, {4, 0});
    EXPECT_TRUE(std::equal(tracks_asked.begin(), tracks_asked.end(), f.line.written.begin()));
    EXPECT_NE(std::ranges::search(f.line.written, routes_asked).begin(), f.line.written.end());
    ASSERT_EQ(f.doc.shape_count(), 2);
    const t_shape &field = *f.doc.shapes[0], &route = *f.doc.shapes[1];
    EXPECT_EQ(std::tuple(field.name, field.is_path(), field.node_count()), std::tuple("field", false, 5));
    EXPECT_EQ(std::tuple(route.name, route.is_path(), route.node_count()), std::tuple("to_well", true, 2));
    const lines_downloaded& lines = f.link.last_lines();
    EXPECT_EQ(std::tuple(lines.tracks, lines.routes, lines.left_out), std::tuple(1, 1, 1));
    EXPECT_TRUE(f.seen.logged("track-1 left out: 1 point"));
    // The progress bar runs over the records of both transfers, once.
    EXPECT_EQ(std::tuple(f.seen.range_max, f.seen.steps, f.seen.resets), std::tuple(12, 13, 1));
}

TEST(line_download, failures_keep_what_came_and_stop_the_download)
{
    struct row {
        const char* name;
        bool tracks;
        void (*script)(link_fixture&);
        const char* box;
        int shapes;
        std::optional<std::pair<int, int>> track_records;  // received, announced
    };
    const row rows[] = {
        {"the track log falls silent", true, [](link_fixture& f) { track_log(f, 12); }, "Track Download failed", 1,
         std::pair{9, 12}},
        {"no acknowledgement of the command", true, [](link_fixture&) {}, "Track Download failed", 0, {}},
        {"a handset without a track protocol", false, [](link_fixture&) {}, "Track Download failed", 0, {}},
        {"an empty track log, then routes that fall silent", true,
         [](link_fixture& f) {
             f.ack(10), f.reply(27, {0, 0}), f.reply(12, {6, 0});
             f.ack(10), f.reply(27, {3, 0}), f.reply(29, {'R', 0});
         },
         "Route Download failed", 0, std::pair{0, 0}},
    };
    for (const row& r : rows) {
        link_fixture f;
        start(f, r.tracks);
        r.script(f);
        f.link.download_gps();
        EXPECT_EQ(f.seen.boxes, std::vector<std::string>{r.box}) << r.name;
        EXPECT_EQ(f.doc.shape_count(), r.shapes) << r.name;
        const auto& got = f.link.last_lines().track_records;
        EXPECT_EQ(got ? std::optional(std::pair(got->received, got->announced)) : std::nullopt, r.track_records)
            << r.name;
    }
}

} // namespace
} // namespace wayloom::gps::testing
