// The link over Garmin USB: the packets, the port names, and the whole
// session against the handset simulator's USB unit in-process.
#include "gps/garmin_usb.h"
#include "gps/usb_packet.h"
#include "link_fixture.h"
#include "usb_simulator.h"

#include <gtest/gtest.h>

namespace wayloom::gps::testing {
namespace {

const std::vector<handset::waypoint> three{{"gate", 52.413, -4.052, 61.5f}, {"barn", 52.4142, -4.054, 63},
                                           {"post-7", -33.8568, 151.2153, 4}};

struct usb_link {
    usb_bench bench;
    map_document doc;
    recording_observer seen;
    gps_link link{doc, std::make_unique<garmin_usb>(std::make_unique<simulated_usb>(bench)), seen, test_log_name()};

    explicit usb_link(handset::options o = {})
    {
        bench.unit = std::make_unique<handset::usb_handset>(o, three);
        link.texts.port = "usb:";
        link.set_status_logging(true);
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& w : doc.waypoints) out.push_back(w->name);
        return out;
    }
};

TEST(usb_packet, header_and_data)
{
    const bytes wire{20, 0, 0, 0, 0x34, 0x12, 0, 0, 3, 0, 0, 0, 7, 8, 9};
    EXPECT_EQ(encode_usb_packet({usb_application_layer, 0x1234, {7, 8, 9}}), wire);
    bytes more = wire;
    more.push_back(99);
    const usb_packet_read whole = decode_usb_packet(more);
    ASSERT_EQ(whole.status, usb_packet_read::outcome::whole);
    EXPECT_EQ(whole.consumed, 15u);
    EXPECT_EQ(whole.p.id, 0x1234);
    EXPECT_EQ(whole.p.data, (bytes{7, 8, 9}));
    EXPECT_EQ(decode_usb_packet({wire.data(), 14}).status, usb_packet_read::outcome::need_more);
    const bytes huge{20, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0};
    EXPECT_EQ(decode_usb_packet(huge).status, usb_packet_read::outcome::broken);
}

TEST(usb_packet, port_names)
{
    const struct {
        const char* name;
        std::optional<std::size_t> index;
    } rows[] = {{"usb:", 0}, {"USB:2", 1}, {"usb:0", std::nullopt}, {"usb:x", std::nullopt},
                {"COM1", std::nullopt}, {"/dev/ttyUSB0", std::nullopt}};
    for (const auto& r : rows) EXPECT_EQ(usb_port_index(r.name), r.index) << r.name;
    EXPECT_EQ(usb_port_name(1), "usb:2");
}

TEST(usb, download_in_each_layout_family)
{
    for (const int layout : {100, 105, 108, 109, 150, 155}) {
        handset::options o;
        o.layout = layout;
        // Product data longer than one interrupt transaction.
        o.description = std::string(80, 'x');
        usb_link f(o);
        f.link.texts.transfer_speed = "115200";
        f.link.download_gps();
        EXPECT_TRUE(f.seen.boxes.empty()) << layout << ": " << (f.seen.boxes.empty() ? "" : f.seen.boxes[0]);
        ASSERT_EQ(f.doc.waypoint_count(), 3) << layout;
        EXPECT_EQ(f.names()[2], layout == 105 || layout == 155 ? "3" : "post-7") << layout;
        EXPECT_NEAR(static_cast<double>(f.doc.waypoints[2]->lon), 151.2153, 1e-6) << layout;
        EXPECT_FALSE(f.seen.logged("change speed")) << "USB has no line speed to switch";
    }
}

TEST(usb, upload_is_stored_by_the_handset)
{
    for (const auto& [layout, stored] : {std::pair{100, "WEIR"}, std::pair{108, "weir"}}) {
        handset::options o;
        o.layout = layout;
        usb_link f(o);
        for (const char* name : {"ford", "weir"}) f.doc.create_waypoint().name = name;
        f.link.upload_gps();
        EXPECT_TRUE(f.seen.boxes.empty()) << layout;
        ASSERT_TRUE(f.bench.unit->handset().upload_complete()) << layout;
        ASSERT_EQ(f.bench.unit->handset().uploaded().size(), 2u) << layout;
        EXPECT_EQ(f.bench.unit->handset().uploaded()[1].name, stored) << layout;
    }
}

TEST(usb, faults)
{
    struct row {
        const char* name;
        handset::options faults;
        int waypoints;
        std::vector<std::string> boxes;
        const char* logged;
        std::size_t devices = 1;
        const char* refusal = "";
    };
    const std::vector<std::string> failed{"Waypoint Download failed"};
    // The handset's packets: product data, protocol array, records, then one per waypoint.
    const row rows[] = {
        {"record 2 dropped", {.drop = 2}, 2, failed, "2 of 3 waypoints received"},
        {"record 2 spoilt", {.bad_checksum = 2}, 2, failed, "2 of 3 waypoints received"},
        {"silent after the protocol array", {.silent_after = 2}, 0, failed, "read : 0 : bytes"},
        {"product request ignored", {.nak = 1}, 0, {"Protocol unsupported", failed[0]}, "no product id"},
        {"unplugged during the transfer", {.hang_up_after = 5}, 1, failed, "read : error : "},
        {"no device", {}, 0, {"no Garmin USB device found", "Protocol unsupported", failed[0]},
         "no Garmin USB device found", 0},
        {"not allowed", {}, 0, {"cannot open usb:1: Access denied", "Protocol unsupported", failed[0]},
         "Access denied", 1, "cannot open usb:1: Access denied"},
    };
    for (const row& r : rows) {
        usb_link f(r.faults);
        f.bench.devices = r.devices;
        f.bench.refusal = r.refusal;
        f.link.download_gps();
        EXPECT_EQ(f.doc.waypoint_count(), r.waypoints) << r.name;
        EXPECT_EQ(f.seen.boxes, r.boxes) << r.name;
        EXPECT_TRUE(f.seen.logged(r.logged)) << r.name;
    }
}

TEST(usb, a_cancel_aborts_the_transfer)
{
    usb_link f;
    std::vector<std::string> noted;
    f.bench.unit->handset().set_trace([&](const std::string& line) { noted.push_back(line); });
    f.seen.on_step = [&] {
        if (f.seen.steps == 1) f.link.cancel();
    };
    f.link.download_gps();
    EXPECT_EQ(f.names(), (std::vector<std::string>{"gate"}));
    EXPECT_TRUE(f.seen.boxes.empty());
    EXPECT_TRUE(f.seen.logged("cancelled after 1 of 3"));
    EXPECT_EQ(noted, (std::vector<std::string>{"abort after 1 of 3 records sent"}));
}

} // namespace
} // namespace wayloom::gps::testing
