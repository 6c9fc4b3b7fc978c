#include "frame.h"
#include "../worked_frames.h"

#include <gtest/gtest.h>

namespace handset {
namespace {

using bytes = std::vector<std::uint8_t>;

TEST(frame, encodes_the_worked_frames)
{
    for (const auto& f : wayloom::testing::worked_frames()) EXPECT_EQ(encode({f.id, f.data}), f.wire) << f.name;
}

TEST(frame, the_checksum_is_the_twos_complement_of_the_sum)
{
    EXPECT_EQ(checksum_of(254, {}), 2);
    const bytes data{6, 0};
    EXPECT_EQ(checksum_of(10, data), 256 - (10 + 2 + 6));
    const bytes zero_sum{255};  // 1 + 255 = 256
    EXPECT_EQ(checksum_of(0, zero_sum), 0);
}

TEST(frame, reads_frames_fed_in_any_pieces)
{
    const packet a{35, {16, 1, 16, 16}};
    const packet b{12, {7, 0}};
    bytes stream{0, 3, 99};  // noise before the first frame
    for (const packet& p : {a, b}) {
        const auto wire = encode(p);
        stream.insert(stream.end(), wire.begin(), wire.end());
    }
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, stream.size()}) {
        frame_reader reader;
        std::vector<frame_reader::result> got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const std::size_t n = std::min(piece, stream.size() - at);
            for (auto& r : reader.feed(std::span(stream).subspan(at, n))) got.push_back(r);
        }
        ASSERT_EQ(got.size(), 2u) << piece;
        EXPECT_EQ(got[0].p.id, 35);
        EXPECT_EQ(got[0].p.data, a.data) << "doubled DLEs come back single";
        EXPECT_TRUE(got[0].checksum_ok);
        EXPECT_EQ(got[1].p.data, b.data);
    }
}

TEST(frame, flags_a_bad_checksum_and_drops_a_frame_of_the_wrong_length)
{
    frame_reader reader;
    auto bad = reader.feed(encode({35, {1, 2, 3}}, true));
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_FALSE(bad[0].checksum_ok);

    const bytes wrong_size{16, 35, 5, 1, 2, 0, 16, 3};
    EXPECT_TRUE(reader.feed(wrong_size).empty());
    EXPECT_EQ(reader.feed(encode({6, {254, 0}})).size(), 1u) << "the next frame is found again";
}

} // namespace
} // namespace handset
