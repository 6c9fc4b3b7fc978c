#include "gps/capability_table.h"
#include "link_fixture.h"

#include <gtest/gtest.h>

namespace wayloom::gps::testing {
namespace {

using bytes = std::vector<std::uint8_t>;

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

void script_start(link_fixture& f, std::uint16_t product, std::uint16_t version)
{
    f.ack(254);
    f.reply(255, {static_cast<std::uint8_t>(product), static_cast<std::uint8_t>(product >> 8),
                  static_cast<std::uint8_t>(version), static_cast<std::uint8_t>(version >> 8), 'e', 'T', 0});
}

TEST(StartUp, AProtocolArrayChoosesTheReader)
{
    link_fixture f;
    script_start(f, 411, 270);
    f.reply(253, protocol_array({{'P', 0}, {'L', 1}, {'A', 10}, {'A', 100}, {'D', 108}}));
    f.link.init_gps();
    for (const char* line : {"physical layer 001", "link layer 001", "command layer 010", "waypoint 100",
                             "data structure : 108", "product id is : 411"})
        EXPECT_TRUE(f.seen.logged(line)) << line;
    EXPECT_TRUE(f.link.protocol_supported);
    EXPECT_EQ(f.link.capabilities.protocol_flags & 1, 1);
    EXPECT_EQ(f.link.readers[app_waypoint].kind, reader_kind::d108);
    EXPECT_EQ(f.link.readers[app_waypoint].size, 48);
    EXPECT_EQ(f.link.capabilities.link_packet_ids[lp_records], 27);
    EXPECT_EQ(f.link.capabilities.command_ids[cmd_transfer_waypoints], 7);
    EXPECT_TRUE(f.seen.boxes.empty());
    // The product data is acknowledged, the protocol array is not.
    const bytes ack_of_255{16, 6, 2, 255, 0, 249, 16, 3};
    EXPECT_NE(std::search(f.line.written.begin(), f.line.written.end(), ack_of_255.begin(), ack_of_255.end()),
              f.line.written.end());
}

TEST(StartUp, AnUnknownApplicationNumberRepeatsTheLastOne)
{
    link_fixture f;
    script_start(f, 411, 270);
    f.reply(253, bytes{'A', 100, 0, 'A', 201, 0, 'D'});  // ten bytes: the last is ignored
    f.link.init_gps();
    int waypoint_lines = 0;
    for (const auto& l : f.seen.lines) waypoint_lines += l.find("waypoint 100") != std::string::npos;
    EXPECT_EQ(waypoint_lines, 2);
}

TEST(StartUp, WithoutAProtocolArrayTheTableDecides)
{
    struct row {
        std::uint16_t product, version;
        reader_kind kind;
        int size;
        bool known;
    };
    const row rows[] = {
        {77, 320, reader_kind::d100, 60, true},  // row 43: D103
        {77, 0, reader_kind::d100, 58, true},    // row 41: D100
        {77, 400, reader_kind::empty, 0, false},
        {29, 401, reader_kind::d100, 64, true},  // row 12: D102
        {112, 100, reader_kind::d100, 124, true},  // the last product of the table
        {3, 100, reader_kind::empty, 0, false},
        {500, 100, reader_kind::empty, 0, false},
    };
    for (const row& r : rows) {
        link_fixture f;
        script_start(f, r.product, r.version);
        f.link.init_gps();
        EXPECT_EQ(f.link.readers[app_waypoint].kind, r.kind) << r.product << "/" << r.version;
        EXPECT_EQ(f.link.readers[app_waypoint].size, r.size) << r.product << "/" << r.version;
        EXPECT_EQ(f.seen.logged("unknown gps handset"), !r.known) << r.product << "/" << r.version;
        if (!r.known) {
            EXPECT_EQ(f.seen.boxes, (std::vector<std::string>{"Protocol unsupported"}));
        }
    }
}

TEST(StartUp, TheTableHoldsItsRowsInOrder)
{
    const auto& table = capability_table();
    ASSERT_EQ(table.size(), 54u);
    const auto& index = capability_index();
    EXPECT_EQ(index[77], 41);
    EXPECT_EQ(index[29], 11);
    EXPECT_EQ(index[36], 17);
    EXPECT_EQ(index[112], 54);
    EXPECT_EQ(index[3], 0);
    EXPECT_EQ(table[42].version_bound, 350);
    EXPECT_TRUE(has(table[42].waypoint, protocol::D103));
    EXPECT_TRUE(has(table[5].link, protocol::L002));
    EXPECT_TRUE(has(table[5].command_and_applications, protocol::A011));
}

TEST(StartUp, FailuresAreReportedAsTheyHappen)
{
    link_fixture no_port;
    no_port.line.refuse_open = true;
    no_port.link.init_gps();
    EXPECT_EQ(no_port.seen.boxes,
              (std::vector<std::string>{"Cant initialise the communications port", "Protocol unsupported"}));

    link_fixture silent;
    silent.link.init_gps();
    EXPECT_TRUE(silent.seen.logged("no ack"));
    EXPECT_TRUE(silent.seen.logged("no response from product request"));

    link_fixture no_product;
    no_product.ack(254);
    no_product.link.init_gps();
    EXPECT_TRUE(no_product.seen.logged("no product id"));

    link_fixture garbled;
    script_start(garbled, 411, 270);
    bytes bad = frame(253, protocol_array({{'L', 1}}));
    bad[bad.size() - 3] ^= 1;
    garbled.line.replies.push_back(bad);
    garbled.link.init_gps();
    EXPECT_TRUE(garbled.seen.logged("no protocol data"));

    link_fixture disabled;
    disabled.link.gps_enabled = false;
    disabled.link.init_gps();
    EXPECT_TRUE(disabled.seen.lines.empty());
    EXPECT_TRUE(disabled.seen.boxes.empty());
}

TEST(StartUp, AnUnknownLinkProtocolSkipsTheNextDataType)
{
    link_fixture f;
    script_start(f, 411, 270);
    f.reply(253, protocol_array({{'L', 9}, {'D', 108}, {'A', 100}, {'D', 109}}));
    f.link.init_gps();
    EXPECT_TRUE(f.seen.logged("unknown link layer protocol : 9"));
    EXPECT_FALSE(f.seen.logged("data structure : 108"));
    EXPECT_EQ(f.link.readers[app_waypoint].kind, reader_kind::d109);
}

} // namespace
} // namespace wayloom::gps::testing
