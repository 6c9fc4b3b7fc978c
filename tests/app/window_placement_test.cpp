#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace wayloom {
namespace {

const std::vector<monitor_rect> single = {{0, 0, 1280, 1024, true}};
const std::vector<monitor_rect> dual = {{0, 0, 1920, 1080, true}, {1920, 0, 1280, 1024, false}};
// The primary monitor is the second one, to the right of the first.
const std::vector<monitor_rect> primary_second = {{0, 0, 1280, 1024, false},
                                                  {1280, 0, 1920, 1080, true}};
const std::vector<monitor_rect> no_primary = {{0, 0, 1280, 1024, false}};

TEST(window_placement, placement_table)
{
    struct placement_case {
        const char* name;
        const std::vector<monitor_rect>* monitors;
        stored_placement stored;
        std::int32_t window_width, window_height;
        placement expected;
    };
    const std::vector<placement_case> cases = {
        {"first_start_centred", &single, {-1, std::nullopt, std::nullopt}, 880, 504, {0, 200, 260}},
        {"stored_position_used", &single, {0, 100, 50}, 880, 504, {0, 100, 50}},
        {"missing_monitor_ignores_position", &single, {5, 300, 200}, 880, 504, {0, 200, 260}},
        {"negative_monitor_ignores_position", &single, {-2, 300, 200}, 880, 504, {0, 200, 260}},
        {"past_right_edge_moved_left", &single, {0, 1000, 100}, 880, 504, {0, 400, 100}},
        {"past_bottom_moved_up", &single, {0, 10, 900}, 880, 504, {0, 10, 520}},
        {"left_of_monitor_moved_right", &single, {0, -50, -20}, 880, 504, {0, 0, 0}},
        {"wider_than_monitor_at_left_edge", &single, {0, 100, 0}, 1400, 504, {0, 0, 0}},
        {"odd_spare_truncated", &single, {-1, std::nullopt, std::nullopt}, 881, 505, {0, 199, 259}},
        {"second_monitor_position", &dual, {1, 2000, 100}, 880, 504, {1, 2000, 100}},
        {"second_monitor_past_its_right_edge", &dual, {1, 3000, 100}, 880, 504, {1, 2320, 100}},
        // The default left is half the spare width from 0, which lies left of
        // the second monitor; the window then starts at that monitor's edge.
        {"second_monitor_default_left", &dual, {1, std::nullopt, std::nullopt}, 880, 504, {1, 1920, 260}},
        {"unplugged_second_monitor", &dual, {2, 2000, 100}, 880, 504, {0, 520, 288}},
        {"primary_listed_second", &primary_second, {7, 5, 5}, 880, 504, {1, 520, 288}},
        {"no_primary_uses_screen", &no_primary, {3, 5, 5}, 880, 504, {-1, 360, 198}},
    };
    for (const placement_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(place_window(*c.monitors, 1600, 900, c.stored, c.window_width, c.window_height),
                  c.expected);
    }
}

TEST(window_placement, no_monitors_at_all)
{
    const placement p = place_window({}, 1024, 768, {0, 5, 5}, 880, 504);
    EXPECT_EQ(p, (placement{-1, 72, 132}));
}

TEST(window_placement, monitor_a_window_is_on)
{
    EXPECT_EQ(monitor_of(dual, 100, 100, 880, 504), 0);
    EXPECT_EQ(monitor_of(dual, 2000, 100, 880, 504), 1);
    // Centre on the second monitor although the window starts on the first.
    EXPECT_EQ(monitor_of(dual, 1700, 100, 880, 504), 1);
    // Centre below every monitor: the first one it overlaps.
    EXPECT_EQ(monitor_of(dual, 2000, 900, 880, 504), 1);
    EXPECT_EQ(monitor_of(dual, 5000, 5000, 880, 504), -1);
    EXPECT_EQ(monitor_of({}, 0, 0, 10, 10), -1);
}

} // namespace
} // namespace wayloom
