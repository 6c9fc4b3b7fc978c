// Handset start-up through the session: what reaches the log, the boxes and
// the wire. The decoding itself is checked in capabilities_test.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wayloom::gps::testing {
namespace {

TEST(start_up, a_protocol_array_chooses_the_reader)
{
    link_fixture f;
    f.product(411, 270);
    f.reply(253, {'P', 0, 0, 'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', 108, 0});
    f.link.init_gps();
    for (const char* line : {"product id is : 411", "physical layer 001", "link layer 001", "command layer 010",
                             "waypoint 100", "data structure : 108"})
        EXPECT_TRUE(f.seen.logged(line)) << line;
    EXPECT_TRUE(f.link.protocol_supported());
    EXPECT_EQ(f.link.product_id(), 411);
    EXPECT_EQ(f.link.waypoint_reader(), (record_reader{reader_kind::d108, 48, 108}));
    EXPECT_TRUE(f.seen.boxes.empty());
    // The product request goes out first; the product data is acknowledged,
    // the protocol array is not.
    const bytes request{16, 254, 0, 2, 16, 3};
    EXPECT_TRUE(std::equal(request.begin(), request.end(), f.line.written.begin()));
    const bytes ack_of_255{16, 6, 2, 255, 0, 249, 16, 3};
    EXPECT_NE(std::search(f.line.written.begin(), f.line.written.end(), ack_of_255.begin(), ack_of_255.end()),
              f.line.written.end());
    EXPECT_EQ(f.line.written.size(), request.size() + ack_of_255.size());
}

TEST(start_up, a_handset_the_table_does_not_know_is_unsupported)
{
    link_fixture unknown;
    unknown.product(77, 400);
    unknown.link.init_gps();
    EXPECT_TRUE(unknown.seen.logged("unknown gps handset"));
    EXPECT_EQ(unknown.seen.boxes, (std::vector<std::string>{"Protocol unsupported"}));
}

TEST(start_up, failures_are_reported_as_they_happen)
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
    garbled.product(411, 270);
    bytes bad = frame(253, {'L', 1, 0});
    bad[bad.size() - 3] ^= 1;
    garbled.line.replies.push_back(bad);
    garbled.link.init_gps();
    EXPECT_TRUE(garbled.seen.logged("no protocol data"));
    EXPECT_FALSE(garbled.seen.logged("unknown gps handset"));

    link_fixture disabled;
    disabled.link.set_gps_enabled(false);
    disabled.link.init_gps();
    EXPECT_TRUE(disabled.seen.lines.empty());
    EXPECT_TRUE(disabled.seen.boxes.empty());
}

TEST(start_up, a_start_up_after_a_read_error_opens_the_port_again)
{
    link_fixture f;
    f.line.read_error_at = 0;
    f.link.init_gps();
    EXPECT_TRUE(f.seen.logged("read : error : 5"));
    EXPECT_FALSE(f.link.port_opened());

    f.product(77, 320);
    f.link.init_gps();
    EXPECT_EQ(f.link.product_id(), 77);
    EXPECT_TRUE(f.link.port_opened());
}

} // namespace
} // namespace wayloom::gps::testing
