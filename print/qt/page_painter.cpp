#include "print/qt/page_painter.h"

#include "annotations/nudge.h"
#include "annotations/qt/legend_painter.h"
#include "annotations/scale_ruler.h"
#include "model/map_document.h"
#include "print/qt/page_map.h"
#include "print/qt/vector_export.h"
#include "view/geometry/projection.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

#include <algorithm>
#include <cmath>

namespace wayloom {

namespace {

// Larger than the map's labels: the page's heading.
constexpr int title_point_size = 12;
// A first projection only learns the map's ranges; any size gives the same.
constexpr std::int32_t ranging_size = 1000;

QFont title_font()
{
    QFont font;
    font.setPointSize(title_point_size);
    font.setBold(true);
    return font;
}

// Text is measured at the page's resolution on an image that is never
// painted: the page's own device may not exist yet.
QImage measuring_device()
{
    QImage image(1, 1, QImage::Format_RGB32);
    const int dots_per_metre = static_cast<int>(std::lround(page_dots_per_inch * 1000 / millimetres_per_inch));
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    return image;
}

std::string title_line(const page_order& order)
{
    return order.scale ? order.title + "   " + scale_text(order.scale) : order.title;
}

// The map into an area of `width` × `height` (at least one pixel each).
void project_into(view_state& view, const item_list& shape_list, long double width, long double height)
{
    view.avail_width = std::max<std::int32_t>(1, truncate_to_pixel(width));
    view.avail_height = std::max<std::int32_t>(1, truncate_to_pixel(height));
    resize_window(view, shape_list);
}

// A page pixel's position on the map from the projection's finer pixels.
qreal from_detail(long double pixels) { return static_cast<qreal>(pixels / page_detail); }

} // namespace

prepared_page prepare_page(map_document& doc, const view_state& view, const page_order& order)
{
    page_picture page;
    page.view = view;
    page.view.drawing = page.view.reading_map = false;
    page.title = title_line(order);
    page.unit = order.unit;
    project_into(page.view, doc.shape_list, ranging_size, ranging_size);

    QImage device = measuring_device();
    page_request request;
    request.paper = order.paper;
    request.landscape = order.landscape;
    request.scale = order.scale;
    request.ground = ground_of(page.view.lon_range, page.view.lat_range, order.unit);
    if (!page.title.empty()) {
        const QFontMetricsF metrics(title_font(), &device);
        request.title_width = page_millimetres(metrics.horizontalAdvance(QString::fromStdString(page.title)));
        request.title_height = page_millimetres(metrics.height());
    }
    if (order.ruler) {
        const QFontMetricsF metrics(QFont(), &device);
        request.ruler_height = page_millimetres(std::max<qreal>(ruler_thickness, metrics.height()));
    }
    if (order.legend) {
        legend_state legend = *order.legend;
        legend.busy = false;
        update_legend_on(legend, doc, &device);
        if (legend.count() > 0) {
            request.legend_width = page_millimetres(legend.layout.width);
            request.legend_height = page_millimetres(legend.layout.height);
            page.legend = std::move(legend);
        }
    }
    page_result laid_out = lay_out_page(request);
    if (!laid_out.plan) return {std::nullopt, laid_out.error};
    page.plan = *laid_out.plan;
    project_into(page.view, doc.shape_list, page_pixels(page.plan.map.width) * page_detail,
                 page_pixels(page.plan.map.height) * page_detail);

    if (order.ruler) {
        // Under the map and across it, the amount's true length: on paper its
        // ticks stand the amount apart.
        scale_ruler ruler = *order.ruler;
        ruler.orientation = ruler_orientation::horizontal;
        ruler.visible = false;
        measurement units;
        units.choice = order.unit;
        modify_units(ruler, page.view, units);
        modify_scale(ruler, page.view, units);  // an amount past the map is cut to it
        ruler.visible = true;
        ruler.x = ruler.y = 0;
        page.ruler_length = std::max(0.0L, page_pixels(amount_across(ruler) / ruler.extent_x * page.plan.map.width));
        ruler.w = round_to_pixel(page.ruler_length);  // which label fits
        page.ruler = std::move(ruler);
    }
    return {std::move(page), ""};
}

void paint_page(QPainter& painter, page_picture& page, const map_document& doc)
{
    const page_plan& plan = page.plan;
    painter.save();
    if (!page.title.empty()) {
        painter.setFont(title_font());
        painter.setPen(Qt::black);
        const QRectF box(page_pixels(plan.title.x), page_pixels(plan.title.y),
                         page_pixels(plan.title.width) + 1, page_pixels(plan.title.height));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(page.title));
    }
    // The map's left edge: the ruler and the legend line up with it.
    const qreal left = static_cast<qreal>(page_pixels(plan.map.x)) + from_detail(page.view.surface.left);

    painter.save();
    painter.setFont(QFont());
    painter.translate(left, static_cast<qreal>(page_pixels(plan.map.y)) + from_detail(page.view.surface.top));
    paint_page_map(painter, page.view, doc.shape_list);
    painter.restore();

    if (page.ruler) {
        painter.save();
        painter.setFont(QFont());
        painter.translate(left, static_cast<qreal>(page_pixels(plan.ruler.y)));
        const font_measure measure(painter.font(), painter.device());
        const std::string label = ruler_layout(*page.ruler, page.view, unit_of(page.unit), measure).label;
        paint_page_ruler(painter, static_cast<qreal>(page.ruler_length), label, Qt::white);
        painter.restore();
    }
    if (page.legend) {
        painter.save();
        painter.translate(left, static_cast<qreal>(page_pixels(plan.legend.y)));
        draw_legend(painter, *page.legend, 0, 0, page.view.background);
        painter.restore();
    }
    painter.restore();
}

bool save_page(const std::string& file_name, page_picture& page, const map_document& doc,
               std::string* error)
{
    const vector_format format = vector_format_of(file_name).value_or(vector_format::pdf);
    return save_vector(file_name, format, page.plan.paper_width, page.plan.paper_height,
                       [&](QPainter& painter) { paint_page(painter, page, doc); }, error);
}

} // namespace wayloom
