// The waypoint transfer through the session: what goes on the wire, what
// reaches the map, the memo, the progress bar and the boxes. Record decoding
// itself is checked in waypoint_record_test.
#include "gps/waypoint_record.h"
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace wayloom::gps::testing {
namespace {

// A link started on a handset speaking L001/A010/A100 and the given layout.
void start(link_fixture& f, int layout)
{
    f.ack(254);
    f.reply(255, {0x9B, 1, 0x0E, 1, 0});
    f.reply(253, {'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', static_cast<std::uint8_t>(layout & 0xFF),
                  static_cast<std::uint8_t>(layout >> 8)});
    f.link.init_gps();
    ASSERT_TRUE(f.link.protocol_supported());
    f.seen.lines.clear();
}

void transfer(link_fixture& f, const std::vector<bytes>& records, int announced = -1)
{
    f.ack(10);
    const int count = announced < 0 ? static_cast<int>(records.size()) : announced;
    f.reply(27, {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8)});
    for (const auto& r : records) f.reply(35, r);
    f.reply(12, {7, 0});
}

TEST(download, d108_records_become_waypoints_in_degrees)
{
    link_fixture f;
    start(f, 108);
    f.doc.create_waypoint().name = "already-there";
    transfer(f, {d108("GATE", 1073741824, -536870912, 61.5f), d108("BARN", 0, 0, 59.4f),
                  d108("MIST", 0, 0, 1.0e25f)});
    f.line.written.clear();
    f.link.download_gps();
    EXPECT_TRUE(f.seen.boxes.empty());
    ASSERT_EQ(f.doc.waypoint_count(), 4);
    EXPECT_EQ(f.doc.waypoints[2]->alt, 59.4L) << "the decimal the float stands for";
    EXPECT_EQ(f.doc.waypoints[3]->alt, no_altitude);
    const t_waypoint& gate = *f.doc.waypoints[1];
    EXPECT_EQ(gate.name, "GATE");
    EXPECT_EQ(gate.lat, 90);
    EXPECT_EQ(gate.lon, -45);
    EXPECT_EQ(gate.alt, 61.5L);
    EXPECT_EQ(gate.number, 1) << "downloaded waypoints are numbered after those there";
    ASSERT_EQ(f.doc.waypoints_list.size(), 4u);
    EXPECT_EQ(f.seen.range_max, 2);
    EXPECT_EQ(f.seen.steps, 3);
    EXPECT_GE(f.seen.resets, 1);
    EXPECT_TRUE(f.seen.logged("read d108 structure"));
    EXPECT_TRUE(f.seen.logged("-45"));
    // The command asks for the waypoints: data 7, 0 in packet 10.
    const bytes command{16, 10, 2, 7, 0, 237, 16, 3};
    EXPECT_TRUE(std::equal(command.begin(), command.end(), f.line.written.begin()));

    // The transfer ended: the next download asks for the waypoints again.
    transfer(f, {d108("WELL", 0, 0, 0)});
    f.line.written.clear();
    f.link.download_gps();
    EXPECT_TRUE(std::equal(command.begin(), command.end(), f.line.written.begin()));
    EXPECT_EQ(f.doc.waypoint_count(), 5);
}

TEST(download, numbered_layouts_count_from_one_in_each_download)
{
    link_fixture f;
    start(f, 105);
    transfer(f, {bytes(10, 0), bytes(10, 0), bytes(10, 0)});
    f.link.download_gps();
    transfer(f, {bytes(10, 0)});
    f.link.download_gps();
    ASSERT_EQ(f.doc.waypoint_count(), 4);
    std::vector<std::string> names;
    for (const auto& w : f.doc.waypoints) names.push_back(w->name);
    EXPECT_EQ(names, (std::vector<std::string>{"1", "2", "3", "1"}));
}

TEST(download, a_spoilt_record_is_asked_for_again_three_times_at_most)
{
    struct row {
        int spoilt_copies;
        std::vector<std::string> names;
        std::vector<std::string> boxes;
    };
    const row rows[] = {
        {1, {"ONE", "TWO", "THREE"}, {}},
        {2, {"ONE", "TWO", "THREE"}, {}},
        {3, {"ONE"}, {"Waypoint Download failed"}},
    };
    const bytes nak_of_35{16, 21, 2, 35, 0, 198, 16, 3};
    for (const row& r : rows) {
        link_fixture f;
        start(f, 108);
        f.ack(10);
        f.reply(27, {3, 0});
        f.reply(35, d108("ONE", 0, 0, 0));
        bytes bad = frame(35, d108("TWO", 0, 0, 0));
        bad[bad.size() - 3] ^= 1;
        for (int i = 0; i < r.spoilt_copies; ++i) f.line.replies.push_back(bad);
        f.reply(35, d108("TWO", 0, 0, 0));
        f.reply(35, d108("THREE", 0, 0, 0));
        f.line.written.clear();
        f.link.download_gps();
        std::vector<std::string> names;
        for (const auto& w : f.doc.waypoints) names.push_back(w->name);
        EXPECT_EQ(names, r.names) << r.spoilt_copies;
        EXPECT_EQ(f.seen.boxes, r.boxes) << r.spoilt_copies;
        int naks = 0;
        for (auto at = f.line.written.begin();
             (at = std::search(at, f.line.written.end(), nak_of_35.begin(), nak_of_35.end())) != f.line.written.end();
             ++at)
            ++naks;
        EXPECT_EQ(naks, std::min(r.spoilt_copies, 2)) << r.spoilt_copies;
    }

    link_fixture silent;
    start(silent, 108);
    silent.ack(10);
    silent.reply(27, {5, 0});
    silent.link.download_gps();  // nothing more comes: five empty passes, then done
    EXPECT_EQ(silent.doc.waypoint_count(), 0);
    EXPECT_TRUE(silent.seen.logged("no waypoint record"));
    EXPECT_TRUE(silent.seen.logged("0 of 5 waypoints received"));
}

TEST(download, the_memo_is_cleared_every_twenty_records)
{
    link_fixture f;
    start(f, 108);
    std::vector<bytes> records(40, d108("W", 0, 0, 0));
    transfer(f, records);
    f.link.download_gps();
    EXPECT_EQ(f.doc.waypoint_count(), 40);
    EXPECT_EQ(f.seen.clears, 2);
}

TEST(download, lost_records_fail_the_download_and_what_came_stays)
{
    struct row {
        const char* name;
        int layout;
        bool complete_early;  // else the handset falls silent
    };
    const row rows[] = {
        {"D108, silence", 108, false},
        {"D100, silence", 100, false},
        {"D105, silence", 105, false},
        {"D108, transfer complete too early", 108, true},
    };
    for (const row& r : rows) {
        link_fixture f;
        start(f, r.layout);
        const bytes record = r.layout == 108 ? d108("A", 0, 0, 0) : bytes(r.layout == 100 ? 58 : 10, 'A');
        f.ack(10);
        f.reply(27, {3, 0});
        f.reply(35, record);
        if (r.complete_early) f.reply(12, {7, 0});
        f.link.download_gps();
        EXPECT_EQ(f.doc.waypoint_count(), 1) << r.name;
        EXPECT_EQ(f.seen.boxes, (std::vector<std::string>{"Waypoint Download failed"})) << r.name;
        EXPECT_TRUE(f.seen.logged("1 of 3 waypoints received")) << r.name;
        ASSERT_TRUE(f.link.last_transfer()) << r.name;
        EXPECT_EQ(f.link.last_transfer()->received, 1) << r.name;
        EXPECT_EQ(f.link.last_transfer()->announced, 3) << r.name;
        EXPECT_EQ(f.seen.resets, 1) << r.name;
    }

    link_fixture extra;
    start(extra, 108);
    extra.ack(10);
    extra.reply(27, {1, 0});
    extra.reply(35, d108("A", 0, 0, 0));
    extra.reply(35, d108("B", 0, 0, 0));
    extra.link.download_gps();
    EXPECT_EQ(extra.doc.waypoint_count(), 1) << "a record beyond the count is dropped";
    EXPECT_TRUE(extra.seen.boxes.empty());
}

TEST(download, failures_show_the_box)
{
    struct row {
        const char* name;
        void (*script)(link_fixture&);
    };
    const row rows[] = {
        {"no ack of the command", [](link_fixture&) {}},
        {"no records announced", [](link_fixture& f) { f.ack(10); f.reply(27, {0, 0}); }},
        {"another reply", [](link_fixture& f) { f.ack(10); f.reply(99, {1}); }},
        {"cut-off strings in the last record",
         [](link_fixture& f) {
             bytes r = d108("CUT", 0, 0, 0);
             r.pop_back();
             r.pop_back();
             transfer(f, {r});
         }},
    };
    for (const row& r : rows) {
        link_fixture f;
        start(f, 108);
        r.script(f);
        f.link.download_gps();
        EXPECT_EQ(f.seen.boxes, (std::vector<std::string>{"Waypoint Download failed"})) << r.name;
    }

    // Without a start-up the download runs one; a silent handset fails both.
    link_fixture not_started;
    not_started.link.download_gps();
    EXPECT_TRUE(not_started.seen.logged("no response from product request"));
    EXPECT_EQ(not_started.seen.boxes, (std::vector<std::string>{"Protocol unsupported", "Waypoint Download failed"}));
}

TEST(transfer, a_cancel_aborts_before_the_next_record_and_keeps_what_came)
{
    const bytes abort = frame(10, {0, 0}), done = frame(12, {7, 0});
    for (const bool download : {true, false}) {
        link_fixture f;
        start(f, 108);
        for (const char* name : {"a", "b", "c"}) f.doc.create_waypoint().name = name;
        if (download) {
            transfer(f, {d108("ONE", 0, 0, 0), d108("TWO", 0, 0, 0), d108("THREE", 0, 0, 0)});
        } else {
            for (const int id : {27, 35, 35}) f.ack(static_cast<std::uint8_t>(id));
        }
        f.ack(10);  // of the abort
        f.seen.on_step = [&] {
            if (f.seen.steps == 2) f.link.cancel();
        };
        f.line.written.clear();
        download ? f.link.download_gps() : f.link.upload_gps();
        EXPECT_TRUE(f.seen.boxes.empty()) << download;
        EXPECT_TRUE(f.seen.logged("cancelled after 2 of 3")) << download;
        EXPECT_EQ(f.doc.waypoint_count(), download ? 5 : 3);
        EXPECT_EQ(download ? f.link.last_transfer()->received : f.link.uploaded(), 2);
        // The abort went out last, and an upload never said it was complete.
        ASSERT_GE(f.line.written.size(), abort.size());
        EXPECT_TRUE(std::equal(abort.begin(), abort.end(), f.line.written.end() - static_cast<long>(abort.size())))
            << download;
        EXPECT_EQ(std::search(f.line.written.begin(), f.line.written.end(), done.begin(), done.end()),
                  f.line.written.end());
        // Until the cancel is cleared no transfer starts.
        f.line.written.clear();
        download ? f.link.download_gps() : f.link.upload_gps();
        EXPECT_TRUE(f.line.written.empty()) << download;
    }
}

TEST(upload, records_go_out_each_acknowledged_then_transfer_complete)
{
    link_fixture f;
    start(f, 108);
    for (const char* name : {"gate", "barn"}) {
        t_waypoint& w = f.doc.create_waypoint();
        w.name = name;
        w.lat = 90;
        w.lon = -45;
        w.alt = 61.5L;
    }
    for (const int id : {27, 35, 35, 12}) f.ack(static_cast<std::uint8_t>(id));
    f.line.written.clear();
    f.link.upload_gps();
    EXPECT_TRUE(f.seen.boxes.empty());
    EXPECT_EQ(f.link.uploaded(), 2);
    EXPECT_TRUE(f.seen.logged("upload_waypoints"));
    EXPECT_EQ(f.seen.range_max, 1);
    EXPECT_EQ(f.seen.steps, 2);
    bytes expected = frame(27, {2, 0});
    for (const char* name : {"gate", "barn"}) {
        const bytes record = encode_waypoint(f.link.waypoint_reader(), {name, 90, -45, 61.5f});
        const bytes framed = frame(35, record);
        expected.insert(expected.end(), framed.begin(), framed.end());
    }
    const bytes done = frame(12, {7, 0});
    expected.insert(expected.end(), done.begin(), done.end());
    EXPECT_EQ(f.line.written, expected);

    struct row {
        const char* name;
        int acks;  // the handset acknowledges this many packets, then nothing
    };
    for (const row& r : {row{"records packet", 0}, row{"second record", 2}, row{"transfer complete", 3}}) {
        link_fixture g;
        start(g, 100);
        g.doc.create_waypoint().name = "a";
        g.doc.create_waypoint().name = "b";
        const int ids[] = {27, 35, 35, 12};
        for (int i = 0; i < r.acks; ++i) g.ack(static_cast<std::uint8_t>(ids[i]));
        g.link.upload_gps();
        EXPECT_EQ(g.seen.boxes, (std::vector<std::string>{"Waypoint Upload failed"})) << r.name;
    }

    // Without a start-up the upload runs one; a silent handset fails both.
    link_fixture not_started;
    not_started.link.upload_gps();
    EXPECT_TRUE(not_started.seen.logged("no response from product request"));
    EXPECT_EQ(not_started.seen.boxes, (std::vector<std::string>{"Protocol unsupported", "Waypoint Upload failed"}));
}

} // namespace
} // namespace wayloom::gps::testing
