#include "view/map_painter.h"

#include "model/item_list.h"
#include "model/shape.h"
#include "view/geometry/drawn_items.h"
#include "view/geometry/marker_geometry.h"
#include "view/geometry/projection.h"
#include "view/geometry/shape_raster.h"

#include <QFontMetrics>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <variant>
#include <vector>

namespace wayloom {

QColor to_qcolor(colour_value colour)
{
    return QColor(static_cast<int>(red_of(colour)), static_cast<int>(green_of(colour)),
                  static_cast<int>(blue_of(colour)));
}

namespace {

void use_colours(QPainter& painter, colour_value fill, colour_value outline)
{
    painter.setPen(QPen(to_qcolor(outline), 1, Qt::SolidLine));
    painter.setBrush(QBrush(to_qcolor(fill), Qt::SolidPattern));
}

// Clears the drawing flag however the paint ends.
struct drawing_guard {
    view_state& state;
    explicit drawing_guard(view_state& s) : state(s) { state.drawing = true; }
    ~drawing_guard() { state.drawing = false; }
    drawing_guard(const drawing_guard&) = delete;
    drawing_guard& operator=(const drawing_guard&) = delete;
};

} // namespace

void cls(QPainter& painter, const view_state& state)
{
    painter.fillRect(QRect(0, 0, state.surface.width, state.surface.height),
                     to_qcolor(state.background));
}

void draw_shape_at(QPainter& painter, const t_shape& shape, std::span<const pixel_pos> pixels)
{
    if (pixels.empty()) return;
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(pixels.size()));
    for (const pixel_pos& p : pixels) polygon << QPoint(p.x, p.y);
    use_colours(painter, shape.colour, shape.border);
    if (shape.is_path()) {
        if (polygon.size() == 1) painter.drawPoint(polygon.front());
        else painter.drawPolyline(polygon);
    } else {
        painter.drawPolygon(polygon, Qt::OddEvenFill);
    }
}

void draw_shape(QPainter& painter, const t_shape& shape, const surface_bounds& surface)
{
    std::vector<pixel_pos> pixels;
    pixels.reserve(shape.nodes.size());
    for (const t_node& node : shape.nodes)
        pixels.push_back({drawn_pixel(node.pixel.x, surface.width), drawn_pixel(node.pixel.y, surface.height)});
    draw_shape_at(painter, shape, pixels);
}

void draw_point(QPainter& painter, std::int32_t x, std::int32_t y, point_type marker,
                const point_record* point, const marker_style& dialog)
{
    const std::int32_t s = marker_half_size(point ? point->size : dialog.size);
    const marker_box box = marker_rectangle(x, y, s);
    if (box.empty()) return;
    use_colours(painter, point ? point->colour : dialog.colour,
                point ? point->border : dialog.border);
    // A one-pixel pen covers the right and bottom edge of the rectangle it
    // is given; one less keeps the marker 2s pixels wide and high.
    const QRect rect(box.left, box.top, box.right - box.left - 1, box.bottom - box.top - 1);
    if (marker & p_circle) painter.drawEllipse(rect);
    else if (marker & p_square) painter.drawRect(rect);
}

namespace {

// Measured once per set: the font does not change between its points.
void label_with(QPainter& painter, const QFontMetrics& metrics, const point_record& point,
                std::int32_t x, std::int32_t y)
{
    const label_origin_pos at = label_origin(x, y, point.size);
    // Laid out once for both its width and its drawing.
    QStaticText text(QString::fromStdString(point.name));
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), painter.font());
    painter.fillRect(QRect(at.x, at.y, static_cast<int>(std::ceil(text.size().width())),
                           metrics.height()),
                     to_qcolor(point.colour));
    painter.setPen(QPen(Qt::black));
    painter.drawStaticText(QPoint(at.x, at.y), text);
}

} // namespace

void draw_label(QPainter& painter, const point_record& point)
{
    label_with(painter, QFontMetrics(painter.font()), point, point.pixel.x, point.pixel.y);
}

void draw_set_at(QPainter& painter, const t_set& set, std::span<const pixel_pos> pixels)
{
    const QFontMetrics metrics(painter.font());
    const std::span<const point_record> points = set.used();
    for (std::size_t i = 0; i < points.size() && i < pixels.size(); ++i) {
        const point_record& point = points[i];
        draw_point(painter, pixels[i].x, pixels[i].y, point.marker, &point);
        if (point.show_name) label_with(painter, metrics, point, pixels[i].x, pixels[i].y);
    }
}

void draw_set(QPainter& painter, const t_set& set, const surface_bounds& surface)
{
    std::vector<pixel_pos> pixels;
    for (const point_record& point : set.used())
        pixels.push_back({drawn_pixel(point.pixel.x, surface.width), drawn_pixel(point.pixel.y, surface.height)});
    draw_set_at(painter, set, pixels);
}

