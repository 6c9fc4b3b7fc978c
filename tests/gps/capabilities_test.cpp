#include "gps/capabilities.h"
#include "gps/capability_table.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wayloom::gps {
namespace {

using bytes = std::vector<std::uint8_t>;
using lines = std::vector<std::string>;

bytes protocol_array(std::initializer_list<std::pair<char, int>> records)
{
    bytes out;
    for (const auto& [tag, number] : records) {
        out.push_back(static_cast<std::uint8_t>(tag));
        out.push_back(static_cast<std::uint8_t>(number & 0xFF));
        out.push_back(static_cast<std::uint8_t>(number >> 8));
    }
    return out;
}

TEST(capabilities, a_protocol_array_chooses_the_reader)
{
    const capabilities c = decode_protocol_array(protocol_array({{'P', 0}, {'L', 1}, {'A', 10}, {'A', 100}, {'D', 108}}));
    EXPECT_EQ(c.log, (lines{"physical layer 001", "link layer 001", "command layer 010", "waypoint 100",
                            "data structure : 108"}));
    EXPECT_TRUE(c.supported);
    EXPECT_EQ(c.protocols.protocol_flags & 1, 1);
    EXPECT_EQ(c.readers[app_waypoint], (record_reader{reader_kind::d108, 48, 108}));
    EXPECT_EQ(c.protocols.link_packet_ids[lp_records], 27);
    EXPECT_EQ(c.protocols.command_ids[cmd_transfer_waypoints], 7);
    EXPECT_EQ(c.protocols.version_bound, 0) << "decoded into a cleared record";
}

TEST(capabilities, array_decoding_rules)
{
    struct row {
        const char* name;
        bytes array;
        lines log;
        record_reader waypoint;
    };
    const row rows[] = {
        {"an unknown application number repeats the last one; ten bytes are three records",
         bytes{'A', 100, 0, 'A', 201, 0, 'D', 108, 0, 'D'}, {"waypoint 100", "waypoint 100", "data structure : 108"},
         {reader_kind::d108, 48, 108}},
        {"an unknown link protocol skips the next data type",
         protocol_array({{'L', 9}, {'D', 108}, {'A', 100}, {'D', 109}}),
         {"unknown link layer protocol : 9", "waypoint 100", "data structure : 109"}, {reader_kind::d109, 52, 109}},
        {"the last waypoint type wins; unknown types are logged",
         protocol_array({{'L', 2}, {'A', 11}, {'D', 105}, {'D', 999}, {'D', 150}}),
         {"link layer 002", "command layer 011", "data structure : 105", "data structure : 999",
          "unknown data structure", "data structure : 150"},
         {reader_kind::d100, 115, 150}},
        {"other tags are ignored", protocol_array({{'X', 1}, {'P', 1}}), {}, {}},
    };
    for (const row& r : rows) {
        const capabilities c = decode_protocol_array(r.array);
        EXPECT_EQ(c.log, r.log) << r.name;
        EXPECT_EQ(c.readers[app_waypoint], r.waypoint) << r.name;
    }
}

TEST(capabilities, without_a_protocol_array_the_table_decides)
{
    struct row {
        std::uint16_t product, version;
        record_reader waypoint;
    };
    const row rows[] = {
        {77, 320, {reader_kind::d100, 60, 103}},   // row 43: D103
        {77, 0, {reader_kind::d100, 58, 100}},     // row 41: D100
        {77, 400, {}},
        {29, 401, {reader_kind::d100, 64, 102}},   // row 12: D102
        {112, 100, {reader_kind::d100, 124, 152}}, // the last product of the table
        {71, 100, {reader_kind::d105, 127, 155}},  // D155: numbered records
        {3, 100, {}},
        {500, 100, {}},
        {0, 100, {}},
    };
    protocol_capabilities current;
    current.version_bound = 2147483646;
    for (const row& r : rows) {
        const capabilities c = from_capability_table(current, r.product, r.version);
        const bool known = r.waypoint.kind != reader_kind::empty;
        EXPECT_EQ(c.readers[app_waypoint], r.waypoint) << r.product << "/" << r.version;
        EXPECT_EQ(c.supported, known) << r.product << "/" << r.version;
        EXPECT_EQ(std::count(c.log.begin(), c.log.end(), "unknown gps handset"), known ? 0 : 1)
            << r.product << "/" << r.version;
        EXPECT_EQ(c.protocols.version_bound, 2147483646) << "the table's row is applied over the link's record";
    }
}

} // namespace
} // namespace wayloom::gps
