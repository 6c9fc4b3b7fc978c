#include "records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace handset {
namespace {

std::int32_t int_at(const std::vector<std::uint8_t>& r, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(r[at + static_cast<std::size_t>(i)]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

TEST(records, semicircles_are_degrees_times_two_to_the31_over180)
{
    EXPECT_EQ(to_semicircles(90), 1073741824);
    EXPECT_EQ(to_semicircles(-45), -536870912);
    EXPECT_EQ(to_semicircles(180), 2147483647) << "clamped to the int32 range";
    EXPECT_DOUBLE_EQ(to_degrees(1073741824), 90.0);
    EXPECT_DOUBLE_EQ(to_degrees(-536870912), -45.0);
}

TEST(records, every_layout_puts_the_position_where_hosts_read_it)
{
    struct row {
        int layout;
        std::size_t fixed, latitude;
    };
    const row rows[] = {{100, 58, 6},   {101, 63, 6},   {102, 64, 6},   {103, 60, 6},  {104, 65, 6},
                        {107, 65, 6},   {150, 115, 9},  {151, 124, 6},  {152, 124, 6}, {154, 126, 6},
                        {105, 10, 0},   {106, 24, 14},  {155, 127, 6},  {108, 48, 24}, {109, 52, 24}};
    const waypoint w{"gate", 90, -45, 61.5f};
    for (const row& r : rows) {
        const auto record = encode_waypoint(w, r.layout);
        ASSERT_GE(record.size(), r.fixed) << r.layout;
        EXPECT_EQ(int_at(record, r.latitude), 1073741824) << r.layout;
        EXPECT_EQ(int_at(record, r.latitude + 4), -536870912) << r.layout;
        const auto back = decode_waypoint(record, r.layout);
        ASSERT_TRUE(back) << r.layout;
        EXPECT_DOUBLE_EQ(back->lat, 90) << r.layout;
        EXPECT_DOUBLE_EQ(back->lon, -45) << r.layout;
        EXPECT_EQ(back->name, "gate") << r.layout;
    }
}

TEST(records, fixed_idents_are_padded_with_spaces_and_string_idents_end_in_nul)
{
    const waypoint w{"ab", 1, 2, 3};
    const auto d100 = encode_waypoint(w, 100);
    EXPECT_EQ(std::string(d100.begin(), d100.begin() + 6), "ab    ");
    const auto d108 = encode_waypoint(w, 108);
    ASSERT_EQ(d108.size(), 48u + 3u + 5u) << "ident and five empty strings";
    EXPECT_EQ(d108[48], 'a');
    EXPECT_EQ(d108[50], 0);
    EXPECT_EQ(d108[3], 0x60);
    float alt;
    std::memcpy(&alt, d108.data() + 32, 4);
    EXPECT_EQ(alt, 3.0f);
    const auto d109 = encode_waypoint(w, 109);
    EXPECT_EQ(d109[0], 1);
    EXPECT_EQ(d109[52], 'a');
}

TEST(records, a_short_record_does_not_decode)
{
    const std::vector<std::uint8_t> short_record(47, 0);
    EXPECT_FALSE(decode_waypoint(short_record, 108));
    EXPECT_FALSE(decode_waypoint(short_record, 100));
    EXPECT_FALSE(known_layout(110));
}

} // namespace
} // namespace handset
