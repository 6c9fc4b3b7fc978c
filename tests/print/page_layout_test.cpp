// The printed page without Qt: paper and margins, the map at 1:N or fitted,
// where the title, the ruler and the legend go, and the message when the
// paper is too small.
#include "print/page_layout.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

constexpr long double tolerance = 1e-9L;

TEST(page_layout, printable_area_and_description)
{
    const printable_area a4 = printable(paper_a4, true);
    EXPECT_EQ(std::tuple(a4.width, a4.height), std::tuple(277, 190));
    EXPECT_NEAR(printable(paper_letter, false).width, 195.9L, tolerance);
    EXPECT_EQ(paper_description(paper_letter, true), "letter landscape");
    EXPECT_EQ(paper_named("a3")->width, 297);
    EXPECT_FALSE(paper_named("A4")) << "the names are wayloom-cli's, lower case";
}

// One unit's length on paper and the ground from map units: a degree is
// 111205.394 metres in every unit, so 360 map units across are that long.
TEST(page_layout, ground_from_map_units_in_every_unit)
{
    struct row {
        const char* name;
        const char* unit;
        long double millimetres;
    };
    const row rows[] = {{"metre", "metre", 1000},     {"kilometre", "kilometre", 1e6L},
                        {"feet", "feet", 304.8L},     {"yard", "yard", 914.4L},
                        {"mile", "mile", 1609344.0L}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const unit_choice unit = *unit_named(r.unit);
        EXPECT_EQ(unit_millimetres(unit), r.millimetres);
        const ground_size ground = ground_of(360, 180, unit);
        // The units' lengths per degree are rounded figures: within 0.01%.
        EXPECT_NEAR(ground.width / 111205394.0L, 1.0L, 1e-4L);
        EXPECT_NEAR(ground.height / ground.width, 0.5L, tolerance);
    }
}

// A map 500 m across and 600 m up at 1:5000 is 100 × 120 mm.
page_request farm_like(std::optional<std::int64_t> scale)
{
    page_request r;
    r.scale = scale;
    r.ground = {500'000, 600'000};
    return r;
}

TEST(page_layout, true_scale_centres_the_map)
{
    const page_result result = lay_out_page(farm_like(5000));
    ASSERT_TRUE(result.plan) << result.error;
    const page_plan& plan = *result.plan;
    EXPECT_EQ(std::tuple(plan.paper_width, plan.paper_height), std::tuple(210, 297));
    EXPECT_NEAR(plan.map.width, 100, tolerance);
    EXPECT_NEAR(plan.map.height, 120, tolerance);
    EXPECT_NEAR(plan.map.x, 55, tolerance);  // (210 − 100) / 2
    EXPECT_NEAR(plan.map.y, 88.5L, tolerance);
    EXPECT_NEAR(plan.scale, 5000, tolerance);
}

TEST(page_layout, title_ruler_and_legend_stack_under_one_another)
{
    page_request r = farm_like(5000);
    r.title_width = 30;
    r.title_height = 6;
    r.ruler_height = 4;
    r.legend_width = 120;  // wider than the map: the block takes its width
    r.legend_height = 10;
    const page_result result = lay_out_page(r);
    ASSERT_TRUE(result.plan) << result.error;
    const page_plan& p = *result.plan;
    // Block 120 wide and 6 + 4 + 120 + 4 + 4 + 4 + 10 = 152 high.
    EXPECT_NEAR(p.map.x, 45, tolerance);
    EXPECT_NEAR(p.title.y, 10 + (277 - 152) / 2.0L, tolerance);
    EXPECT_NEAR(p.title.x, 45 + 45, tolerance) << "centred over the block";
    EXPECT_NEAR(p.map.y, p.title.y + 6 + page_gap, tolerance);
    EXPECT_NEAR(p.ruler.y, p.map.y + 120 + page_gap, tolerance);
    EXPECT_NEAR(p.ruler.width, 100, tolerance);
    EXPECT_NEAR(p.legend.y, p.ruler.y + 4 + page_gap, tolerance);
    EXPECT_NEAR(p.legend.x, p.map.x, tolerance);
    EXPECT_NEAR(p.legend.y + p.legend.height, 297 - p.title.y, tolerance) << "centred up and down";
}

