#include "annotations/qt/legend_painter.h"

#include "view/map_painter.h"

#include <QPainter>
#include <QString>

namespace wayloom {

namespace {

struct busy_guard {
    explicit busy_guard(bool& flag) : flag_(flag) { flag_ = true; }
    ~busy_guard() { flag_ = false; }
    busy_guard(const busy_guard&) = delete;
    busy_guard& operator=(const busy_guard&) = delete;

private:
    bool& flag_;
};

QRect to_qrect(const legend_rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

} // namespace

QFont legend_qfont(const legend_font& font, const QFont& base)
{
    QFont result = base;
    if (!font.name.empty()) result.setFamily(QString::fromStdString(font.name));
    if (font.size > 0) result.setPointSize(font.size);
    if (font.bold) result.setBold(true);
    return result;
}

std::int32_t font_measure::text_width(std::string_view text) const
{
    return metrics_.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::int32_t font_measure::text_height(std::string_view) const { return metrics_.height(); }

font_measure legend_measure(const legend_font& font, QPaintDevice* device)
{
    return font_measure(legend_qfont(font, QFont()), device);
}

void update_legend_on(legend_state& legend, const map_document& doc, QPaintDevice* device)
{
    update_legend(legend, doc, legend_measure(legend.font, device));
}

void draw_legend(QPainter& painter, legend_state& legend, std::int32_t x, std::int32_t y,
                 colour_value background)
{
    if (legend.busy) return;
    const busy_guard guard(legend.busy);
    painter.save();
    painter.setFont(legend_qfont(legend.font, QFont()));
    const QFontMetrics metrics(painter.font(), painter.device());
    const legend_drawing drawing = lay_out_legend(legend.layout, x, y, background);
    painter.fillRect(to_qrect(drawing.block), to_qcolor(drawing.background));
    painter.setPen(to_qcolor(drawing.text_colour));
    for (const legend_line& line : drawing.lines) {
        painter.fillRect(to_qrect(line.swatch), to_qcolor(line.colour));
        if (line.outlined) {
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(to_qrect(line.swatch).adjusted(0, 0, -1, -1));
        }
        const QString text = QString::fromStdString(line.text);
        // Written on the background colour, as a label on an opaque brush.
        const QRect box(line.text_x, line.text_y, metrics.horizontalAdvance(text), metrics.height());
        painter.fillRect(box, to_qcolor(drawing.background));
        painter.drawText(QPoint(line.text_x, line.text_y + metrics.ascent()), text);
    }
    painter.restore();
}

QImage legend_image(legend_state& legend, colour_value background)
{
    if (legend.count() == 0 || legend.layout.width < 1 || legend.layout.height < 1) return {};
    QImage image(legend.layout.width, legend.layout.height, QImage::Format_RGB32);
    image.fill(to_qcolor(background));
    QPainter painter(&image);
    draw_legend(painter, legend, 0, 0, background);
    return image;
}

} // namespace wayloom
