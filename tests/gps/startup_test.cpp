// Handset start-up through the session: what reaches the log, the boxes and
// the wire. The decoding itself is checked in capabilities_test.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

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

TEST(start_up, failures_are_reported_as_they_happen)
{
    struct row {
        const char* name;
        std::function<void(link_fixture&)> arrange;
        std::vector<std::string> boxes, logged;
        const char* absent = nullptr;  // a line never logged; "": no line at all
    };
    const row rows[] = {
        {"a handset the table does not know", [](link_fixture& f) { f.product(77, 400); },
         {"Protocol unsupported"}, {"unknown gps handset"}},
        {"no port", [](link_fixture& f) { f.line.refuse_open = true; },
         {"Cant initialise the communications port", "Protocol unsupported"}, {}},
        {"silence", [](link_fixture&) {}, {"Protocol unsupported"}, {"no ack", "no response from product request"}},
        {"no product", [](link_fixture& f) { f.ack(254); }, {"Protocol unsupported"}, {"no product id"}},
        {"garbled protocol array", [](link_fixture& f) {
             f.product(411, 270);
             bytes& bad = f.line.replies.emplace_back(frame(253, {'L', 1, 0}));
             bad[bad.size() - 3] ^= 1;  // a spoilt checksum
         }, {"Protocol unsupported"}, {"no protocol data"}, "unknown gps handset"},
        {"gps disabled", [](link_fixture& f) { f.link.set_gps_enabled(false); }, {}, {}, ""},
    };
    for (const row& r : rows) {
        link_fixture f;
        r.arrange(f);
        f.link.init_gps();
        EXPECT_EQ(f.seen.boxes, r.boxes) << r.name;
        for (const std::string& line : r.logged) EXPECT_TRUE(f.seen.logged(line)) << r.name << ": " << line;
        EXPECT_FALSE(r.absent && f.seen.logged(r.absent)) << r.name;
    }
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
