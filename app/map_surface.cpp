#include "app/map_surface.h"

#include "model/map_document.h"
#include "view/geometry/drawn_items.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace wayloom {

namespace {

real_point point_of(QPointF p) { return {p.x(), p.y()}; }

} // namespace

map_surface::map_surface(view_state& state, const map_document& doc, QWidget* parent)
    : QWidget(parent), state_(state), doc_(doc)
{
    // The map paints every pixel of the surface itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The position under the pointer shows without a button held; a click
    // or a wheel turn takes the keys that zoom and pan.
    setMouseTracking(true);
    setFocusPolicy(Qt::WheelFocus);
}

const surface_layout& map_surface::layout()
{
    if (!laid_out_) {
        view_.resize(state_.surface.width, state_.surface.height);
        const std::span<const t_waypoint* const> waypoints =
            waypoints_shown_ ? std::span<const t_waypoint* const>(doc_.waypoints) : std::span<const t_waypoint* const>();
        lay_out(layout_, state_, doc_.shape_list, view_, waypoints);
        laid_out_ = true;
    }
    return layout_;
}

map_frame::position map_surface::position_at(QPoint at)
{
    return layout().frame.at(view_.to_fitted({at.x() + 0.5L, at.y() + 0.5L}));
}

void map_surface::paint_picture()
{
    // While a read or another paint runs the last picture stays.
    if (state_.drawing || state_.reading_map) return;
    // The last picture's pixels are painted over when no one else holds
    // them: a large picture is not asked of the system for every frame.
    const QSize size(std::max(1, width()), std::max(1, height()));
    QImage image = std::move(picture_);
    if (image.size() != size || !image.isDetached()) image = QImage(size, QImage::Format_RGB32);
    image.fill(to_qcolor(state_.background));
    QPainter painter(&image);
    laid_out_ = false;  // the items may have moved since
    draw(painter, state_, layout(), annotations);
    painter.end();
    picture_ = std::move(image);
}

void map_surface::paint_view(QPainter& painter) { draw(painter, state_, layout(), annotations); }

QImage map_surface::picture()
{
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
    if (picture_.size() != QSize(std::max(1, width()), std::max(1, height()))) paint_picture();
    return picture_;
}

bool map_surface::shows_hint() const
{
    return !doc_.shape_list.empty() && !draws_items(state_, doc_.shape_list);
}

void map_surface::follow_projection(view_rule rule)
{
    laid_out_ = false;
    const map_frame now = frame_of(state_, doc_.shape_list);
    const bool alone = build_item(state_) && !map_behind_applies(state_, doc_.shape_list);
    const long double zoom = view_.zoom();
    if (rule == view_rule::keep && !view_.fitted() && !alone && !fitted_alone_) {
        // The map position in the middle stays there, wherever the new
        // projection puts it.
        const map_frame::position middle = frame_.at(view_.centre());
        view_.resize(state_.surface.width, state_.surface.height);
        view_.show(zoom, now.fitted(now.corrected(middle.lon), middle.lat));
    } else {
        view_.reset(state_.surface.width, state_.surface.height);
    }
    frame_ = now;
    fitted_alone_ = alone;
    if (view_.zoom() != zoom) emit view_changed();
}

void map_surface::view_moved()
{
    laid_out_ = false;
    update();
    emit view_changed();
}

void map_surface::zoom_to_fit()
{
    view_.reset(state_.surface.width, state_.surface.height);
    view_moved();
}

void map_surface::zoom_centre(long double factor)
{
    view_.zoom_centre(factor);
    view_moved();
}

void map_surface::show_waypoints(bool shown)
{
    waypoints_shown_ = shown;
    laid_out_ = false;
    update();
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

void map_surface::wheelEvent(QWheelEvent* event)
{
    // A trackpad's pixels where it gives them, else the wheel's eighths of a degree.
    const QPoint pixels = event->pixelDelta();
    const long double delta = pixels.isNull() ? event->angleDelta().y() : pixels.y();
    view_.zoom_at(point_of(event->position()), wheel_zoom_factor(delta));
    view_moved();
    event->accept();
}

void map_surface::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button == Qt::MiddleButton || (button == Qt::LeftButton && space_held_)) {
        pan_from_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (button == Qt::LeftButton || button == Qt::RightButton) emit pressed(event->position().toPoint(), button);
}

void map_surface::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!pan_from_) {
        emit pointer_moved(at);
        return;
    }
    const QPoint by = at - *pan_from_;
    pan_from_ = at;
    view_.pan(by.x(), by.y());
    view_moved();
}

void map_surface::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pan_from_ || (event->button() != Qt::MiddleButton && event->button() != Qt::LeftButton)) return;
    pan_from_.reset();
    if (space_held_) setCursor(Qt::OpenHandCursor);
    else unsetCursor();
}

void map_surface::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Arrows show what lies that way: the picture moves the other way.
    const long double across = width() / 10.0L, down = height() / 10.0L;
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            space_held_ = true;
            if (!pan_from_) setCursor(Qt::OpenHandCursor);
        }
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoom_centre(zoom_step); return;
    case Qt::Key_Minus: zoom_centre(1 / zoom_step); return;
    case Qt::Key_Left: view_.pan(across, 0); break;
    case Qt::Key_Right: view_.pan(-across, 0); break;
    case Qt::Key_Up: view_.pan(0, down); break;
    case Qt::Key_Down: view_.pan(0, -down); break;
    default: QWidget::keyPressEvent(event); return;
    }
    view_moved();
}

void map_surface::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    space_held_ = false;
    if (!pan_from_) unsetCursor();
}

void map_surface::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit pointer_left();
}

} // namespace wayloom
