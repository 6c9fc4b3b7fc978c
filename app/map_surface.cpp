#include "app/map_surface.h"

#include "model/item_list.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace wayloom {

map_surface::map_surface(view_state& state, const item_list& shape_list, QWidget* parent)
    : QWidget(parent), state_(state), shape_list_(shape_list)
{
    // The map paints every pixel of the surface itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void map_surface::paint_picture()
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    image.fill(to_qcolor(state_.background));
    QPainter painter(&image);
    // While a read or another paint runs the last picture stays.
    if (!draw(painter, state_, shape_list_, annotations)) return;
    painter.end();
    picture_ = std::move(image);
}

QImage map_surface::picture()
{
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
    if (picture_.size() != QSize(std::max(1, width()), std::max(1, height()))) paint_picture();
    return picture_;
}

bool map_surface::shows_hint() const
{
    return !shape_list_.empty() && !draws_items(state_, shape_list_);
}

void map_surface::paintEvent(QPaintEvent*)
{
    paint_picture();
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    if (!shows_hint()) return;
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromUtf8(empty_surface_hint));
}

} // namespace wayloom
