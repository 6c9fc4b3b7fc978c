#include "print/page_layout.h"

#include "model/map_units.h"
#include "source/number_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace wayloom {

namespace {

// Sums of millimetres carry float noise: 190 must not read as 190.0000001.
constexpr long double slack = 1e-6L;

std::int64_t rounded_up(long double mm) { return static_cast<std::int64_t>(std::ceil(mm - slack)); }
std::int64_t rounded_down(long double mm) { return static_cast<std::int64_t>(std::floor(mm + slack)); }

// The parts under and over the map, each with its gap, as one height.
long double furniture_height(const page_request& r)
{
    long double height = 0;
    if (r.title_height > 0) height += r.title_height + page_gap;
    if (r.ruler_height > 0) height += page_gap + r.ruler_height;
    if (r.legend_height > 0) height += page_gap + r.legend_height;
    return height;
}

long double block_width(const page_request& r, long double map_width)
{
    long double width = map_width;
    if (r.title_height > 0) width = std::max(width, r.title_width);
    if (r.legend_height > 0) width = std::max(width, r.legend_width);
    return width;
}

std::string size_text(std::int64_t width, std::int64_t height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " mm";
}

// Everything placed once the map's size on the paper is known.
page_plan place(const page_request& r, const printable_area& area, long double map_width,
                long double map_height)
{
    page_plan plan;
    plan.paper_width = r.landscape ? r.paper.height : r.paper.width;
    plan.paper_height = r.landscape ? r.paper.width : r.paper.height;
    const long double width = block_width(r, map_width);
    const long double height = furniture_height(r) + map_height;
    const long double left = page_margin + (area.width - width) / 2;
    long double y = page_margin + (area.height - height) / 2;
    if (r.title_height > 0) {
        plan.title = {left + (width - r.title_width) / 2, y, r.title_width, r.title_height};
        y += r.title_height + page_gap;
    }
    plan.map = {left, y, map_width, map_height};
    y += map_height;
    if (r.ruler_height > 0) {
        plan.ruler = {left, y + page_gap, map_width, r.ruler_height};
        y += page_gap + r.ruler_height;
    }
    if (r.legend_height > 0) plan.legend = {left, y + page_gap, r.legend_width, r.legend_height};
    plan.scale = r.ground.width / map_width;
    return plan;
}

} // namespace

std::optional<paper_size> paper_named(std::string_view name)
{
    for (const paper_size& paper : {paper_a4, paper_a3, paper_letter})
        if (paper.name == name) return paper;
    return std::nullopt;
}

printable_area printable(const paper_size& paper, bool landscape)
{
    const long double width = landscape ? paper.height : paper.width;
    const long double height = landscape ? paper.width : paper.height;
    return {width - 2 * page_margin, height - 2 * page_margin};
}

std::string paper_description(const paper_size& paper, bool landscape)
{
    return std::string(paper.name) + (landscape ? " landscape" : " portrait");
}

long double unit_millimetres(const unit_choice& choice)
{
    if (choice.system == measurement_system::metric)
        return choice.metric == metric_unit::metre ? 1000.0L : 1'000'000.0L;
    switch (choice.imperial) {
    case imperial_unit::feet: return 304.8L;
    case imperial_unit::yard: return 914.4L;
    case imperial_unit::mile: break;
    }
    return 1'609'344.0L;
}

ground_size ground_of(long double lon_range, long double lat_range, const unit_choice& choice)
{
    const long double mm = unit_millimetres(choice);
    return {degrees_to_units(choice, to_degrees(lon_range)) * mm,
            degrees_to_units(choice, to_degrees(lat_range)) * mm};
}

page_result lay_out_page(const page_request& r)
{
    const printable_area area = printable(r.paper, r.landscape);
    const std::string gives = paper_description(r.paper, r.landscape) + " gives " +
                              size_text(rounded_down(area.width), rounded_down(area.height));
    const long double furniture = furniture_height(r);
    if (r.ground.width <= 0 || r.ground.height <= 0) return {std::nullopt, "the map has no extent"};

    if (r.scale) {
        const long double n = static_cast<long double>(*r.scale);
        const long double map_width = r.ground.width / n, map_height = r.ground.height / n;
        const long double width = block_width(r, map_width), height = furniture + map_height;
        if (width > area.width + slack || height > area.height + slack)
            return {std::nullopt, "at " + scale_text(r.scale) + " the map needs " +
                                      size_text(rounded_up(width), rounded_up(height)) + "; " + gives};
        return {place(r, area, map_width, map_height), ""};
    }

    // Fitted: as large as the room left beside the title, ruler and legend
    // allows, keeping the map's proportions.
    const long double room_height = area.height - furniture;
    const long double needed_width = block_width(r, 0);
    if (room_height <= 0 || needed_width > area.width + slack)
        return {std::nullopt, "the title, ruler and legend need " +
                                  size_text(rounded_up(needed_width), rounded_up(furniture)) + "; " +
                                  gives};
    const long double aspect = r.ground.width / r.ground.height;
    long double map_width = area.width, map_height = area.width / aspect;
    if (map_height > room_height) {
        map_height = room_height;
        map_width = room_height * aspect;
    }
    return {place(r, area, map_width, map_height), ""};
}

scale_choice parse_scale(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.empty() || lower == "fit to page") return {};
    std::string_view number = text;
    if (number.substr(0, 2) == "1:") number.remove_prefix(2);
    const std::optional<std::int64_t> n = parse_whole_number(number);
    if (!n || *n < 1 || *n > largest_scale)
        return {std::nullopt, "The scale is 1:N with N from 1 to " + std::to_string(largest_scale) +
                                  ", or fit to page, not " + std::string(text)};
    return {*n, ""};
}

std::string scale_text(std::optional<std::int64_t> scale)
{
    return scale ? "1:" + std::to_string(*scale) : "fit to page";
}

} // namespace wayloom
