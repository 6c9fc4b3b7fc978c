#include "app/splash_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace wayloom {
namespace {

TEST(splash_picture, the_compiled_in_picture_decodes_at_its_size)
{
    const std::span<const std::uint8_t> jpeg = splash_jpeg();
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);  // start of image
    // SOF0: baseline sequential, what every JPEG reader takes.
    const std::uint8_t sof0[] = {0xFF, 0xC0};
    EXPECT_NE(std::search(jpeg.begin(), jpeg.end(), std::begin(sof0), std::end(sof0)), jpeg.end());

    const std::optional<rgb_picture> picture = decode_jpeg(jpeg);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, splash_width);
    EXPECT_EQ(picture->height, splash_height);
    EXPECT_EQ(picture->pixels.size(), std::size_t{3} * splash_width * splash_height);
    // Not one flat colour: the map and the name are there.
    EXPECT_NE(std::adjacent_find(picture->pixels.begin(), picture->pixels.end(),
                                 std::not_equal_to<>()),
              picture->pixels.end());
}

TEST(splash_picture, damaged_pictures_give_nothing)
{
    const std::span<const std::uint8_t> good = splash_jpeg();
    const std::vector<std::uint8_t> whole(good.begin(), good.end());

    std::vector<std::uint8_t> ended_early = whole;
    // An end-of-image marker halfway through the scan data.
    ended_early[whole.size() / 2] = 0xFF;
    ended_early[whole.size() / 2 + 1] = 0xD9;

    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> rows = {
        {"empty", {}},
        {"not_a_jpeg", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}},
        {"start_marker_only", {0xFF, 0xD8}},
        {"header_only", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 600)},
        {"cut_in_half", std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() / 2)},
        {"ended_early", ended_early},
        {"noise", std::vector<std::uint8_t>(4096, 0xA5)},
    };
    for (const auto& [name, bytes] : rows) EXPECT_FALSE(decode_jpeg(bytes)) << name;
}

} // namespace
} // namespace wayloom
