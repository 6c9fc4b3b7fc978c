#include "link_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wayloom::gps::testing {
namespace {

using bytes = std::vector<std::uint8_t>;

TEST(Packets, FramesGoOutWithChecksumAndStuffing)
{
    struct row {
        const char* name;
        std::uint8_t id;
        bytes data;
        bytes wire;
    };
    const row rows[] = {
        {"product request", 254, {}, {16, 254, 0, 2, 16, 3}},
        {"ack of 255", 6, {255, 0}, {16, 6, 2, 255, 0, 249, 16, 3}},
        {"data byte 16 doubled", 35, {16, 1}, {16, 35, 2, 16, 16, 1, 202, 16, 3}},
        {"checksum 16 doubled", 10, {228, 0}, {16, 10, 2, 228, 0, 16, 16, 16, 3}},
    };
    for (const row& r : rows) {
        link_fixture f;
        f.ready();
        EXPECT_TRUE(f.link.send_packet(r.data.data(), static_cast<int>(r.data.size()), r.id)) << r.name;
        EXPECT_EQ(f.line.written, r.wire) << r.name;
    }
}

TEST(Packets, AStuffedFrameIsReadBackWhole)
{
    link_fixture f;
    f.ready();
    f.reply(35, {16, 7, 16, 16});
    std::uint8_t data[261];
    int size = 0;
    EXPECT_EQ(f.link.read_packet(data, size, false), 35);
    ASSERT_EQ(size, 4);
    EXPECT_EQ(bytes(data, data + 4), (bytes{16, 7, 16, 16}));
    EXPECT_EQ(f.link.buffered_count, 0) << "the positions moved past both bytes of each doubled DLE";
}

TEST(Packets, RefusedFrames)
{
    struct row {
        const char* name;
        bytes wire;
        const char* logged;
    };
    bytes size_250{16, 35, 250};
    size_250.resize(3 + 250 + 3, 1);
    bytes bad_sum = frame(35, {1, 2, 3});
    bad_sum[bad_sum.size() - 3] ^= 0x55;
    const row rows[] = {
        {"size 250", size_250, "fail : unrecognised packet format"},
        {"no leading DLE", {7, 35, 0, 221, 16, 3}, "fail : unrecognised packet format"},
        {"checksum mismatch", bad_sum, nullptr},
    };
    for (const row& r : rows) {
        link_fixture f;
        f.ready();
        f.line.replies.push_back(r.wire);
        std::uint8_t data[261];
        int size = 7;
        EXPECT_EQ(f.link.read_packet(data, size, false), 0) << r.name;
        EXPECT_EQ(size, 0) << r.name;
        if (r.logged) {
            EXPECT_TRUE(f.seen.logged(r.logged)) << r.name;
        }
    }
}

TEST(Packets, AFrameCutShortIsRefusedWithoutReadingPastTheBytesReceived)
{
    link_fixture f;
    f.ready();
    bytes cut = frame(35, {1, 2, 3, 4, 5, 6, 7, 8});
    cut.resize(7);
    f.line.replies.push_back(cut);
    std::uint8_t data[261];
    int size = 0;
    EXPECT_EQ(f.link.read_packet(data, size, false), 0);
}

TEST(Packets, AcknowledgementsAreCheckedAndSentOncePerBatch)
{
    link_fixture f;
    f.ready();
    f.ack(254);
    EXPECT_TRUE(f.link.get_ack(254));
    EXPECT_TRUE(f.seen.logged("ack received"));

    f.ack(254);
    EXPECT_FALSE(f.link.get_ack(10));
    EXPECT_TRUE(f.seen.logged("ack id mismatch : 254<>10"));

    f.reply(35, {1});
    EXPECT_FALSE(f.link.get_ack(10));
    EXPECT_TRUE(f.seen.logged("no ack"));

    f.line.written.clear();
    f.link.send_ack(35);
    EXPECT_EQ(f.line.written, (bytes{16, 6, 2, 35, 0, 213, 16, 3}));
    f.line.written.clear();
    f.link.send_ack(35);
    EXPECT_TRUE(f.line.written.empty()) << "nothing arrived since the last ACK";
}

TEST(Packets, WithTheGpsDisabledNothingIsSentOrRead)
{
    link_fixture f;
    f.link.gps_enabled = false;
    EXPECT_TRUE(f.link.set_up_comms());
    EXPECT_FALSE(f.line.opened);
    EXPECT_TRUE(f.link.send_packet(nullptr, 0, 254));
    EXPECT_TRUE(f.line.written.empty());
    std::uint8_t raw[261];
    int count = 5;
    f.seen.lines.clear();
    f.link.read(raw, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(f.seen.lines, (std::vector<std::string>{"read", "<<"}));
}

TEST(Packets, PortNotOpened)
{
    link_fixture f;
    EXPECT_FALSE(f.link.write(nullptr, 0));
    EXPECT_TRUE(f.seen.logged("fail : port not opened"));
}

TEST(Log, IndentsOpenBlocksAndNeverGoesBelowNothing)
{
    link_fixture f;
    f.link.update_status_log(">>open");
    f.link.update_status_log("connecting");
    f.link.update_status_log("<<anything");
    f.link.update_status_log("<<");
    f.link.update_status_log("left");
    EXPECT_EQ(f.seen.lines, (std::vector<std::string>{"open", "  connecting", "<<", "<<", "left"}));

    link_fixture quiet;
    quiet.link.status_logging = false;
    quiet.link.disk_logging = true;
    quiet.link.update_status_log("hidden");
    EXPECT_TRUE(quiet.seen.lines.empty());
}

TEST(Log, TheFileGetsTimeStampedLinesAndAnUnwritableFileDoesNotRecurse)
{
    link_fixture f;
    f.link.disk_logging = true;
    f.link.update_status_log("read : 12 : bytes");
    std::ifstream in(f.log);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_NE(first.find(" : session started"), std::string::npos);
    ASSERT_GE(second.size(), 15u);
    EXPECT_EQ(second.substr(2, 1), ":");
    EXPECT_EQ(second.substr(8, 1), ".");
    EXPECT_EQ(second.substr(12), " : read : 12 : bytes");

    f.link.log_file_name = "/no/such/folder/rave-viz.log";
    f.seen.lines.clear();
    f.link.update_status_log("line");
    EXPECT_EQ(f.seen.lines, (std::vector<std::string>{"line", "cant open log : /no/such/folder/rave-viz.log"}));
}

TEST(Port, OpeningLogsItsStepsAndTheirFailures)
{
    link_fixture f;
    EXPECT_TRUE(f.link.open());
    EXPECT_EQ(f.seen.lines, (std::vector<std::string>{
                                "open", "  connecting to serial port : COM1 baud=9600 parity=N data=8 stop=1 : 100 10",
                                "  COM1 : opened", "<<"}));

    struct row {
        const char* name;
        void (*set)(link_fixture&);
        const char* message;
    };
    const row rows[] = {
        {"bad speed text", [](link_fixture& x) { x.link.texts.speed = "fast"; }, "buildcommdcb failed"},
        {"refused setting", [](link_fixture& x) { x.line.refuse_settings = true; }, "setcomstate failed"},
        {"parity Q", [](link_fixture& x) { x.link.texts.parity = "Q"; }, "buildcommdcb failed"},
    };
    for (const row& r : rows) {
        link_fixture g;
        r.set(g);
        EXPECT_FALSE(g.link.open()) << r.name;
        EXPECT_TRUE(g.seen.logged(r.message)) << r.name;
        EXPECT_TRUE(g.link.port_opened) << "the port stays open";
    }
    link_fixture empty;
    empty.link.texts.parity = "";
    EXPECT_FALSE(empty.link.open());
    EXPECT_EQ(empty.seen.lines, (std::vector<std::string>{"open", "<<"}));

    link_fixture odd;
    odd.link.texts.timeout = "soon";
    odd.link.texts.interval = "x";
    odd.link.open();
    EXPECT_EQ(odd.link.timeout_ms, 1000);
    EXPECT_EQ(odd.link.interval_ms, 100);
}

TEST(Port, AReadErrorClosesThePortAndStartUpWorksAgain)
{
    link_fixture f;
    f.ready();
    f.line.read_error_at = f.line.reads;
    std::uint8_t data[261];
    int size = 0;
    EXPECT_EQ(f.link.read_packet(data, size, false), 0);
    EXPECT_TRUE(f.seen.logged("read : error : 5"));
    EXPECT_FALSE(f.link.port_opened);
    EXPECT_EQ(f.link.write_pos, 1);

    f.ack(254);
    f.reply(255, {77, 0, 0x40, 1, 'x', 0});
    f.link.init_gps();
    EXPECT_EQ(f.link.product_id, 77);
    EXPECT_TRUE(f.line.opened);
}

TEST(Port, ALongReadNeverWritesPastTheBuffer)
{
    link_fixture f;
    f.ready();
    f.link.early_frame_end = false;
    for (int i = 0; i < 100; ++i) f.line.replies.push_back(bytes(261, 0x55));
    int count = 0;
    f.link.fill_buffer(count);
    EXPECT_EQ(f.link.buffered_count, static_cast<int>(gps_link::input_size));
    EXPECT_EQ(f.link.write_pos, static_cast<int>(gps_link::input_size) + 1);
}

} // namespace
} // namespace wayloom::gps::testing
