#include "gps/frame.h"
#include "scripted_device.h"
#include "tests/worked_frames.h"

#include <gtest/gtest.h>

namespace wayloom::gps {
namespace {

using bytes = std::vector<std::uint8_t>;
using testing::frame;

TEST(frame, packets_go_out_with_checksum_and_stuffing)
{
    for (const auto& f : ::wayloom::testing::worked_frames()) EXPECT_EQ(make_frame(f.id, f.data), f.wire) << f.name;
}

TEST(frame, the_extractors_rules)
{
    struct row {
        const char* name;
        bytes received;
        frame_status status;
        std::size_t consumed;
        bytes raw;  // checked when not empty
    };
    bytes size_250{16, 35, 250};
    size_250.resize(3 + 250 + 3, 1);
    bytes two_frames = frame(35, {16, 7, 16, 16});
    const bytes second = frame(12, {7, 0});
    two_frames.insert(two_frames.end(), second.begin(), second.end());
    const row rows[] = {
        {"stuffed DLEs made single, both bytes taken", two_frames, frame_status::found, 13,
         {16, 35, 4, 16, 7, 16, 16, 162, 16, 3}},
        {"size 249 is the largest", [] { bytes b{16, 35, 249}; b.resize(255, 1); return b; }(), frame_status::found,
         255, {}},
        {"size 250", size_250, frame_status::unrecognised, 0, {}},
        {"no leading DLE", {7, 35, 0, 221, 16, 3}, frame_status::unrecognised, 0, {}},
        {"two bytes", {16, 35}, frame_status::unrecognised, 0, {}},
        {"cut short: never read past what came", {16, 35, 8, 1, 2, 3, 4}, frame_status::cut_off, 7,
         {16, 35, 8, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0}},
        {"closing DLE ETX not checked", {16, 35, 1, 9, 213, 0, 0}, frame_status::found, 7, {16, 35, 1, 9, 213, 0, 0}},
    };
    for (const row& r : rows) {
        const extracted_frame got = extract_frame(r.received);
        EXPECT_EQ(got.status, r.status) << r.name;
        EXPECT_EQ(got.consumed, r.consumed) << r.name;
        EXPECT_TRUE(r.raw.empty() || got.raw == r.raw) << r.name;
    }
}

TEST(frame, opening_checks_the_checksum)
{
    const auto good = open_frame(extract_frame(frame(35, {16, 7, 16, 16})).raw);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->id, 35);
    EXPECT_EQ(good->data, (bytes{16, 7, 16, 16}));

    bytes bad = frame(35, {1, 2, 3});
    bad[bad.size() - 3] ^= 0x55;
    EXPECT_FALSE(open_frame(extract_frame(bad).raw));
}

TEST(frame, a_reply_is_complete_when_it_ends_with_a_whole_frame)
{
    struct row {
        const char* name;
        bytes received;
        bool whole;
    };
    bytes two = frame(6, {254, 0});
    const bytes product = frame(255, {77, 0, 94, 1, 'x', 0});
    two.insert(two.end(), product.begin(), product.end());
    const bytes stuffed = frame(35, {16, 16, 3});
    const row rows[] = {
        {"one frame", frame(6, {254, 0}), true},
        {"two frames", two, true},
        {"stuffed DLE before DLE ETX-like bytes", stuffed, true},
        {"last byte missing", bytes(stuffed.begin(), stuffed.end() - 1), false},
        {"half a doubled DLE", bytes(stuffed.begin(), stuffed.begin() + 4), false},
        {"nothing", {}, false},
        {"noise", {1, 2, 3}, false},
    };
    for (const row& r : rows) EXPECT_EQ(ends_with_whole_frame(r.received), r.whole) << r.name;
}

} // namespace
} // namespace wayloom::gps
