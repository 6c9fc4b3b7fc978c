// The scale ruler: a bar with end ticks and a label ("500 Metres") drawn on
// the map. Its length in pixels follows from the typed amount, the map's
// extent in the current unit and the fitted drawing size; it is recomputed
// only when the measurement's flags say so (another unit, orientation,
// Plonk, Update, a nudge, a new border). Everything here is without Qt: the
// window forwards its controls, and the painter draws the lines and label
// that ruler_layout gives.
#pragma once

#include "annotations/legend_layout.h"
#include "view/geometry/units.h"
#include "view/geometry/view_state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wayloom {

struct item_list;

enum class ruler_orientation { horizontal, vertical };

// The bar's thickness across its axis, pixels: twice the tick.
constexpr std::int32_t ruler_thickness = 10;

struct scale_ruler {
    long double extent_x = 0;  // the map's extent in the unit, across
    long double extent_y = 0;  // and up
    ruler_orientation orientation = ruler_orientation::horizontal;
    bool visible = false;
    // Top-left corner and lengths, pixels of the surface. A horizontal
    // ruler only sets w, a vertical one only h; negative: never placed.
    std::int32_t x = 0, y = 0, w = -1, h = -1;
    std::int32_t step = 1;       // nudge step, pixels
    std::string amount = "0";    // as typed, in the unit

    bool horizontal() const { return orientation == ruler_orientation::horizontal; }
};

// Whether the map shows anything: an item being built, or a selected item.
bool map_has_drawing(const view_state& view, const item_list& shape_list);

// The map's extent in the unit; clears units_changed.
void modify_units(scale_ruler& ruler, const view_state& view, measurement& units);

// The length and place from the amount (a text that is no number means the
// whole extent). An amount beyond the extent is cut to it, and one below 0
// to 0, and the text rewritten, in the current orientation only. A ruler
// reaching past the drawing's right or bottom edge is moved back onto it.
// Clears scale_changed.
void modify_scale(scale_ruler& ruler, const view_state& view, measurement& units);

// The amount as a length across the map, in the unit: the typed number, the
// whole extent when the text is no number, held to 0 .. the extent.
long double amount_across(const scale_ruler& ruler);

// What one drawing of the ruler does first: nothing unless visible; hidden
// when the map shows nothing (returns false then); otherwise the
// recomputes the flags ask for. Whether to draw.
bool prepare_ruler(scale_ruler& ruler, const view_state& view, const item_list& shape_list,
                   measurement& units);

// A line from (x1, y1) up to, but not including, (x2, y2).
struct ruler_line {
    std::int32_t x1, y1, x2, y2;
    friend bool operator==(const ruler_line&, const ruler_line&) = default;
};

struct ruler_picture {
    std::vector<ruler_line> lines;  // ticks and bars
    std::string label;              // amount, space, unit name or abbreviation
    std::int32_t label_x = 0, label_y = 0;  // its top-left corner
};

// The ruler's lines and label: a horizontal ruler takes the long label when
// w can hold it, else the short one; a vertical ruler always the short one.
ruler_picture ruler_layout(const scale_ruler& ruler, const view_state& view, const unit_info& unit,
                           const text_measure& measure);

// The arrow buttons: whole steps while a step fits, then a pixel, then the edge.
void nudge_ruler_up(scale_ruler& ruler);
void nudge_ruler_left(scale_ruler& ruler);
void nudge_ruler_down(scale_ruler& ruler, const view_state& view);
void nudge_ruler_right(scale_ruler& ruler, const view_state& view);

// The border percentage the edit box shows for a track bar position 0..40,
// and the position a typed percentage gives (held to 0..100 first).
std::int32_t border_percent(std::int32_t position);
std::int32_t border_position(std::int64_t percent);

} // namespace wayloom
