// Track points in each layout, and tracks gathered from a transfer's
// records. Headers and routes are read end to end in simulator_test.
#include "gps/track_record.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace wayloom::gps {
namespace {

using bytes = std::vector<std::uint8_t>;

bytes point(std::size_t size, std::int32_t semicircles, std::size_t alt_at, float alt, std::size_t flag_at = 0)
{
    bytes r(size, 0);
    testing::put32(r, 0, semicircles);
    testing::put32(r, 4, semicircles == 0x7FFFFFFF ? semicircles : -semicircles / 2);
    if (alt_at) std::memcpy(r.data() + alt_at, &alt, 4);
    if (flag_at) r[flag_at] = 1;
    return r;
}

TEST(track_record, each_point_layout_where_handsets_put_it)
{
    const std::tuple<int, bytes, std::optional<float>, bool> rows[] = {
        {300, point(13, 1073741824, 0, 0, 12), std::nullopt, true},
        {301, point(21, 1073741824, 12, 61.5f, 20), 61.5f, true},
        {302, point(25, 1073741824, 12, 61.5f), 61.5f, false},
        {303, point(17, 1073741824, 12, 1.0e25f), std::nullopt, false},  // not valid
        {304, point(23, 1073741824, 12, -3.25f), -3.25f, false},
    };
    for (const auto& [layout, record, alt, new_track] : rows) {
        const auto p = decode_track_point(layout, record);
        ASSERT_TRUE(p) << layout;
        EXPECT_EQ(std::tuple(p->at.lat, p->at.lon, p->alt, p->new_track, p->valid),
                  std::tuple(90.0, -45.0, alt, new_track, true)) << layout;
        EXPECT_FALSE(decode_track_point(layout, std::span(record).first(record.size() - 1))) << layout;
    }
    EXPECT_FALSE(decode_track_point(304, point(23, 0x7FFFFFFF, 12, 0))->valid) << "no fix";
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

} // namespace
} // namespace wayloom::gps
