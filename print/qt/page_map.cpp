#include "print/qt/page_map.h"

#include "annotations/scale_ruler.h"
#include "model/point_set.h"
#include "model/shape.h"
#include "view/geometry/item_scope.h"
#include "view/geometry/marker_geometry.h"
#include "view/map_painter.h"

#include <QFontMetricsF>
#include <QPolygonF>

namespace wayloom {

namespace {

QPointF on_page(const pixel_pos& pixel)
{
    return {static_cast<qreal>(pixel.x) / page_detail, static_cast<qreal>(pixel.y) / page_detail};
}

void use_colours(QPainter& painter, colour_value fill, colour_value outline)
{
    painter.setPen(QPen(to_qcolor(outline), 1));
    painter.setBrush(to_qcolor(fill));
}

void paint_shape(QPainter& painter, const t_shape& shape)
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(shape.nodes.size()));
    for (const t_node& node : shape.nodes) polygon << on_page(node.pixel);
    use_colours(painter, shape.colour, shape.border);
    if (!shape.is_path()) painter.drawPolygon(polygon, Qt::OddEvenFill);
    else if (polygon.size() == 1) painter.drawPoint(polygon.front());
    else painter.drawPolyline(polygon);
}

// As the window draws a marker, 2s pixels across, centred where the point is.
void paint_point(QPainter& painter, const point_record& point, const QFontMetricsF& metrics)
{
    const QPointF at = on_page(point.pixel);
    const qreal s = marker_half_size(point.size);
    if (s > 0 && (point.marker & (p_circle | p_square))) {
        use_colours(painter, point.colour, point.border);
        // The pen's middle half a pixel inside, so its outer edge is the marker's.
        const QRectF box(at.x() - s + 0.5, at.y() - s + 0.5, 2 * s - 1, 2 * s - 1);
        if (point.marker & p_circle) painter.drawEllipse(box);
        else painter.drawRect(box);
    }
    if (!point.show_name) return;
    const QString name = QString::fromStdString(point.name);
    const QRectF label(at.x() + label_origin(0, 0, point.size).x, at.y(), metrics.horizontalAdvance(name),
                       metrics.height());
    painter.fillRect(label, to_qcolor(point.colour));
    painter.setPen(Qt::black);
    painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, name);
}

} // namespace

void paint_page_map(QPainter& painter, const view_state& view, const item_list& shape_list)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(0, 0, static_cast<qreal>(view.fit_width) / page_detail,
                            static_cast<qreal>(view.fit_height) / page_detail),
                     to_qcolor(view.background));
    const QFontMetricsF metrics(painter.font(), painter.device());
    detail::for_each_item(shape_list, nullptr, nullptr, true, [&](const t_mapper& item) {
        if (const auto* shape = dynamic_cast<const t_shape*>(&item)) paint_shape(painter, *shape);
        else
            for (const point_record& point : static_cast<const t_set&>(item).used())
                paint_point(painter, point, metrics);
    });
    painter.restore();
}

void paint_page_ruler(QPainter& painter, qreal length, const std::string& label, const QColor& label_background)
{
    const qreal tick = ruler_thickness / 2;
    const QString text = QString::fromStdString(label);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal width = metrics.horizontalAdvance(text);
    const qreal gap = (length - width) / 2;
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(0, 0), QPointF(0, 2 * tick));
    painter.drawLine(QPointF(length, 0), QPointF(length, 2 * tick));
    if (gap > 0) {
        painter.drawLine(QPointF(0, tick), QPointF(gap, tick));
        painter.drawLine(QPointF(gap + width, tick), QPointF(length, tick));
    }
    const QRectF box(gap, 0, width, metrics.height());
    painter.fillRect(box, label_background);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

} // namespace wayloom
