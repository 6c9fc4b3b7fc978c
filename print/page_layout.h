// A printed page: the paper, its margins, and where the title line, the map,
// the scale ruler and the legend go, the map either at a true scale 1:N or
// fitted to the paper. Lengths are millimetres on the paper, measured from
// the paper's top-left corner, unless a name says otherwise. Nothing here
// needs Qt: the painter measures the text and hands the sizes in.
#pragma once

#include "view/geometry/units.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

// A sheet as it comes out of the packet, portrait, millimetres.
struct paper_size {
    std::string_view name;  // "a4", as wayloom-cli's --paper takes it
    long double width = 0;
    long double height = 0;
};

inline constexpr paper_size paper_a4{"a4", 210, 297};
inline constexpr paper_size paper_a3{"a3", 297, 420};
inline constexpr paper_size paper_letter{"letter", 215.9L, 279.4L};

// "a4", "a3" or "letter"; nothing for any other name.
std::optional<paper_size> paper_named(std::string_view name);

// Kept clear on every side: most printers cannot print closer to the edge.
inline constexpr long double page_margin = 10;
// Between the title, the map, the ruler and the legend.
inline constexpr long double page_gap = 4;
// The largest N of 1:N taken; beyond it a map of the whole earth is a dot.
inline constexpr std::int64_t largest_scale = 1'000'000'000;

// The paper as turned, less the margins: a4 portrait gives 190 x 277.
struct printable_area {
    long double width = 0;
    long double height = 0;
};
printable_area printable(const paper_size& paper, bool landscape);

// "a4 portrait", "letter landscape".
std::string paper_description(const paper_size& paper, bool landscape);

// Millimetres in one of the unit: 1000 for metres, 304.8 for feet.
long double unit_millimetres(const unit_choice& choice);

// The ground the map covers, millimetres, from its ranges in map units
// (corrected longitude across, latitude up) through the unit's own length
// per degree: the same figures the scale ruler measures with.
struct ground_size {
    long double width = 0;
    long double height = 0;
};
ground_size ground_of(long double lon_range, long double lat_range, const unit_choice& choice);

struct page_request {
    paper_size paper = paper_a4;
    bool landscape = false;
    std::optional<std::int64_t> scale;  // N of 1:N; none: the map fitted to the paper
    ground_size ground;                  // the map's extent on the ground
    // The parts beside the map, as measured; a height of 0 leaves one out.
    long double title_width = 0, title_height = 0;
    long double ruler_height = 0;
    long double legend_width = 0, legend_height = 0;
};

struct page_box {
    long double x = 0, y = 0, width = 0, height = 0;
};

// The title centred over the block; the map, the ruler and the legend one
// under another at the block's left edge; the block centred in the printable
// area. The ruler's box is as wide as the map, the longest it can be.
struct page_plan {
    long double paper_width = 0, paper_height = 0;  // as turned
    page_box title, map, ruler, legend;
    long double scale = 0;  // paper millimetres to ground millimetres, N of 1:N
};

// The plan, or the message saying why the page cannot hold the map: at a
// true scale "at 1:5000 the map needs 412 x 288 mm; a4 portrait gives 190 x
// 277 mm" (the whole block, rounded up; the printable area, rounded down).
struct page_result {
    std::optional<page_plan> plan;
    std::string error;
};
page_result lay_out_page(const page_request& request);

// What a scale field holds: "1:5000" or "5000" is 5000, "fit to page" or
// nothing is the map fitted to the paper (no value). A text that is neither,
// or a scale outside 1..largest_scale, gives an error message.
struct scale_choice {
    std::optional<std::int64_t> scale;
    std::string error;
};
scale_choice parse_scale(std::string_view text);

// "1:5000", or "fit to page" for none.
std::string scale_text(std::optional<std::int64_t> scale);

} // namespace wayloom
