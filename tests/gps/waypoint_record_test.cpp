#include "gps/handset_idents.h"
#include "gps/waypoint_record.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <optional>

namespace wayloom::gps {
namespace {

using bytes = std::vector<std::uint8_t>;
using testing::d108;
using testing::put32;

record_reader reader_of(int data_type) { return reader_for(data_type)->reader; }

TEST(waypoint_record, d108_positions_in_degrees_and_the_altitude)
{
    const waypoint_fields w = decode_waypoint(reader_of(108), d108("GATE", 1073741824, -536870912, 61.5f), 1);
    EXPECT_EQ(w.name, "GATE");
    EXPECT_EQ(w.lat, 90);
    EXPECT_EQ(w.lon, -45);
    EXPECT_EQ(w.alt, 61.5f);
    EXPECT_TRUE(w.complete);
    EXPECT_EQ(semicircles_to_degrees(1), 180.0L / 2147483648.0L);
}

// Handsets send 1e25 for "not valid"; a NaN or infinite one is none too.
TEST(waypoint_record, an_altitude_that_is_no_number_is_no_altitude)
{
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, std::optional<float>> rows[] = {
        {std::numeric_limits<float>::quiet_NaN(), std::nullopt}, {inf, std::nullopt}, {-inf, std::nullopt},
        {1.0e25f, std::nullopt}, {2.0e24f, std::nullopt}, {-3.0e24f, std::nullopt}, {9.0e23f, 9.0e23f},
        {-415.5f, -415.5f},
    };
    for (const auto& [sent, read] : rows)
        EXPECT_EQ(decode_waypoint(reader_of(108), d108("HIGH", 0, 0, sent), 1).alt, read) << sent;
}

TEST(waypoint_record, each_layout_family_names_its_waypoints)
{
    struct row {
        int layout;
        std::size_t lat_at;
        const char* name;
    };
    const row rows[] = {
        {100, 6, "AB  CD"}, {101, 6, "AB  CD"}, {103, 6, "AB  CD"}, {150, 9, "AB  CD"}, {154, 6, "AB  CD"},
        {105, 0, "3"},      {106, 14, "3"},     {155, 6, "3"},
    };
    for (const row& r : rows) {
        const record_reader reader = reader_of(r.layout);
        bytes rec(static_cast<std::size_t>(reader.size), 0);
        std::memcpy(rec.data(), "AB  CD", 6);
        put32(rec, r.lat_at, 1073741824);
        put32(rec, r.lat_at + 4, 536870912);
        const waypoint_fields w = decode_waypoint(reader, rec, 3);
        EXPECT_EQ(w.name, r.name) << r.layout;
        EXPECT_EQ(w.lat, 90) << r.layout;
        EXPECT_EQ(w.lon, 45) << r.layout;
        EXPECT_FALSE(w.alt) << r.layout;
    }
}

TEST(waypoint_record, only_the_bytes_received_are_read)
{
    struct row {
        const char* name;
        int layout;
        bytes record;
        std::string ident;
        bool complete;
    };
    bytes long_ident(48, 0);
    long_ident.insert(long_ident.end(), 80, 'X');  // no NUL at all
    bytes cut = d108("CUT", 0, 0, 0);
    cut.resize(cut.size() - 2);
    const row rows[] = {
        {"at most 64 characters, none past the record", 108, long_ident, std::string(64, 'X'), false},
        {"cut-off strings", 108, cut, "CUT", false},
        {"no strings at all", 109, bytes(52, 0), "", false},
        {"D109 ident after 52 bytes", 109, [] { bytes b(52, 0); b.push_back('Q'); b.push_back(0); b.push_back(0); return b; }(), "Q", true},
        {"a D100 record of 3 bytes", 100, {'A', 'B', 'C'}, "ABC", true},
        {"nothing", 108, {}, "", false},
    };
    for (const row& r : rows) {
        const waypoint_fields w = decode_waypoint(reader_of(r.layout), r.record, 1);
        EXPECT_EQ(w.name, r.ident) << r.name;
        EXPECT_EQ(w.complete, r.complete) << r.name;
        if (r.record.size() < 32) {
            EXPECT_EQ(w.lat, 0) << r.name;
        }
    }
}

TEST(waypoint_record, encoded_records_read_back_within_their_layouts_precision)
{
    const waypoint_fields sent{"Farm-yard gate", 52.4130123456L, -4.0520987654L, 61.5f};
    const long double one_semicircle = 180.0L / 2147483648.0L;
    for (const int layout : {100, 101, 102, 103, 104, 107, 150, 151, 152, 154, 155, 105, 106, 108, 109}) {
        const record_reader reader = reader_of(layout);
        const bytes record = encode_waypoint(reader, sent);
        ASSERT_GE(record.size(), static_cast<std::size_t>(reader.size)) << layout;
        const waypoint_fields got = decode_waypoint(reader, record, 7);
        EXPECT_NEAR(static_cast<double>(got.lat), static_cast<double>(sent.lat), static_cast<double>(one_semicircle)) << layout;
        EXPECT_NEAR(static_cast<double>(got.lon), static_cast<double>(sent.lon), static_cast<double>(one_semicircle)) << layout;
        EXPECT_TRUE(got.complete) << layout;
        const char* name = reader.kind == reader_kind::d100 ? "FARM-Y" : reader.kind == reader_kind::d105 ? "7" : "Farm-yard gate";
        EXPECT_EQ(got.name, name) << layout;
        if (layout == 108 || layout == 109) {
            EXPECT_EQ(got.alt, 61.5f) << layout;
        }
    }
}

// Names as a handset can show them, one character each; and one waypoint
// per ident: a cut already taken in the upload ends in the smallest number
// no other waypoint holds.
TEST(waypoint_record, an_upload_sends_idents_a_handset_shows_never_two_alike)
{
    using names = std::vector<std::string>;
    struct row {
        const char* name;
        int layout;
        names sent, idents;
    };
    const names posts{"post-01", "post-02", "post-03", "post-04", "post-05", "post-06",
                      "post-07", "post-08", "post-09", "post-10", "post-11", "post-1"};
    const row rows[] = {
        {"cuts alike", 100, {"orchard-nw", "orchard-ne", "Orchard", "orcha1"},
         {"ORCHAR", "ORCHA2", "ORCHA3", "ORCHA1"}},
        {"a number past nine", 103, posts,
         {"POST-0", "POST-2", "POST-3", "POST-4", "POST-5", "POST-6", "POST-7", "POST-8", "POST-9", "POST-1",
          "POST10", "POST11"}},
        {"short names pad again", 155, {"ab", "AB", ""}, {"AB    ", "AB1   ", "      "}},
        {"what a fixed ident cannot show", 100, {"north_gate", "Starom\xC4\x9Bstsk\xC3\xA9"}, {"NORTH ", "STAROM"}},
        {"what a string cannot show", 108, {"Weir\tpool\xE9", "Starom\xC4\x9Bstsk\xC3\xA9 \xE2\x82\xAC"},
         {"Weir poole", "Staromestske  "}},
        {"numbered layouts send names", 106, {"Ford"}, {"Ford"}},
        {"long string idents", 108, {std::string(60, 'x'), std::string(55, 'x')},
         {std::string(51, 'x'), std::string(50, 'x') + "1"}},
        {"strings differ in case", 109, {"Gate", "gate"}, {"Gate", "gate"}},
    };
    for (const row& r : rows) EXPECT_EQ(unique_idents(reader_of(r.layout), r.sent), r.idents) << r.name;
    EXPECT_TRUE(encode_waypoint({}, {"x", 0, 0, {}}).empty());
    EXPECT_EQ(degrees_to_semicircles(180), 2147483647);
    EXPECT_EQ(degrees_to_semicircles(-180), -2147483647 - 1);
}

// What the map has no value for goes out as handsets read "none".
TEST(waypoint_record, uploaded_defaults_are_what_handsets_read_as_none)
{
    struct row {
        int layout;
        std::size_t symbol_at, colour_at;  // 0: the layout has none
        int symbol, colour;
    };
    const row rows[] = {
        {101, 62, 0, 18, 0}, {102, 62, 0, 18, 0}, {103, 58, 0, 0, 0},   {104, 62, 0, 18, 0},
        {105, 8, 0, 18, 0},  {106, 22, 0, 18, 0}, {107, 58, 64, 0, 0},  {154, 124, 0, 18, 0},
        {155, 124, 0, 18, 0}, {108, 4, 1, 18, 0xFF}, {109, 4, 2, 18, 0x1F},
    };
    for (const row& r : rows) {
        const bytes record = encode_waypoint(reader_of(r.layout), {"x", 0, 0, {}});
        const int high = r.symbol_at + 1 < record.size() ? record[r.symbol_at + 1] : 0;  // D101: one byte
        EXPECT_EQ(record[r.symbol_at] | high << 8, r.symbol) << r.layout;
        if (r.colour_at) {
            EXPECT_EQ(record[r.colour_at], r.colour) << r.layout;
        }
        if (r.layout >= 108) {
            EXPECT_EQ(decode_waypoint(reader_of(r.layout), record, 1).alt, std::nullopt) << "not valid";
        }
    }
}

} // namespace
} // namespace wayloom::gps
