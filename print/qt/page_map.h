// The map and the scale ruler on a page, placed in fractions of a page
// pixel so that they measure true on paper: the items are projected at
// page_detail times the page's resolution and painted at their own
// positions, while markers, labels and lines keep their size in page pixels
// as in the window. Nothing on a page is cut at the map's edge: a marker or
// a label there is shown whole, in every output alike.
#pragma once

#include "view/geometry/view_state.h"

#include <QPainter>

#include <string>

namespace wayloom {

struct item_list;

// Projected positions per page pixel: 1/64 of a page pixel is 0.004 mm.
inline constexpr int page_detail = 64;

// The background of the fitted map and its selected items, with the map's
// top-left corner at the painter's origin; `view` was projected at
// page_detail times the page's resolution.
void paint_page_map(QPainter& painter, const view_state& view, const item_list& shape_list);

// The ruler across, its top-left corner at the painter's origin: two ticks
// `length` page pixels apart and a bar between them broken by `label`, in
// the painter's font in black on `label_background`.
void paint_page_ruler(QPainter& painter, qreal length, const std::string& label, const QColor& label_background);

} // namespace wayloom
