#include "annotations/legend_layout.h"

#include <algorithm>
#include <limits>

namespace wayloom {

namespace {

// Positions come from the settings file and the nudges; adding a size to one
// near the end of the 32-bit range holds it there instead of wrapping.
std::int32_t offset(std::int32_t position, std::int64_t by)
{
    const std::int64_t sum = std::int64_t{position} + by;
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(sum, lowest, highest));
}

} // namespace

legend_layout measure_legend(std::span<const legend_source> sources, const text_measure& measure)
{
    legend_layout layout;
    std::int64_t height = -1, width = -1, tallest = 0;
    for (const legend_source& source : sources) {
        legend_entry entry{source.colour, source.text, measure.text_height(source.text)};
        tallest = std::max<std::int64_t>(tallest, entry.text_height);
        height += tallest;
        width = std::max<std::int64_t>(width, measure.text_width(source.text));
        layout.entries.push_back(std::move(entry));
    }
    width += tallest + tallest / 2;
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    layout.width = static_cast<std::int32_t>(std::min(width, highest));
    layout.height = static_cast<std::int32_t>(std::min(height, highest));
    return layout;
}

legend_drawing lay_out_legend(const legend_layout& layout, std::int32_t x, std::int32_t y,
                              colour_value background)
{
    legend_drawing drawing;
    drawing.block = {x, y, offset(x, layout.width), offset(y, layout.height)};
    drawing.background = background;
    drawing.text_colour = background == black ? make_colour(255, 255, 255) : black;
    std::int32_t top = y;
    for (const legend_entry& entry : layout.entries) {
        const std::int32_t h = entry.text_height;
        legend_line line;
        line.swatch = {x, offset(top, h / 4), offset(x, h), offset(top, std::int64_t{h} - h / 4)};
        line.colour = entry.colour;
        line.outlined = entry.colour == background;
        line.text = legend_text(entry.text);
        line.text_x = offset(x, std::int64_t{h} + h / 2);
        line.text_y = top;
        drawing.lines.push_back(std::move(line));
        top = offset(top, h);
    }
    return drawing;
}

std::string legend_text(std::string_view name)
{
    std::string text(name);
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

} // namespace wayloom
