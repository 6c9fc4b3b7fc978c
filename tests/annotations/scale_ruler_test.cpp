// The scale ruler without a screen: lengths, the amount cut to the extent,
// the unit, nudges, the border and the label's lines.
#include "annotations/scale_ruler.h"

#include "model/item_list.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

// A map 80 Metres across and 40 up, fitted into 400 × 200 pixels.
struct scale_ruler_fixture : ::testing::Test {
    view_state view;
    measurement units;
    scale_ruler ruler;
    item_list shapes;

    scale_ruler_fixture()
    {
        const long double metres_per_map_unit = 111205.394L / 360;
        view.min_lon = 0;
        view.max_lon = 80 / metres_per_map_unit;
        view.min_lat = 0;
        view.max_lat = 40 / metres_per_map_unit;
        view.fit_width = 400;
        view.fit_height = 200;
        shapes.add("field");
        shapes.entries[0].selected = true;
        ruler.visible = true;
    }

    void recompute()
    {
        units.units_changed = units.scale_changed = true;
        ASSERT_TRUE(prepare_ruler(ruler, view, shapes, units));
    }
};

// Width: 7 pixels a character; height 12.
struct fixed_measure : text_measure {
    std::int32_t text_width(std::string_view text) const override { return 7 * std::int32_t(text.size()); }
    std::int32_t text_height(std::string_view) const override { return 12; }
};

TEST_F(scale_ruler_fixture, a_first_plonk_sits_at_the_corner_with_the_typed_length)
{
    ruler.amount = "20";
    recompute();
    EXPECT_NEAR(static_cast<double>(ruler.extent_x), 80, 1e-9);
    EXPECT_NEAR(static_cast<double>(ruler.extent_y), 40, 1e-9);
    // At the corner, a quarter of 400 less 2 long; a horizontal ruler leaves h alone.
    EXPECT_EQ(std::tuple(ruler.x, ruler.y, ruler.w, ruler.h), std::tuple(0, 0, 98, 0));
    EXPECT_FALSE(units.units_changed || units.scale_changed);
}

// Amounts and places as typed, or as a hand-written settings file gives them.
TEST_F(scale_ruler_fixture, amounts_and_places_out_of_range_are_held)
{
    constexpr auto across = ruler_orientation::horizontal, up = ruler_orientation::vertical;
    struct row {
        const char* typed;
        ruler_orientation orientation;
        std::int32_t from_x, from_y;
        const char* shown;
        std::int32_t w, h, x, y;
    };
    const row rows[] = {
        {"0", across, 0, 0, "0", -2, 0, 0, 0},          {"100", across, 0, 0, "80", 398, 0, 0, 0},
        {"100", up, 0, 0, "40", 0, 198, 0, 0},          {"wide", across, 0, 0, "wide", 398, 0, 0, 0},
        {"30", up, 0, 0, "30", 0, 148, 0, 0},           {"-5e9", across, 0, 0, "0", -2, 0, 0, 0},
        {"-1e300", up, 0, 0, "0", 0, -2, 0, 0},         {"-inf", across, 0, 0, "-inf", 398, 0, 0, 0},
        {" +20 ", across, 0, 0, " +20 ", 98, 0, 0, 0},
        {"20", across, INT32_MAX, INT32_MAX, "20", 98, 0, 302, 190},
        {"20", up, INT32_MAX, INT32_MAX, "20", 0, 98, 390, 102},
        {"20", across, INT32_MIN, INT32_MIN, "20", 98, 0, 0, 0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.typed);
        ruler = {};
        ruler.visible = true;
        ruler.orientation = r.orientation;
        ruler.amount = r.typed;
        ruler.x = r.from_x;
        ruler.y = r.from_y;
        ruler.w = ruler.h = 0;  // placed before
        recompute();
        EXPECT_EQ(ruler.amount, r.shown);
        EXPECT_EQ((std::vector<std::int32_t>{ruler.w, ruler.h, ruler.x, ruler.y}),
                  (std::vector<std::int32_t>{r.w, r.h, r.x, r.y}));
    }
    fixed_measure measure;
    ruler = {};
    ruler.visible = true;
    ruler.amount = "0";
    recompute();
    EXPECT_EQ(ruler_layout(ruler, view, units.unit(), measure).label, "0 M") << "too short: the short label";
}

