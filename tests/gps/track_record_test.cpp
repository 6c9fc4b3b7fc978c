#include "gps/track_record.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <cstring>

namespace wayloom::gps {
namespace {

using bytes = std::vector<std::uint8_t>;
using testing::put32;

bytes point(std::size_t size, std::int32_t lat, std::int32_t lon, std::size_t alt_at, float alt,
            std::size_t flag_at = 0)
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
    struct row {
        int layout;
        bytes record;
        std::optional<float> alt;
        bool new_track, valid;
    };
    const row rows[] = {
        {300, point(13, 1073741824, -536870912, 0, 0, 12), std::nullopt, true, true},
        {301, point(21, 1073741824, -536870912, 12, 61.5f, 20), 61.5f, true, true},
        {302, point(25, 1073741824, -536870912, 12, 61.5f), 61.5f, false, true},
        {303, point(17, 1073741824, -536870912, 12, 1.0e25f), std::nullopt, false, true},
        {304, point(23, 1073741824, -536870912, 12, -3.25f), -3.25f, false, true},
        {304, point(23, 0x7FFFFFFF, 0x7FFFFFFF, 12, 0), 0.0f, false, false},
    };
    for (const row& r : rows) {
        const auto p = decode_track_point(r.layout, r.record);
        ASSERT_TRUE(p) << r.layout;
        if (r.valid) {
            EXPECT_EQ(p->at.lat, 90) << r.layout;
            EXPECT_EQ(p->at.lon, -45) << r.layout;
        }
        EXPECT_EQ(p->alt, r.alt) << r.layout;
        EXPECT_EQ(p->new_track, r.new_track) << r.layout;
        EXPECT_EQ(p->valid, r.valid) << r.layout;
        EXPECT_FALSE(decode_track_point(r.layout, std::span(r.record).first(r.record.size() - 1))) << r.layout;
    }
    EXPECT_FALSE(decode_track_point(310, bytes(40, 0)));
}

TEST(track_record, headers_give_names)
{
    const bytes d310{1, 255, 'F', 'I', 'E', 'L', 'D', ' ', 'W', 'A', 'L', 'K', 0};
    EXPECT_EQ(decode_track_header(310, d310), "FIELD WALK");
    EXPECT_EQ(decode_track_header(312, d310), "FIELD WALK");
    EXPECT_EQ(decode_track_header(311, bytes{3, 0}), "");
    EXPECT_EQ(route_name(decode_route_header(202, bytes{'T', 'O', ' ', 'B', 'A', 'R', 'N', 0}), 1), "to_barn");
    EXPECT_EQ(route_name(decode_route_header(200, bytes{4}), 1), "route-4");
    bytes d201(21, ' ');
    d201[0] = 7;
    EXPECT_EQ(route_name(decode_route_header(201, d201), 1), "route-7");
    EXPECT_EQ(route_name(decode_route_header(202, bytes{0}), 3), "route-3");
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
        {"points only, new-track flags split them",
         {{nullptr, true}, {nullptr}, {nullptr, true}, {nullptr}, {nullptr}},
         {{"track-1", 2}, {"track-2", 3}}},
        {"the first point starts a track without a flag", {{nullptr}, {nullptr}}, {{"track-1", 2}}},
        {"headers name tracks; a flag inside one makes a piece",
         {{"Field"}, {nullptr, true}, {nullptr}, {nullptr, true}, {"Lane"}, {nullptr}, {""}, {nullptr}},
         {{"field", 2}, {"field-2", 1}, {"lane", 1}, {"track-1", 1}}},
        {"points without a fix are left out",
         {{nullptr}, {nullptr, false, false}, {nullptr}}, {{"track-1", 2}}},
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
