#include "view/geometry/marker_geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace wayloom {
namespace {

TEST(marker_geometry, boxes_and_label_positions)
{
    struct row {
        const char* name;
        std::int32_t x, y;
        long double size;
        marker_box box;
        label_origin_pos label;
    };
    const row rows[] = {
        {"size 10 at (100, 50)", 100, 50, 10, {90, 40, 110, 60}, {120, 50}},
        {"size 7.9 truncates", 100, 50, 7.9L, {93, 43, 107, 57}, {115, 50}},
        {"size 0.6 has no marker", 10, 10, 0.6L, {10, 10, 10, 10}, {11, 10}},
        {"bottom-left corner", 0, 600, 4, {-4, 596, 4, 604}, {8, 600}},
        {"negative size", 10, 10, -3, {13, 13, 7, 7}, {4, 10}},
        {"far off the surface", INT32_MAX - 1, 0, 5, {INT32_MAX - 6, -5, INT32_MAX, 5}, {INT32_MAX, 0}},
        // The largest sizes a map may give are held where a surface can take them.
        {"size 1e9", 100, 50, 1e9L, {100 - (1 << 20), 50 - (1 << 20), 100 + (1 << 20), 50 + (1 << 20)},
         {100 + (2 << 20), 50}},
        {"size 2^31 - 1", 0, 0, 2147483647.0L, {-(1 << 20), -(1 << 20), 1 << 20, 1 << 20}, {2 << 20, 0}},
        {"size -1e9", 0, 0, -1e9L, {1 << 20, 1 << 20, -(1 << 20), -(1 << 20)}, {-(2 << 20), 0}},
    };
    for (const row& r : rows) {
        const marker_box box = marker_rectangle(r.x, r.y, marker_half_size(r.size));
        EXPECT_EQ(box, r.box) << r.name;
        EXPECT_EQ(label_origin(r.x, r.y, r.size), r.label) << r.name;
    }
    EXPECT_TRUE(marker_rectangle(5, 5, 0).empty());
    EXPECT_TRUE(marker_rectangle(5, 5, -2).empty());
    EXPECT_FALSE(marker_rectangle(5, 5, 1).empty());
    EXPECT_EQ(marker_half_size(1e40L), max_marker_half_size);
    EXPECT_EQ(marker_half_size(std::numeric_limits<long double>::quiet_NaN()), 0);
}

} // namespace
} // namespace wayloom