TEST_F(scale_ruler_fixture, another_unit_recomputes_from_the_same_amount)
{
    ruler.amount = "40";
    recompute();
    EXPECT_EQ(ruler.w, 198);
    units.choose(*unit_named("feet"));
    ASSERT_TRUE(prepare_ruler(ruler, view, shapes, units));
    EXPECT_NEAR(static_cast<double>(ruler.extent_x), 80 * 364848.0 / 111205.394, 1e-6);
    EXPECT_EQ(ruler.w, 59);  // 40 feet of 262.47 across 400 pixels, less 2
    fixed_measure measure;
    EXPECT_EQ(ruler_layout(ruler, view, units.unit(), measure).label, "40 Feet");
}

TEST_F(scale_ruler_fixture, nothing_selected_hides_the_ruler)
{
    shapes.entries[0].selected = false;
    EXPECT_FALSE(prepare_ruler(ruler, view, shapes, units));
    EXPECT_FALSE(ruler.visible);
}

// The steps themselves are the legend's too (legend_nudge); the ruler adds
// its own extent to the edge it stops at.
TEST_F(scale_ruler_fixture, nudges_stop_where_the_ruler_meets_the_edge)
{
    ruler.step = 10;
    ruler.w = 200;
    ruler.x = 400 - 205;
    for (int i = 0; i < 7; ++i) nudge_ruler_right(ruler, view);
    EXPECT_EQ(ruler.x, 200);

    ruler.y = 150;
    nudge_ruler_down(ruler, view);
    EXPECT_EQ(ruler.y, 160);
    for (int i = 0; i < 40; ++i) nudge_ruler_down(ruler, view);
    EXPECT_EQ(ruler.y, 190) << "a horizontal ruler's bar is 10 pixels thick";
}

TEST_F(scale_ruler_fixture, border_percentages_and_positions)
{
    for (const auto& [percent, position] : {std::pair{150, 40}, {50, 20}, {-30, 0}, {0, 0}})
        EXPECT_EQ(border_position(percent), position) << percent;
    // 2.5 and 7.5 go to the even neighbour.
    for (const auto& [position, percent] : {std::pair{20, 50}, {1, 2}, {3, 8}})
        EXPECT_EQ(border_percent(position), percent) << position;
}

TEST_F(scale_ruler_fixture, label_and_lines_of_both_orientations)
{
    fixed_measure measure;
    ruler.amount = "40";
    recompute();  // w = 198; "40 Metres" is 63 pixels
    const ruler_picture across = ruler_layout(ruler, view, units.unit(), measure);
    EXPECT_EQ(std::tuple(across.label, across.label_x, across.label_y), std::tuple("40 Metres", 67, 0));
    EXPECT_EQ(across.lines, (std::vector<ruler_line>{
                                {0, 0, 0, 10}, {0, 5, 67, 5}, {130, 5, 197, 5}, {197, 0, 197, 10}}));

    ruler = {};
    ruler.visible = true;
    ruler.orientation = ruler_orientation::vertical;
    ruler.amount = "20";
    ruler.x = 50;
    ruler.w = 0;  // placed before: x stays
    recompute();  // h = 98
    const ruler_picture up = ruler_layout(ruler, view, units.unit(), measure);
    EXPECT_EQ(std::tuple(up.label, up.label_x, up.label_y), std::tuple("20 M", 36, 43));
    EXPECT_EQ(up.lines, (std::vector<ruler_line>{
                            {50, 0, 60, 0}, {55, 0, 55, 43}, {55, 55, 55, 98}, {50, 98, 60, 98}}));

    // Nudged against the far edges, the end tick stays on the surface's last row.
    view.surface = {0, 0, 400, 200};
    for (int i = 0; i < 200; ++i) nudge_ruler_down(ruler, view);
    EXPECT_EQ(ruler_layout(ruler, view, units.unit(), measure).lines.back(), (ruler_line{50, 199, 60, 199}));
    ruler.orientation = ruler_orientation::horizontal;
    ruler.amount = "40";
    recompute();
    for (int i = 0; i < 400; ++i) nudge_ruler_right(ruler, view);
    EXPECT_EQ(ruler_layout(ruler, view, units.unit(), measure).lines.back(), (ruler_line{399, 102, 399, 112}))
        << "and on its last column";
}

} // namespace
} // namespace wayloom
