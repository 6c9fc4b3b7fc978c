#include "annotations/legend.h"
#include "annotations/nudge.h"
#include "tests/settings_map.h"
#include "tests/annotations/legend_map.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <tuple>

namespace wayloom {
namespace {

// Every text `height` pixels high and 7 pixels per character wide, unless
// the table gives it its own height.
struct fixed_measure : text_measure {
    std::int32_t height = 13;
    std::map<std::string, std::int32_t, std::less<>> heights;
    std::int32_t text_width(std::string_view text) const override
    {
        return static_cast<std::int32_t>(7 * text.size());
    }
    std::int32_t text_height(std::string_view text) const override
    {
        const auto own = heights.find(text);
        return own == heights.end() ? height : own->second;
    }
};

constexpr colour_value red = make_colour(255, 0, 0);
constexpr colour_value white = make_colour(255, 255, 255);

struct legend_fixture : ::testing::Test {
    map_document doc;
    legend_state legend;
    fixed_measure measure;

    void SetUp() override { testing::make_legend_map(doc); }
    std::vector<std::string> listed() const
    {
        std::vector<std::string> names;
        for (const legend_list_item& item : legend.legend_list) names.push_back(item.text);
        return names;
    }
    void choose(std::initializer_list<std::size_t> rows)
    {
        for (std::size_t row : rows) legend.legend_list.at(row).selected = true;
    }
};

TEST_F(legend_fixture, three_entries_of_one_height_make_the_block_and_its_swatches)
{
    legend.classification = legend_classification::shapes;
    analyse(legend, doc);
    choose({0, 1, 2});
    update_legend(legend, doc, measure);
    // Widest text "North_Field": 11 × 7 = 77 pixels.
    EXPECT_EQ(std::tie(legend.layout.width, legend.layout.height), std::tuple(77 + 13 + 6, 38));

    const legend_drawing drawing = lay_out_legend(legend.layout, 10, 20, white);
    EXPECT_EQ(drawing.block, (legend_rect{10, 20, 106, 58}));
    ASSERT_EQ(drawing.lines.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::int32_t top = 20 + 13 * static_cast<std::int32_t>(i);
        const legend_line& line = drawing.lines[i];
        EXPECT_EQ(line.swatch, (legend_rect{10, top + 3, 23, top + 10})) << "line " << i;
        EXPECT_EQ(std::tie(line.text_x, line.text_y), std::tuple(29, top)) << "line " << i;
    }
    EXPECT_EQ(drawing.lines[0].colour, make_colour(1, 1, 1));
    EXPECT_EQ(drawing.lines[2].text, "North Field");
    EXPECT_EQ(drawing.text_colour, black);
}

TEST_F(legend_fixture, the_running_tallest_line_sets_each_step_of_the_height)
{
    legend.classification = legend_classification::shapes;
    analyse(legend, doc);
    choose({0, 1, 2});
    measure.heights = {{"meadow", 10}, {"pond", 20}, {"North_Field", 15}};
    update_legend(legend, doc, measure);
    // −1 + 10 + 20 + 20; the width takes the tallest line for its swatch.
    EXPECT_EQ(std::tie(legend.layout.width, legend.layout.height), std::tuple(77 + 20 + 10, 49));
    const legend_drawing drawing = lay_out_legend(legend.layout, 0, 0, white);
    // Lines advance by their own heights; each swatch fits its own line.
    EXPECT_EQ(drawing.lines[1].swatch, (legend_rect{0, 15, 20, 25}));
    EXPECT_EQ(drawing.lines[2].text_y, 30);
    EXPECT_EQ(drawing.lines[2].swatch, (legend_rect{0, 33, 15, 42}));
}

TEST_F(legend_fixture, text_is_white_only_on_black_and_a_swatch_of_the_background_is_outlined)
{
    legend.classification = legend_classification::shapes;
    analyse(legend, doc);
    choose({2});
    update_legend(legend, doc, measure);  // North_Field, colour (3, 3, 3)
    struct row { colour_value background, text; bool outlined; };
    const row rows[] = {
        {black, white, false}, {make_colour(1, 0, 0), black, false}, {white, black, false},
        {make_colour(3, 3, 3), black, true},
    };
    for (const row& r : rows) {
        const legend_drawing drawing = lay_out_legend(legend.layout, 0, 0, r.background);
        EXPECT_EQ(drawing.text_colour, r.text) << r.background;
        EXPECT_EQ(drawing.lines.at(0).outlined, r.outlined) << r.background;
    }
}

TEST_F(legend_fixture, analyse_lists_classes_or_shapes_and_marks_the_list_ready)
{
    analyse(legend, doc);
    EXPECT_EQ(listed(), (std::vector<std::string>{"pasture", "water"}));
    EXPECT_TRUE(doc.legend_ready);

    legend.classification = legend_classification::shapes;
    analyse(legend, doc);
    EXPECT_EQ(listed(), (std::vector<std::string>{"meadow", "pond", "North_Field"}))
        << "point sets are not listed";

    // Shapes but no classes listed: ready with nothing to choose.
    legend.classification = legend_classification::classes;
    doc.class_list.clear();
    analyse(legend, doc);
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(doc.legend_ready);

    // No shape at all: not ready, so nothing can be placed.
    map_document empty;
    analyse(legend, empty);
    EXPECT_TRUE(listed().empty());
    EXPECT_FALSE(empty.legend_ready);
}

TEST_F(legend_fixture, entries_follow_list_order_with_class_or_shape_colours)
{
    analyse(legend, doc);
    choose({1, 0});
    update_legend(legend, doc, measure);
    ASSERT_EQ(legend.count(), 2);
    EXPECT_EQ(legend.layout.entries[0].text, "pasture");
    EXPECT_EQ(legend.layout.entries[0].colour, make_colour(0, 200, 0));
    EXPECT_EQ(legend.layout.entries[1].colour, make_colour(0, 0, 200));

    // Nothing chosen: no entries, −1 by −1.
    legend.legend_list[0].selected = legend.legend_list[1].selected = false;
    update_legend(legend, doc, measure);
    EXPECT_EQ(std::tie(legend.layout.width, legend.layout.height), std::tuple(-1, -1));
}

TEST_F(legend_fixture, changed_items_keep_their_choice_and_the_legend_follows_the_map)
{
    legend.classification = legend_classification::shapes;
    analyse(legend, doc);
    choose({0, 1});
    update_legend(legend, doc, measure);
    doc.shapes[0]->name = "wet_meadow";
    doc.unlink(*doc.shapes[1]);  // pond
    // Until the list is made again the arrows wait, and the stale list
    // never reaches the deleted shape.
    EXPECT_FALSE(nudge_legend(legend, doc, nudge_direction::down, 500, 500));
    update_legend(legend, doc, measure);
    EXPECT_EQ(legend.count(), 1);
    legend_items_changed(legend, doc, measure);
    EXPECT_TRUE(nudge_legend(legend, doc, nudge_direction::down, 500, 500));
    EXPECT_EQ(listed(), (std::vector<std::string>{"wet_meadow", "North_Field"}));
    EXPECT_TRUE(legend.legend_list[0].selected && !legend.legend_list[1].selected);
    ASSERT_EQ(legend.count(), 1) << "the deleted shape left the legend";
    EXPECT_EQ(legend.layout.entries[0].text, "wet_meadow");

    // A legend without entries stays without: nothing was placed.
    legend_state unplaced;
    analyse(unplaced, doc);
    unplaced.legend_list[0].selected = true;
    legend_items_changed(unplaced, doc, measure);
    EXPECT_EQ(unplaced.count(), 0);
    EXPECT_TRUE(unplaced.legend_list[0].selected);
}

TEST_F(legend_fixture, plonk_toggles_only_with_items_and_a_ready_list)
{
    legend.classification = legend_classification::shapes;
    EXPECT_EQ(plonk(legend, doc, measure).button_down, false);
    EXPECT_FALSE(legend.on_map) << "not analysed yet";

    analyse(legend, doc);
    // Nothing chosen: on the map, but with no entries nothing is drawn.
    const plonk_result on = plonk(legend, doc, measure);
    EXPECT_TRUE(on.button_down && on.resize && legend.on_map);
    EXPECT_EQ(legend.count(), 0);
    const plonk_result off = plonk(legend, doc, measure);
    EXPECT_FALSE(off.button_down || off.resize || legend.on_map);

    legend.on_map = true;
    doc.shape_list.clear();
    EXPECT_FALSE(plonk(legend, doc, measure).button_down);
    EXPECT_TRUE(legend.on_map) << "an empty shape list keeps on_map";
}

TEST_F(legend_fixture, a_class_recolour_reaches_its_shapes)
{
    analyse(legend, doc);
    EXPECT_FALSE(change_colour(legend, doc, red)) << "nothing chosen";
    choose({0});
    EXPECT_TRUE(change_colour(legend, doc, red));
    EXPECT_EQ(doc.classes[0]->colour, red);
    EXPECT_EQ(std::tie(doc.shapes[0]->colour, doc.shapes[2]->colour), std::tie(red, red));
    EXPECT_EQ(doc.shapes[1]->colour, make_colour(2, 2, 2)) << "pond is water, not pasture";
    EXPECT_EQ(doc.classes[1]->colour, make_colour(0, 0, 200));

    legend.classification = legend_classification::shapes;
    analyse(legend, doc);
    choose({1});
    EXPECT_TRUE(change_colour(legend, doc, white));
    EXPECT_EQ(doc.shapes[1]->colour, white);
    EXPECT_EQ(doc.classes[1]->colour, make_colour(0, 0, 200)) << "a shape leaves its class alone";
}

TEST(legend_nudge, steps_then_pixels_then_the_edge)
{
    struct row {
        const char* name;
        std::int32_t from, step, size;
        long double limit;
        bool forward;
        std::vector<std::int32_t> clicks;
    };
    const row rows[] = {
        {"down_step_5_near_the_bottom", 200 - 38 - 3, 5, 38, 200, true, {160, 161, 162, 162}},
        {"down_whole_steps_while_they_fit", 0, 5, 38, 200, true, {5, 10, 15}},
        {"right_snaps_half_to_even", 160, 5, 38, 200.5L, true, {161, 162, 163, 162}},
        {"right_block_wider_than_the_map", 3, 1, 300, 200, true, {0, 0}},
        {"up_step_10_from_4", 4, 10, 0, 0, false, {3, 2, 1, 0, 0}},
        {"up_whole_steps", 30, 10, 0, 0, false, {20, 10, 9}},
        {"up_from_a_negative_position", -5, 1, 0, 0, false, {0}},
        {"huge_step_forward", 10, std::numeric_limits<std::int32_t>::max(), 38, 200, true, {11}},
        {"huge_negative_step_forward", 10, std::numeric_limits<std::int32_t>::min(), 38, 200, true, {0}},
        {"huge_negative_step_back", 10, std::numeric_limits<std::int32_t>::min(), 0, 0, false,
         {std::numeric_limits<std::int32_t>::max()}},
    };
    for (const row& r : rows) {
        std::int32_t position = r.from;
        std::vector<std::int32_t> seen;
        for (std::size_t i = 0; i < r.clicks.size(); ++i) {
            position = r.forward ? nudge_forward(position, r.step, r.size, r.limit)
                                 : nudge_back(position, r.step);
            seen.push_back(position);
        }
        EXPECT_EQ(seen, r.clicks) << r.name;
    }
}

TEST(legend_controls, step_box_font_size_box_and_bold_style)
{
    legend_state legend;
    const std::tuple<const char*, std::int32_t, std::optional<std::string>> steps[] = {
        {"5", 5, std::nullopt}, {" 12 ", 12, std::nullopt}, {"0", 0, std::nullopt},
        {"x", 1, "1"},          {"", 1, "1"},               {"-1", 1, "1"},
        {"99999999999", 1, "1"},
    };
    for (const auto& [text, step, shown] : steps) {
        legend.step = 7;
        EXPECT_EQ(step_edit_change(legend, text), shown) << text;
        EXPECT_EQ(legend.step, step) << text;
    }
    // One range for the window, the command line and the settings: 1 to 500.
    const std::pair<const char*, std::int32_t> sizes[] = {
        {"14", 14}, {"14pt", 10}, {"500", 500}, {"100000", 500}, {"0", 1}, {"-7", 1},
    };
    for (const auto& [text, size] : sizes) EXPECT_EQ(font_size_from_text(text), size) << text;

    EXPECT_TRUE(exactly_bold({.bold = true}));
    for (const font_style other : {font_style{.bold = true, .italic = true}, font_style{.bold = true, .underline = true},
                                   font_style{.bold = true, .strike_out = true}, font_style{}})
        EXPECT_FALSE(exactly_bold(other));
}

TEST(legend_settings, written_keys_read_back_and_bad_values_give_defaults)
{
    legend_state legend;
    legend.x = 12;
    legend.y = -3;
    legend.step = 4;
    legend.font = {"Serif", 14, true};
    legend.legend_image = true;
    std::vector<std::pair<std::string, std::string>> written;
    save_legend_settings(legend, [&](std::string_view key, std::string_view value) {
        written.emplace_back(key, value);
    });
    const decltype(written) expected{{"x", "12"},         {"y", "-3"},        {"step", "4"},
                                     {"font_size", "14"}, {"font_bold", "1"}, {"legend_image", "1"}};
    EXPECT_EQ(written, expected);

    legend_state back;
    const testing::settings_map stored(written.begin(), written.end());
    load_legend_settings(back, testing::reader_of(stored));
    EXPECT_EQ(std::tie(back.x, back.y, back.step, back.font.size, back.font.bold, back.legend_image),
              std::tuple(12, -3, 4, 14, true, true));
    EXPECT_EQ(back.font.name, "") << "the font name is not kept";

    legend_state bad;
    const testing::settings_map bad_values = {{"x", "4294967296"}, {"step", "two"}, {"font_size", "100000"}};
    load_legend_settings(bad, testing::reader_of(bad_values));
    EXPECT_EQ(std::tie(bad.x, bad.y, bad.step, bad.font.size, bad.font.bold, bad.legend_image),
              std::tuple(0, 0, 1, 10, false, false));
}

} // namespace
} // namespace wayloom
