#include "annotations/qt/ruler_painter.h"

#include "annotations/qt/legend_painter.h"
#include "view/geometry/projection.h"

#include <QPainter>

#include <cmath>

namespace wayloom {

namespace {

// The pixel before the end, one step back towards the start; none when the
// line has no length.
void draw_short_of_end(QPainter& painter, const ruler_line& line)
{
    const int dx = line.x2 > line.x1 ? 1 : line.x2 < line.x1 ? -1 : 0;
    const int dy = line.y2 > line.y1 ? 1 : line.y2 < line.y1 ? -1 : 0;
    if (dx == 0 && dy == 0) return;
    painter.drawLine(line.x1, line.y1, line.x2 - dx, line.y2 - dy);
}

} // namespace

void paint_ruler(QPainter& painter, const ruler_picture& picture, const QColor& label_background)
{
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    for (const ruler_line& line : picture.lines) draw_short_of_end(painter, line);
    const QString label = QString::fromStdString(picture.label);
    const QFontMetrics metrics(painter.font(), painter.device());
    const QRect box(picture.label_x, picture.label_y, metrics.horizontalAdvance(label), metrics.height());
    painter.fillRect(box, label_background);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, label);
    painter.restore();
}

bool draw_ruler(QPainter& painter, scale_ruler& ruler, const view_state& view,
                const item_list& shape_list, measurement& units, const QColor& label_background,
                long double zoom)
{
    if (!prepare_ruler(ruler, view, shape_list, units)) return false;
    const font_measure measure(painter.font(), painter.device());
    scale_ruler shown = ruler;
    if (zoom != 1) {
        // Only the drawing grows: the placement and its rules stay the fitted map's.
        const auto longer = [zoom](std::int32_t length) {
            return length < 0 ? length : truncate_to_pixel(std::round(length * zoom));
        };
        shown.w = longer(ruler.w);
        shown.h = longer(ruler.h);
    }
    paint_ruler(painter, ruler_layout(shown, view, units.unit(), measure), label_background);
    return true;
}

} // namespace wayloom
