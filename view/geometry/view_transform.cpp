#include "view/geometry/view_transform.h"

#include <algorithm>
#include <cmath>

namespace wayloom {

long double wheel_zoom_factor(long double delta)
{
    if (!std::isfinite(delta)) return 1;
    return std::pow(zoom_step, delta / wheel_notch);
}

void view_transform::reset(std::int32_t width, std::int32_t height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    zoom_ = min_zoom;
    hold();
}

void view_transform::resize(std::int32_t width, std::int32_t height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    hold();
}

real_point view_transform::to_surface(real_point fitted) const
{
    return {(fitted.x - cx_) * zoom_ + width_ / 2, (fitted.y - cy_) * zoom_ + height_ / 2};
}

real_point view_transform::to_fitted(real_point surface) const
{
    return {(surface.x - width_ / 2) / zoom_ + cx_, (surface.y - height_ / 2) / zoom_ + cy_};
}

void view_transform::zoom_at(real_point at, long double factor)
{
    if (!std::isfinite(factor) || factor <= 0) return;
    const real_point under = to_fitted(at);
    zoom_ = std::clamp(zoom_ * factor, min_zoom, max_zoom);
    // The point that was under `at` goes back under it.
    cx_ = under.x - (at.x - width_ / 2) / zoom_;
    cy_ = under.y - (at.y - height_ / 2) / zoom_;
    hold();
}

void view_transform::zoom_centre(long double factor) { zoom_at({width_ / 2, height_ / 2}, factor); }

void view_transform::pan(long double dx, long double dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    cx_ -= dx / zoom_;
    cy_ -= dy / zoom_;
    hold();
}

void view_transform::show(long double zoom, real_point centre)
{
    if (std::isfinite(zoom)) zoom_ = std::clamp(zoom, min_zoom, max_zoom);
    if (std::isfinite(centre.x) && std::isfinite(centre.y)) {
        cx_ = centre.x;
        cy_ = centre.y;
    }
    hold();
}

void view_transform::hold()
{
    // The shown part is (width / zoom) × (height / zoom) of the fitted drawing.
    const long double half_w = width_ / 2 / zoom_, half_h = height_ / 2 / zoom_;
    cx_ = std::clamp(cx_, half_w, width_ - half_w);
    cy_ = std::clamp(cy_, half_h, height_ - half_h);
}

} // namespace wayloom
