// Track points, tracks gathered from records, and the track and route
// transfers over a scripted handset (against the simulator: simulator_test).
#include "gps/track_record.h"
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace wayloom::gps::testing {
namespace {

bytes point(std::size_t size, std::int32_t lat, std::int32_t lon, std::size_t alt_at, float alt, std::size_t flag_at = 0)
{
    bytes r(size, 0);
    put32(r, 0, lat);
    put32(r, 4, lon);
    if (alt_at) std::memcpy(r.data() + alt_at, &alt, 4);
    if (flag_at) r[flag_at] = 1;
    return r;
}

TEST(track_record, each_point_layout_where_handsets_put_it)
{
    const std::tuple<int, bytes, std::optional<float>, bool> rows[] = {
        {300, point(13, 1 << 30, -(1 << 29), 0, 0, 12), std::nullopt, true},
        {301, point(21, 1 << 30, -(1 << 29), 12, 61.5f, 20), 61.5f, true},
        {302, point(25, 1 << 30, -(1 << 29), 12, 61.5f), 61.5f, false},
        {303, point(17, 1 << 30, -(1 << 29), 12, 1.0e25f), std::nullopt, false},  // not valid
        {304, point(23, 1 << 30, -(1 << 29), 12, -3.25f), -3.25f, false},
    };
    for (const auto& [layout, record, alt, new_track] : rows) {
        const auto p = decode_track_point(layout, record);
        ASSERT_TRUE(p) << layout;
        EXPECT_EQ(std::tuple(p->at.lat, p->at.lon, p->alt, p->new_track, p->valid),
                  std::tuple(90.0, -45.0, alt, new_track, true)) << layout;
        EXPECT_FALSE(decode_track_point(layout, std::span(record).first(record.size() - 1))) << layout;
    }
    EXPECT_FALSE(decode_track_point(304, point(23, 0x7FFFFFFF, 0x7FFFFFFF, 12, 0))->valid) << "no fix";
    EXPECT_FALSE(decode_track_point(310, bytes(40, 0))) << "a header is no point";
    EXPECT_EQ(route_name(decode_route_header(202, bytes{0}), 3), "route-3") << "an empty ident";
}

// Steps: "h" and a name a header, "n" a point starting a new track, "p" a
// point, "x" a point without a fix; tracks as "name points|".
TEST(track_record, points_gather_into_named_tracks)
{
    const std::pair<const char*, const char*> rows[] = {
        {"n p n p", "track-1 2|track-2 2|"},                  // points only: new-track flags split them
        {"p x p", "track-1 2|"},                              // no flag first; no fix left out
        {"hField n p n hLane p h p", "field 2|field-2 1|lane 1|track-1 1|"},  // pieces of a header's track
    };
    for (const auto& [steps, tracks] : rows) {
        track_gatherer g;
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            if (step[0] == 'h') g.header(step.substr(1));
            else g.point({{1, 2}, std::nullopt, step == "n", step != "x"});
        }
        std::string got;
        for (const walked_track& t : g.take()) got += t.name + " " + std::to_string(t.points.size()) + "|";
        EXPECT_EQ(got, tracks) << steps;
    }
}

constexpr std::int32_t m = 97;  // about a metre of latitude, in semicircles

// A D301 point; a new track starts at the origin.
bytes d301(std::int32_t lat, std::int32_t lon) { return point(21, lat, lon, 0, 0, lat == 0 && lon == 0 ? 20 : 0); }

// A field walked round (back within 20 metres), then a track of one point with a fix.
void track_log(link_fixture& f, int announced)
{
    f.ack(10), f.reply(27, {static_cast<std::uint8_t>(announced), 0});
    f.reply(99, {1, 0, 'F', 'I', 'E', 'L', 'D', 0});
    for (const auto& [lat, lon] : {std::pair{0, 0}, {0, 200 * m}, {200 * m, 200 * m}, {200 * m, 0}, {20 * m, 0}})
        f.reply(34, d301(lat, lon));
    f.reply(99, {1, 0, 0}), f.reply(34, d301(0, 0)), f.reply(34, d301(0x7FFFFFFF, 0x7FFFFFFF));
}

TEST(line_download, tracks_and_routes_and_what_stops_them)
{
    struct row {
        const char* name;
        bool tracks;  // the handset names a track protocol
        void (*script)(link_fixture&);
        std::string shapes, box;
        std::optional<std::pair<int, int>> track_records;  // received, announced
        int progress_max;
    };
    const row rows[] = {
        {"a field, a track too short and a route", true,
         [](link_fixture& f) {
             track_log(f, 9), f.reply(12, {6, 0});
             f.ack(10), f.reply(27, {4, 0}), f.reply(29, {'T', 'O', ' ', 'W', 'E', 'L', 'L', 0});
             f.reply(30, d108("GATE", 0, 0, 0)), f.reply(98, bytes(21, 0)), f.reply(30, d108("WELL", 9 * m, 0, 0));
             f.reply(12, {4, 0});
         },
         "field shape 5|to_well path 2|", "", std::pair{9, 9}, 12},
        {"the track log falls silent", true, [](link_fixture& f) { track_log(f, 12); }, "field shape 5|",
         "Track Download failed", std::pair{9, 12}, 11},
        // Cancel as the third record comes: the field so far stays, no box, no routes.
        {"cancelled in the track log", true,
         [](link_fixture& f) {
             track_log(f, 9);
             f.seen.on_step = [&f] { if (f.seen.steps == 3) f.link.cancel(); };
         },
         "field path 2|", "", std::pair{3, 9}, 8},
        {"no acknowledgement of the command", true, [](link_fixture&) {}, "", "Track Download failed", {}, -1},
        {"a handset without a track protocol", false, [](link_fixture&) {}, "", "Track Download failed", {}, -1},
        {"an empty track log, then routes that fall silent", true,
         [](link_fixture& f) {
             f.ack(10), f.reply(27, {0, 0}), f.reply(12, {6, 0});
             f.ack(10), f.reply(27, {3, 0}), f.reply(29, {'R', 0});
         },
         "", "Route Download failed", std::pair{0, 0}, 2},
    };
    for (const row& r : rows) {
        link_fixture f;
        f.ack(254), f.reply(255, {0x9B, 1, 0x0E, 1, 0});
        bytes array{'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', 108, 0, 'A', 201, 0, 'D', 202, 0, 'D', 108, 0, 'D', 210, 0};
        if (r.tracks) array.insert(array.end(), {'A', 45, 1, 'D', 54, 1, 'D', 45, 1});  // A301 D310 D301
        f.reply(253, array);
        f.link.init_gps();
        f.link.choice = {false, true, true};
        r.script(f);
        f.link.download_gps();
        std::string shapes;
        for (const auto& s : f.doc.shapes)
            shapes += s->name + (s->is_path() ? " path " : " shape ") + std::to_string(s->node_count()) + "|";
        EXPECT_EQ(shapes, r.shapes) << r.name;
        EXPECT_EQ(f.seen.boxes, r.box.empty() ? std::vector<std::string>{} : std::vector{r.box}) << r.name;
        const auto& got = f.link.last_lines().track_records;
        EXPECT_EQ(got ? std::optional(std::pair(got->received, got->announced)) : std::nullopt, r.track_records)
            << r.name;
        // The progress bar runs over the records of every transfer, and is put back once.
        EXPECT_EQ(std::pair(f.seen.range_max, f.seen.resets), std::pair(r.progress_max, 1)) << r.name;
    }
}

} // namespace
} // namespace wayloom::gps::testing