TEST(page_layout, a_map_too_large_for_the_paper_says_what_it_needs)
{
    struct row {
        const char* name;
        paper_size paper;
        bool landscape;
        std::int64_t scale;
        long double ruler_height;
        const char* error;  // empty: it fits
    };
    const row rows[] = {
        {"fits", paper_a4, false, 5000, 0, ""},
        {"too_large", paper_a4, false, 1000, 0,
         "at 1:1000 the map needs 500 x 600 mm; a4 portrait gives 190 x 277 mm"},
        // 190 wide exactly fits; the height with the ruler is rounded up.
        {"exactly_the_width", paper_a4, false, 2632, 0, ""},
        {"ruler_makes_it_too_tall", paper_a4, false, 2632, 50,
         "at 1:2632 the map needs 190 x 282 mm; a4 portrait gives 190 x 277 mm"},
        {"landscape_letter", paper_letter, true, 2000, 0,
         "at 1:2000 the map needs 250 x 300 mm; letter landscape gives 259 x 195 mm"},
        {"a3_holds_it", paper_a3, false, 2000, 0, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        page_request request = farm_like(r.scale);
        request.paper = r.paper;
        request.landscape = r.landscape;
        request.ruler_height = r.ruler_height;
        const page_result result = lay_out_page(request);
        EXPECT_EQ(result.error, r.error);
        EXPECT_EQ(result.plan.has_value(), std::string(r.error).empty());
    }
}

TEST(page_layout, fitted_keeps_proportions_in_the_room_left)
{
    struct row {
        const char* name;
        ground_size ground;
        long double title_height;
        long double width, height;
    };
    const row rows[] = {
        // Taller than the paper's shape: the height decides.
        {"tall", {200'000, 600'000}, 0, 277 / 3.0L, 277},
        {"tall_with_title", {200'000, 600'000}, 10, (277 - 14) / 3.0L, 277 - 14},
        {"a_little_taller_than_wide", {500'000, 600'000}, 0, 190, 228},
        // Wide: the width decides.
        {"wide", {1'000'000, 100'000}, 0, 190, 19},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        page_request request;
        request.ground = r.ground;
        request.title_width = 20;
        request.title_height = r.title_height;
        const page_result result = lay_out_page(request);
        ASSERT_TRUE(result.plan) << result.error;
        EXPECT_NEAR(result.plan->map.width, r.width, 1e-6L);
        EXPECT_NEAR(result.plan->map.height, r.height, 1e-6L);
        EXPECT_NEAR(result.plan->scale, r.ground.width / r.width, 1e-6L);
    }
    page_request crowded;
    crowded.ground = {500'000, 600'000};
    crowded.legend_width = 200;
    crowded.legend_height = 20;
    EXPECT_EQ(lay_out_page(crowded).error,
              "the title, ruler and legend need 200 x 24 mm; a4 portrait gives 190 x 277 mm");
}

TEST(page_layout, scale_field)
{
    struct row {
        const char* text;
        std::optional<std::int64_t> scale;
        bool error;
    };
    const row rows[] = {
        {"1:5000", 5000, false}, {"5000", 5000, false},         {" 1:2500 ", 2500, false},
        {"fit to page", {}, false}, {"Fit to page", {}, false},  {"", {}, false},
        {"1:0", {}, true},         {"1:-5", {}, true},           {"1:5000.5", {}, true},
        {"1:1000000001", {}, true}, {"one to five", {}, true},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.text);
        const scale_choice choice = parse_scale(r.text);
        EXPECT_EQ(choice.scale, r.scale);
        EXPECT_EQ(!choice.error.empty(), r.error);
    }
    EXPECT_EQ(parse_scale("1:0").error, "The scale is 1:N with N from 1 to 1000000000, or fit to page, not 1:0");
    EXPECT_EQ(scale_text(5000), "1:5000");
    EXPECT_EQ(scale_text(std::nullopt), "fit to page");
}

} // namespace
} // namespace wayloom
