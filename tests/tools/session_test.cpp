#include "handset.h"

#include <gtest/gtest.h>

#include <thread>

namespace handset {
namespace {

// A host end that records every packet the handset sends.
struct host {
    std::vector<packet> got;
    frame_reader reader;
    std::vector<bool> checksums;

    session::sender sender()
    {
        return [this](const std::vector<std::uint8_t>& bytes) {
            for (auto& r : reader.feed(bytes)) {
                got.push_back(r.p);
                checksums.push_back(r.checksum_ok);
            }
        };
    }
    std::vector<std::uint8_t> ids() const
    {
        std::vector<std::uint8_t> out;
        for (const auto& p : got) out.push_back(p.id);
        return out;
    }
};

void say(session& s, const packet& p) { s.receive(encode(p)); }
void ack(session& s, std::uint8_t id) { say(s, {pid::ack, {id, 0}}); }

const std::vector<waypoint> three{{"a", 1, 2, 0}, {"b", 3, 4, 0}, {"c", 5, 6, 0}};

TEST(session, answers_the_product_request_with_data_and_protocols)
{
    host h;
    options o;
    o.product = 77;
    o.version = 320;
    session s(o, three, h.sender());
    say(s, {pid::product_request, {}});
    ASSERT_EQ(h.ids(), (std::vector<std::uint8_t>{pid::ack, pid::product_data}))
        << "the protocol array waits for the ACK of the product data";
    ack(s, pid::product_data);
    ASSERT_EQ(h.ids(), (std::vector<std::uint8_t>{pid::ack, pid::product_data, pid::protocol_array}));
    EXPECT_EQ(h.got[0].data, (std::vector<std::uint8_t>{254, 0}));
    EXPECT_EQ(h.got[1].data[0], 77);
    EXPECT_EQ(h.got[1].data[2] | (h.got[1].data[3] << 8), 320);
    EXPECT_EQ(h.got[1].data.back(), 0) << "the description ends in NUL";
    const std::vector<std::uint8_t> array{'P', 0, 0, 'L', 1, 0, 'A', 10, 0, 'A', 100, 0, 'D', 108, 0,
                                          'A', 201, 0, 'D', 202, 0, 'D', 108, 0, 'D', 210, 0,
                                          'A', 45, 1, 'D', 54, 1, 'D', 45, 1};  // A301 D310 D301
    EXPECT_EQ(h.got[2].data, array);

    host bare;
    o.protocols = false;
    session quiet(o, three, bare.sender());
    say(quiet, {pid::product_request, {}});
    ack(quiet, pid::product_data);
    EXPECT_EQ(bare.ids(), (std::vector<std::uint8_t>{pid::ack, pid::product_data}));
}

TEST(session, sends_each_record_after_the_host_acknowledged_the_previous_one)
{
    host h;
    session s(options{}, three, h.sender());
    say(s, {pid::command, {command_transfer_waypoints, 0}});
    ASSERT_EQ(h.ids(), (std::vector<std::uint8_t>{pid::ack, pid::records}));
    EXPECT_EQ(h.got[1].data, (std::vector<std::uint8_t>{3, 0}));
    ack(s, pid::records);
    EXPECT_EQ(h.got.size(), 3u);
    ack(s, pid::waypoint);
    ack(s, pid::waypoint);
    ack(s, pid::waypoint);
    ASSERT_EQ(h.ids(), (std::vector<std::uint8_t>{pid::ack, pid::records, pid::waypoint, pid::waypoint,
                                                  pid::waypoint, pid::transfer_complete}));
    EXPECT_EQ(decode_waypoint(h.got[3].data, 108)->name, "b");
    EXPECT_EQ(h.got[5].data, (std::vector<std::uint8_t>{7, 0}));
}

TEST(session, faults_happen_where_they_are_ordered)
{
    struct row {
        const char* name;
        void (*set)(options&);
        std::vector<std::uint8_t> ids;  // after the command and every ACK the host would send
        int bad_frame = -1;             // index of a frame whose checksum is spoilt
    };
    const row rows[] = {
        {"drop record 2", [](options& o) { o.drop = 2; },
         {pid::ack, pid::records, pid::waypoint, pid::waypoint, pid::transfer_complete}},
        {"bad checksum on record 1", [](options& o) { o.bad_checksum = 1; },
         {pid::ack, pid::records, pid::waypoint, pid::waypoint, pid::waypoint, pid::transfer_complete}, 2},
        {"no ack of the command", [](options& o) { o.no_ack = 1; },
         {pid::records, pid::waypoint, pid::waypoint, pid::waypoint, pid::transfer_complete}},
        {"nak the command", [](options& o) { o.nak = 1; }, {pid::nak}},
        {"silent after two packets", [](options& o) { o.silent_after = 2; }, {pid::ack, pid::records}},
    };
    for (const row& r : rows) {
        host h;
        options o;
        r.set(o);
        session s(o, three, h.sender());
        say(s, {pid::command, {command_transfer_waypoints, 0}});
        for (int i = 0; i < 4; ++i) ack(s, i == 0 ? pid::records : pid::waypoint);
        EXPECT_EQ(h.ids(), r.ids) << r.name;
        for (std::size_t i = 0; i < h.checksums.size(); ++i)
            EXPECT_EQ(h.checksums[i], static_cast<int>(i) != r.bad_frame) << r.name << " frame " << i;
    }
}

TEST(session, goes_on_when_the_host_does_not_acknowledge_in_time)
{
    host h;
    options o;
    o.ack_wait = std::chrono::milliseconds(20);
    session s(o, three, h.sender());
    say(s, {pid::command, {command_transfer_waypoints, 0}});
    for (int i = 0; i < 5 && s.waiting(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        s.tick();
    }
    EXPECT_EQ(h.ids().back(), pid::transfer_complete);
    EXPECT_EQ(h.got.size(), 6u);
}

TEST(session, on_a_slow_line_the_wait_for_an_ack_starts_when_the_record_has_crossed)
{
    host h;
    options o;
    o.baud = 9600;  // a record takes some 60 ms
    o.ack_wait = std::chrono::milliseconds(20);
    session s(o, three, h.sender());
    say(s, {pid::command, {command_transfer_waypoints, 0}});
    ack(s, pid::records);
    s.tick();
    EXPECT_EQ(h.ids(), (std::vector<std::uint8_t>{pid::ack, pid::records, pid::waypoint}));
}

TEST(session, keeps_an_upload_and_naks_a_spoilt_frame)
{
    host h;
    session s(options{}, {}, h.sender());
    say(s, {pid::records, {2, 0}});
    say(s, {pid::waypoint, encode_waypoint({"x", 10, 20, 5}, 108)});
    s.receive(encode({pid::waypoint, encode_waypoint({"y", 1, 1, 0}, 108)}, true));
    say(s, {pid::waypoint, encode_waypoint({"y", -10, -20, 7}, 108)});
    EXPECT_FALSE(s.upload_complete());
    say(s, {pid::transfer_complete, {7, 0}});
    ASSERT_TRUE(s.upload_complete());
    ASSERT_EQ(s.uploaded().size(), 2u);
    EXPECT_EQ(s.uploaded()[1].name, "y");
    EXPECT_NEAR(s.uploaded()[1].lon, -20, 1e-6);
    EXPECT_EQ(h.ids(), (std::vector<std::uint8_t>{pid::ack, pid::ack, pid::nak, pid::ack, pid::ack}));
}

} // namespace
} // namespace handset
