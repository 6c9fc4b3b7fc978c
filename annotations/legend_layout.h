// The legend's geometry: entry heights, the block's width and height, and
// where each swatch and text goes. Text is measured through text_measure, so
// the window measures with its font and tests with fixed numbers.
#pragma once

#include "model/colour.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

// Text size in pixels in the legend's font.
class text_measure {
public:
    virtual ~text_measure() = default;
    virtual std::int32_t text_width(std::string_view text) const = 0;
    virtual std::int32_t text_height(std::string_view text) const = 0;
};

// Font sizes a legend takes, in points, from the window, the command line
// or the settings file; beyond them a legend would only draw empty boxes
// and exhaust memory.
inline constexpr std::int32_t min_legend_font_size = 1;
inline constexpr std::int32_t max_legend_font_size = 500;
// A size held to that range.
constexpr std::int32_t legend_font_size(std::int64_t points)
{
    return points < min_legend_font_size   ? min_legend_font_size
           : points > max_legend_font_size ? max_legend_font_size
                                           : static_cast<std::int32_t>(points);
}

// The font the legend is drawn in. An empty name keeps the canvas's font.
struct legend_font {
    std::string name;
    std::int32_t size = 10;  // points
    bool bold = false;
};

struct legend_entry {
    colour_value colour = grey;  // the swatch
    std::string text;            // the name as listed
    std::int32_t text_height = 0;
};

// What goes into an entry before it is measured.
struct legend_source {
    std::string text;
    colour_value colour = grey;
};

struct legend_layout {
    std::vector<legend_entry> entries;
    // Pixels; −1 by −1 for a legend without entries.
    std::int32_t width = -1;
    std::int32_t height = -1;

    std::int32_t count() const { return static_cast<std::int32_t>(entries.size()); }
};

// Measures the entries in order. Each adds the tallest text height so far to
// the height, which starts at −1; the width is the widest text plus that
// height and half of it again (room for the swatch and a gap). One font for
// all gives n·t − 1 by (widest + t + t/2).
legend_layout measure_legend(std::span<const legend_source> sources, const text_measure& measure);

// Pixels; right and bottom excluded.
struct legend_rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const legend_rect&, const legend_rect&) = default;
};

struct legend_line {
    legend_rect swatch;          // filled in the entry's colour
    colour_value colour = grey;
    bool outlined = false;       // in the text colour: the swatch is the background's colour
    std::string text;            // underscores shown as spaces
    std::int32_t text_x = 0, text_y = 0;  // the text's top-left corner
};

// Everything one drawing of the legend paints, top-left corner at (x, y):
// the block in the background colour, then per line a swatch h wide from
// h/4 below the line top to h/4 above its bottom, and the text from h + h/2
// across, on the background, white on black and black on anything else. A
// swatch of the background's own colour gets an outline so that it shows.
struct legend_drawing {
    legend_rect block;
    colour_value background = black;
    colour_value text_colour = black;
    std::vector<legend_line> lines;
};

legend_drawing lay_out_legend(const legend_layout& layout, std::int32_t x, std::int32_t y,
                              colour_value background);

// The text as the legend shows it: every underscore a space.
std::string legend_text(std::string_view name);

} // namespace wayloom