namespace {

// The image under the painter when shapes and dots can go straight into its
// pixels: a plain 32-bit image, painted without a transform or a clip.
QImage* plain_image(QPainter& painter)
{
    auto* image = painter.device() && painter.device()->devType() == QInternal::Image
                      ? static_cast<QImage*>(painter.device())
                      : nullptr;
    if (!image || !image->isDetached() || painter.transform().type() != QTransform::TxNone ||
        painter.hasClipping())
        return nullptr;
    const QImage::Format format = image->format();
    const bool plain = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                       format == QImage::Format_ARGB32_Premultiplied;
    return plain ? image : nullptr;
}

std::uint32_t pixel_of(colour_value colour) { return to_qcolor(colour).rgb(); }

// A run of shapes in drawing order, front to back into the image's pixels.
void paint_shapes(QPainter& painter, QImage& image, std::span<const laid_out_item> shapes)
{
    painter.beginNativePainting();
    shape_raster raster(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
                        image.bytesPerLine() / 4);
    for (auto it = shapes.rbegin(); it != shapes.rend() && !raster.covered(); ++it) {
        const auto& shape = static_cast<const t_shape&>(*it->item);
        if (shape.is_path()) raster.path(it->pixels, pixel_of(shape.border));
        else raster.polygon(it->pixels, pixel_of(shape.colour), pixel_of(shape.border));
    }
    painter.endNativePainting();
}

} // namespace

namespace {

// Squares of side 2 · half + 1 centred on the pixels, in one colour.
void draw_squares(QPainter& painter, std::span<const pixel_pos> pixels, std::int32_t half, colour_value colour)
{
    if (QImage* image = plain_image(painter)) {
        painter.beginNativePainting();
        const std::uint32_t value = pixel_of(colour);
        const std::int32_t w = image->width(), h = image->height();
        auto* const rows = reinterpret_cast<std::uint32_t*>(image->bits());
        const std::ptrdiff_t stride = image->bytesPerLine() / 4;
        for (const pixel_pos& p : pixels) {
            if (p.x < -half || p.y < -half || p.x >= w + half || p.y >= h + half) continue;
            const std::int32_t left = std::max(0, p.x - half), right = std::min(w - 1, p.x + half);
            for (std::int32_t y = std::max(0, p.y - half); y <= std::min(h - 1, p.y + half); ++y)
                std::fill(rows + y * stride + left, rows + y * stride + right + 1, value);
        }
        painter.endNativePainting();
        return;
    }
    const QColor shown = to_qcolor(colour);
    const QRect surface = painter.viewport();
    for (const pixel_pos& p : pixels) {
        const QRect square(p.x - half, p.y - half, 2 * half + 1, 2 * half + 1);
        if (surface.intersects(square)) painter.fillRect(square, shown);
    }
}

} // namespace

void draw_waypoints(QPainter& painter, std::span<const pixel_pos> pixels)
{
    constexpr std::int32_t half = waypoint_dot_size / 2;
    draw_squares(painter, pixels, half + 1, waypoint_ring_colour);
    draw_squares(painter, pixels, half, waypoint_dot_colour);
}

bool draws_items(const view_state& state, const item_list& shape_list)
{
    bool any = false;
    for_each_framed_item(state, shape_list, [&](const t_mapper&, std::size_t) { any = true; });
    return any;
}

bool draw(QPainter& painter, view_state& state, const item_list& shape_list,
          const map_annotations& annotations)
{
    view_transform fitted;
    fitted.reset(state.surface.width, state.surface.height);
    return draw(painter, state, lay_out(state, shape_list, fitted), annotations);
}

bool draw(QPainter& painter, view_state& state, const surface_layout& layout,
          const map_annotations& annotations)
{
    if (state.drawing || state.reading_map) return false;
    const drawing_guard guard(state);
    painter.setRenderHint(QPainter::Antialiasing, false);
    cls(painter, state);

    // Runs of shapes between point sets: the sets' markers and names stay
    // the painter's.
    QImage* image = plain_image(painter);
    const std::span<const laid_out_item> items = layout.items;
    for (std::size_t i = 0; i < items.size();) {
        if (!items[i].shape) {
            draw_set_at(painter, static_cast<const t_set&>(*items[i].item), items[i].pixels);
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < items.size() && items[end].shape) ++end;
        if (image) {
            paint_shapes(painter, *image, items.subspan(i, end - i));
        } else {
            for (std::size_t k = i; k < end; ++k)
                draw_shape_at(painter, static_cast<const t_shape&>(*items[k].item), items[k].pixels);
        }
        i = end;
    }
    draw_waypoints(painter, layout.waypoints);
    if (const std::optional<laid_out_item>& over = layout.building) {
        if (over->shape && image) paint_shapes(painter, *image, std::span(&*over, 1));
        else if (over->shape) draw_shape_at(painter, static_cast<const t_shape&>(*over->item), over->pixels);
        else draw_set_at(painter, static_cast<const t_set&>(*over->item), over->pixels);
    }

    if (annotations.scale_ruler) annotations.scale_ruler(painter);
    if (annotations.legend) annotations.legend(painter);
    return true;
}

QImage render_map(view_state& state, const item_list& shape_list,
                  const map_annotations& annotations)
{
    QImage image(std::max(1, state.surface.width), std::max(1, state.surface.height),
                 QImage::Format_RGB32);
    image.fill(to_qcolor(state.background));
    QPainter painter(&image);
    draw(painter, state, shape_list, annotations);
    painter.end();
    return image;
}

} // namespace wayloom
