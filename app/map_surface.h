// The drawing surface `shape_window`: a widget the main window moves and
// sizes to the fitted map, painted by the map view on every paint event.
// It keeps the picture it last painted, which is what the export writes.
#pragma once

#include "view/geometry/view_state.h"
#include "view/map_painter.h"

#include <QImage>
#include <QWidget>

namespace wayloom {

struct item_list;

// Shown over a surface that has items to draw and draws none of them.
inline constexpr const char* empty_surface_hint = "Select shapes in the list, then Draw map";

class map_surface : public QWidget {
    Q_OBJECT
public:
    map_surface(view_state& state, const item_list& shape_list, QWidget* parent);

    // The scale ruler and the legend, painted after the items once their
    // windows exist.
    map_annotations annotations;

    // What the surface shows, pixel for pixel, without the hint: the map as
    // last painted. A repaint already asked for is made first, and a surface
    // not yet painted at its size is painted now.
    QImage picture();
    // Whether the hint is shown over the map.
    bool shows_hint() const;

protected:
    void paintEvent(QPaintEvent* event) override;  // shape_windowPaint

private:
    view_state& state_;
    const item_list& shape_list_;
    QImage picture_;

    void paint_picture();
};

} // namespace wayloom
