// Track points in each layout, and tracks gathered from a transfer's
// records. Headers and routes are read end to end in simulator_test.
#include "gps/track_record.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(track_record, points_gather_into_named_tracks)
{
    struct step {
        const char* header;  // null: a point
        bool new_track = false, valid = true;
    };
    struct row {
        const char* name;
        std::vector<step> steps;
        std::vector<std::pair<std::string, std::size_t>> tracks;  // name, points
    };
    const row rows[] = {
        {"points only, new-track flags split them", {{nullptr, true}, {nullptr}, {nullptr, true}, {nullptr}},
         {{"track-1", 2}, {"track-2", 2}}},
        {"the first point starts a track without a flag", {{nullptr}, {nullptr}}, {{"track-1", 2}}},
        {"headers name tracks; a flag inside one makes a piece",
         {{"Field"}, {nullptr, true}, {nullptr}, {nullptr, true}, {"Lane"}, {nullptr}, {""}, {nullptr}},
         {{"field", 2}, {"field-2", 1}, {"lane", 1}, {"track-1", 1}}},
        {"points without a fix are left out", {{nullptr}, {nullptr, false, false}, {nullptr}}, {{"track-1", 2}}},
    };
    for (const row& r : rows) {
        track_gatherer g;
        for (const step& s : r.steps) {
            if (s.header) g.header(s.header);
            else g.point({{1, 2}, std::nullopt, s.new_track, s.valid});
        }
        std::vector<std::pair<std::string, std::size_t>> got;
        for (const walked_track& t : g.take()) got.emplace_back(t.name, t.points.size());
        EXPECT_EQ(got, r.tracks) << r.name;
    }
}

} // namespace
} // namespace wayloom::gps
