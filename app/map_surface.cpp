#include "app/map_surface.h"

#include <QPainter>

namespace wayloom {

map_surface::map_surface(view_state& state, const item_list& shape_list, QWidget* parent)
    : QWidget(parent), state_(state), shape_list_(shape_list)
{
    // The map paints every pixel of the surface itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void map_surface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    draw(painter, state_, shape_list_, annotations);
}

} // namespace wayloom
