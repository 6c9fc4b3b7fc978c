// The link log and the packet port over a scripted device.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wayloom::gps::testing {
namespace {

TEST(log, indents_open_blocks_and_writes_time_stamped_lines_to_its_file)
{
    int indent = 0;
    std::vector<std::string> shown;
    for (const char* text : {">>open", "connecting", "<<anything", "<<", "left"}) shown.push_back(indented_line(text, indent));
    EXPECT_EQ(shown, (std::vector<std::string>{"open", "  connecting", "<<", "<<", "left"}));
    EXPECT_EQ(indent, 0) << "never below nothing";

    // The file starts whatever the switches; it gets the lines shown.
    for (const bool status : {false, true}) {
        recording_observer seen;
        link_log log(seen, test_log_name());
        log.set_status_logging(status);
        log.set_disk_logging(true);
        log.line("read : 12 : bytes");
        EXPECT_EQ(seen.lines.size(), status ? 1u : 0u);
        std::ifstream in(test_log_name());
        std::string first, second;
        std::getline(in, first);
        EXPECT_NE(first.find(" : session started"), std::string::npos);
        ASSERT_EQ(static_cast<bool>(std::getline(in, second)), status);
        if (!status) continue;
        ASSERT_GE(second.size(), 15u);
        EXPECT_EQ(second.substr(2, 1) + second.substr(8, 1) + second.substr(12), ":. : read : 12 : bytes");
    }
    recording_observer lost;
    link_log nowhere(lost, "/no/such/folder/rave-viz.log");
    nowhere.set_status_logging(true);
    nowhere.set_disk_logging(true);
    nowhere.line("line");
    EXPECT_EQ(lost.lines, (std::vector<std::string>{"line", "cant open log : /no/such/folder/rave-viz.log"}))
        << "an unwritable file says so once, and does not recurse";
}

TEST(packets, a_stuffed_frame_is_read_back_whole_and_the_next_one_after_it)
{
    port_fixture f;
    f.ready();
    bytes both = frame(35, {16, 7, 16, 16});
    const bytes second = frame(12, {7, 0});
    both.insert(both.end(), second.begin(), second.end());
    f.line.replies.push_back(both);
    const auto first = f.port.read_packet();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->id, 35);
    EXPECT_EQ(first->data, (bytes{16, 7, 16, 16}));
    const auto next = f.port.read_packet();
    ASSERT_TRUE(next) << "the positions moved past both bytes of each doubled DLE";
    EXPECT_EQ(next->id, 12);
    EXPECT_TRUE(f.seen.logged("Read : 8 : bytes"));
}

TEST(packets, refused_frames)
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
    bytes cut = frame(35, {1, 2, 3, 4, 5, 6, 7, 8});
    cut.resize(7);
    const row rows[] = {
        {"size 250", size_250, "fail : unrecognised packet format"},
        {"no leading DLE", {7, 35, 0, 221, 16, 3}, "fail : unrecognised packet format"},
        {"checksum mismatch", bad_sum, nullptr},
        {"cut short", cut, nullptr},
        {"id 0", frame(0, {1}), nullptr},
    };
    for (const row& r : rows) {
        port_fixture f;
        f.ready();
        f.line.replies.push_back(r.wire);
        EXPECT_FALSE(f.port.read_packet()) << r.name;
        EXPECT_TRUE(!r.logged || f.seen.logged(r.logged)) << r.name;
    }
}

TEST(packets, acknowledgements_are_checked_and_sent_once_per_batch)
{
    port_fixture f;
    f.ready();
    f.ack(254);
    EXPECT_TRUE(f.port.get_ack(254));
    EXPECT_TRUE(f.seen.logged("ack received"));

    f.ack(254);
    EXPECT_FALSE(f.port.get_ack(10));
    EXPECT_TRUE(f.seen.logged("ack id mismatch : 254<>10"));

    f.reply(35, {1});
    EXPECT_FALSE(f.port.get_ack(10));
    EXPECT_TRUE(f.seen.logged("no ack"));

    f.line.written.clear();
    f.port.send_ack(35);
    EXPECT_EQ(f.line.written, (bytes{16, 6, 2, 35, 0, 213, 16, 3}));
    f.line.written.clear();
    f.port.send_ack(35);
    EXPECT_TRUE(f.line.written.empty()) << "nothing arrived since the last ACK";
}

TEST(packets, with_the_gps_disabled_or_the_port_closed_nothing_is_sent_or_read)
{
    port_fixture closed;
    EXPECT_FALSE(closed.port.write({}));
    EXPECT_TRUE(closed.seen.logged("fail : port not opened"));
    port_fixture f;
    f.port.set_enabled(false);
    EXPECT_TRUE(f.port.set_up(port_texts{}));
    EXPECT_FALSE(f.line.opened);
    EXPECT_TRUE(f.port.send_packet(254));
    EXPECT_TRUE(f.line.written.empty());
    f.seen.lines.clear();
    EXPECT_FALSE(f.port.read_packet());
    EXPECT_EQ(f.seen.lines, (std::vector<std::string>{"read", "<<"}));
}

TEST(port, opening_logs_its_steps_and_their_failures)
{
    port_fixture f;
    EXPECT_TRUE(f.port.open(port_texts{}));
    EXPECT_EQ(f.seen.lines, (std::vector<std::string>{
                                "open", "  connecting to serial port : COM1 baud=9600 parity=N data=8 stop=1 : 100 10",
                                "  COM1 : opened", "<<"}));
    EXPECT_EQ(f.line.total_ms, 100);
    EXPECT_EQ(f.line.interval_ms, 10);

    struct row {
        const char* name;
        port_texts texts;
        bool refuse;
        const char* message;
    };
    const row rows[] = {
        {"bad speed text", {.speed = "fast"}, false, "buildcommdcb failed"},
        {"refused setting", {}, true, "setcomstate failed"},
        {"parity Q", {.parity = "Q"}, false, "buildcommdcb failed"},
    };
    for (const row& r : rows) {
        port_fixture g;
        g.line.refuse_settings = r.refuse;
        EXPECT_FALSE(g.port.open(r.texts)) << r.name;
        EXPECT_TRUE(g.seen.logged(r.message)) << r.name;
        EXPECT_TRUE(g.port.opened()) << "the port stays open";
    }
    port_fixture empty;
    EXPECT_FALSE(empty.port.open({.parity = ""}));
    EXPECT_EQ(empty.seen.lines, (std::vector<std::string>{"open", "<<"}));

    port_fixture odd;
    odd.port.open({.timeout = "soon", .interval = "x"});
    EXPECT_EQ(odd.line.total_ms, 1000);
    EXPECT_EQ(odd.line.interval_ms, 100);
}

TEST(port, a_read_error_closes_the_port_and_opening_works_again)
{
    port_fixture f;
    f.ready();
    f.line.read_error_at = f.line.reads;
    f.reply(35, {1});
    EXPECT_FALSE(f.port.read_packet());
    EXPECT_TRUE(f.seen.logged("read : error : 5"));
    EXPECT_FALSE(f.port.opened());

    ASSERT_TRUE(f.port.open(port_texts{}));
    const auto got = f.port.read_packet();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, bytes{1});
}

TEST(port, a_long_read_never_writes_past_the_buffer)
{
    port_fixture f;
    f.ready();
    f.port.set_early_frame_end(false);
    for (int i = 0; i < 100; ++i) f.line.replies.push_back(bytes(261, 0x55));
    EXPECT_EQ(f.port.read_port(), packet_port::input_size);
    EXPECT_TRUE(f.seen.logged("read : 16384 : bytes"));
}

} // namespace
} // namespace wayloom::gps::testing
