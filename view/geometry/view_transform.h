// Zoom and pan: which part of the fitted drawing the surface shows, and how
// large. The map surface keeps one over the projection's fitted drawing;
// the projection, the area estimate, printing and the command line never
// see it. At 1× it is the fitted drawing itself.
#pragma once

#include <cstdint>

namespace wayloom {

// A point in pixels, not yet truncated.
struct real_point {
    long double x = 0;
    long double y = 0;
    friend bool operator==(const real_point&, const real_point&) = default;
};

constexpr long double min_zoom = 1;      // the fitted drawing
constexpr long double max_zoom = 10000;
constexpr long double zoom_step = 1.25;  // one wheel notch or zoom key
// A wheel notch in Qt's units (eighths of a degree); trackpads' pixel
// deltas are taken at the same rate.
constexpr long double wheel_notch = 120;

// The zoom factor for a wheel turn of `delta` units: 1.25 a notch, and in
// proportion between notches.
long double wheel_zoom_factor(long double delta);

class view_transform {
public:
    // The fitted view of a surface `width` × `height` pixels.
    void reset(std::int32_t width, std::int32_t height);
    // Another surface size: the zoom and the point at the centre stay.
    void resize(std::int32_t width, std::int32_t height);

    long double zoom() const { return zoom_; }
    bool fitted() const { return zoom_ == min_zoom; }

    // Fitted-drawing pixels to surface pixels, and back.
    real_point to_surface(real_point fitted) const;
    real_point to_fitted(real_point surface) const;

    // Multiplies the zoom by `factor`, held to 1×..10,000×, keeping the part
    // of the drawing under `at` (surface pixels) under it.
    void zoom_at(real_point at, long double factor);
    // The same about the surface's centre.
    void zoom_centre(long double factor);
    // Moves the picture by (dx, dy) surface pixels, as a drag does, no
    // further than the fitted drawing's edges.
    void pan(long double dx, long double dy);
    // Sets the zoom and puts the fitted-drawing point `centre` in the middle,
    // as near as the edges allow.
    void show(long double zoom, real_point centre);

    // The fitted-drawing point in the middle of the surface.
    real_point centre() const { return {cx_, cy_}; }

private:
    long double width_ = 0, height_ = 0;
    long double zoom_ = min_zoom;
    long double cx_ = 0, cy_ = 0;

    // Keeps the shown part inside the fitted drawing: at 1× it is all of it.
    void hold();
};

} // namespace wayloom
