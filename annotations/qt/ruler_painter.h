// Painting the scale ruler with QPainter, on the map surface, an exported
// image or wayloom-cli's picture alike.
#pragma once

#include "annotations/scale_ruler.h"

#include <QColor>

class QPainter;

namespace wayloom {

// Black lines, each drawn up to but not including its end point, and the
// label in black on `label_background` in the painter's font.
void paint_ruler(QPainter& painter, const ruler_picture& picture, const QColor& label_background);

// One drawing of the ruler as the map drawing calls it (see prepare_ruler):
// recomputed when the flags ask, laid out in the painter's font, painted,
// its bar `zoom` times as long as on the fitted drawing. Whether it was
// drawn; false also when it was hidden for want of a map.
bool draw_ruler(QPainter& painter, scale_ruler& ruler, const view_state& view,
                const item_list& shape_list, measurement& units, const QColor& label_background,
                long double zoom = 1);

} // namespace wayloom
