// The drawing surface `shape_window`: a widget the main window moves and
// sizes to the fitted map, painted by the map view on every paint event.
// It keeps the view over the fitted drawing (zoom and pan by wheel, drag
// and keys) and the picture it last painted, which is what the export
// writes; clicks and hovers go back through the view to the map.
#pragma once

#include "view/geometry/surface_layout.h"
#include "view/geometry/view_state.h"
#include "view/geometry/view_transform.h"
#include "view/map_painter.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace wayloom {

struct map_document;

// Shown over a surface that has items to draw and draws none of them.
inline constexpr const char* empty_surface_hint = "Select shapes in the list, then Draw map";

// What the view does when the projection has changed.
enum class view_rule {
    keep,  // the zoom and the map position in the middle stay
    fit,   // back to the fitted drawing
};

class map_surface : public QWidget {
    Q_OBJECT
public:
    map_surface(view_state& state, const map_document& doc, QWidget* parent);

    // The scale ruler and the legend, painted after the items once their
    // windows exist.
    map_annotations annotations;

    // What the surface shows, pixel for pixel, without the hint: the map as
    // last painted. A repaint already asked for is made first, and a surface
    // not yet painted at its size is painted now.
    QImage picture();
    // The same drawing on any painter (a PDF or an SVG).
    void paint_view(QPainter& painter);
    // Whether the hint is shown over the map.
    bool shows_hint() const;

    const view_transform& view() const { return view_; }
    // Called after every projection, with the state's surface in place.
    // While the item being built is fitted alone the view always fits.
    void follow_projection(view_rule rule);
    void zoom_to_fit();
    // Zooms about the middle by `factor` (zoom_step or its inverse).
    void zoom_centre(long double factor);
    // Every waypoint as a small dot, pickable by a click.
    void show_waypoints(bool shown);
    bool shows_waypoints() const { return waypoints_shown_; }

    // What lies under surface pixel `at`: where items and waypoints are as
    // last painted (laid out again first when the map or view changed).
    const surface_layout& layout();
    // The map position (longitude, latitude, map units) under `at`.
    map_frame::position position_at(QPoint at);

signals:
    // The zoom or the part shown changed.
    void view_changed();
    // The pointer moved over the surface without panning, or left it.
    void pointer_moved(QPoint at);
    void pointer_left();
    // A left or right press that starts no pan.
    void pressed(QPoint at, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;  // shape_windowPaint
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    view_state& state_;
    const map_document& doc_;
    QImage picture_;
    view_transform view_;
    map_frame frame_;           // of the projection the view was last set for
    bool fitted_alone_ = false;  // that projection fitted the item being built alone
    bool waypoints_shown_ = false;
    surface_layout layout_;
    bool laid_out_ = false;  // false: lay out again before use
    std::optional<QPoint> pan_from_;        // a pan drag under way
    bool space_held_ = false;

    void paint_picture();
    void view_moved();
};

} // namespace wayloom
