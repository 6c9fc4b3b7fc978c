// The drawing surface `shape_window`: a widget the main window moves and
// sizes to the fitted map, painted by the map view on every paint event.
#pragma once

#include "view/geometry/view_state.h"
#include "view/map_painter.h"

#include <QWidget>

namespace wayloom {

struct item_list;

class map_surface : public QWidget {
    Q_OBJECT
public:
    map_surface(view_state& state, const item_list& shape_list, QWidget* parent);

    // The scale ruler and the legend, painted after the items once their
    // windows exist.
    map_annotations annotations;

protected:
    void paintEvent(QPaintEvent* event) override;  // shape_windowPaint

private:
    view_state& state_;
    const item_list& shape_list_;
};

} // namespace wayloom
