// A page of the map: the title line, the map at a true scale or fitted to
// the paper, the scale ruler and the legend, laid out by page_layout with
// their text measured at the page's resolution and painted on a PDF, an SVG
// or a printer: the map and the ruler in fractions of a page pixel
// (page_map.h), the legend by the annotations' own QPainter code.
#pragma once

#include "annotations/legend.h"
#include "annotations/scale_ruler.h"
#include "print/page_layout.h"
#include "view/geometry/view_state.h"

#include <QPainter>

#include <optional>
#include <string>

namespace wayloom {

struct map_document;

// What the page shows beside the map, and how.
struct page_order {
    std::string title;             // the map's name
    paper_size paper = paper_a4;
    bool landscape = false;
    std::optional<std::int64_t> scale;  // N of 1:N; none: fitted to the paper
    unit_choice unit;                   // the ruler's unit, and the ground's
    std::optional<scale_ruler> ruler;   // its amount; drawn under the map, across
    std::optional<legend_state> legend;  // its chosen entries; drawn when there are any
};

// A page ready to paint: the plan in millimetres, the map projected into its
// box at page_detail times the page's resolution (see page_map.h), the ruler
// and the legend measured for the page.
struct page_picture {
    page_plan plan;
    view_state view;
    std::string title;
    unit_choice unit;
    std::optional<scale_ruler> ruler;
    long double ruler_length = 0;  // page pixels between the ruler's ticks, its true length on paper
    std::optional<legend_state> legend;
};

struct prepared_page {
    std::optional<page_picture> page;
    std::string error;  // why the paper cannot hold the map
};

// Projects the selected items (or the item being built) of `doc` for the
// page, starting from the window's `view` (its border and background), and
// lays the page out. The items' pixels then belong to the page: the window
// projects them again for the screen afterwards.
prepared_page prepare_page(map_document& doc, const view_state& view, const page_order& order);

// Paints the page on a device of page_dots_per_inch whose origin is the
// paper's top-left corner (see save_vector; a printer with a full page).
void paint_page(QPainter& painter, page_picture& page, const map_document& doc);

// The page as a PDF or SVG file, the size of the paper as turned; false with
// the message in `error` when the file cannot be written.
bool save_page(const std::string& file_name, page_picture& page, const map_document& doc,
               std::string* error);

} // namespace wayloom
