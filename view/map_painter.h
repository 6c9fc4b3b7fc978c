// Painting the map with QPainter. Every function paints on whatever device
// the painter is open on, so the window's surface and an exported image
// show the same picture.
#pragma once

#include "model/colour.h"
#include "model/point_set.h"
#include "view/geometry/surface_layout.h"
#include "view/geometry/view_state.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <functional>
#include <span>

namespace wayloom {

struct item_list;
struct t_shape;
struct t_set;

QColor to_qcolor(colour_value colour);

// What draw_point uses when no point is given: the attributes dialog's
// current point size and colours.
struct marker_style {
    long double size = 10;
    colour_value colour = grey;
    colour_value border = black;
};

// Painted after the items, on the same surface: the scale ruler and the
// legend. Either may be empty.
struct map_annotations {
    std::function<void(QPainter&)> scale_ruler;
    std::function<void(QPainter&)> legend;
};

// Fills (0, 0, surface width, surface height) with the background colour.
void cls(QPainter& painter, const view_state& state);

// A path as open lines, anything else as a polygon filled with the area
// colour and outlined with the border colour. A shape without nodes draws
// nothing. A node on the surface's width or height is drawn on its last
// column or row (drawn_pixel).
void draw_shape(QPainter& painter, const t_shape& shape, const surface_bounds& surface);

// Every point's marker and, where its show-name flag is set, its name in the
// painter's font on the point's area colour; points placed as draw_shape
// places nodes.
void draw_set(QPainter& painter, const t_set& set, const surface_bounds& surface);

// The same two at the surface pixels a layout gave, one per node or point.
void draw_shape_at(QPainter& painter, const t_shape& shape, std::span<const pixel_pos> pixels);
void draw_set_at(QPainter& painter, const t_set& set, std::span<const pixel_pos> pixels);

// A waypoint shown on the map: a small dark square centred on its pixel,
// in a white ring that keeps it apart from dark outlines and fills.
constexpr std::int32_t waypoint_dot_size = 3;
constexpr colour_value waypoint_dot_colour = make_colour(40, 40, 40);
constexpr colour_value waypoint_ring_colour = make_colour(255, 255, 255);
void draw_waypoints(QPainter& painter, std::span<const pixel_pos> pixels);

// One marker centred on (x, y): a circle when `marker` holds p_circle, else a
// square when it holds p_square, else nothing. Size and colours come from
// `point`, or from `dialog` when no point is given.
void draw_point(QPainter& painter, std::int32_t x, std::int32_t y, point_type marker,
                const point_record* point, const marker_style& dialog = {});

// A point's name label with its top-left corner at (x + trunc(2 · size), y).
void draw_label(QPainter& painter, const point_record& point);

// The whole map: background, the item being built or else the selected items
// of `shape_list` in list order (drawn_items.h), then the annotations. Does
// nothing and returns false while a paint or a read is running.
bool draw(QPainter& painter, view_state& state, const item_list& shape_list,
          const map_annotations& annotations = {});
// The same as the surface shows it under its view: the items where `layout`
// put them, in its order, then the waypoints it holds and the item being
// built over them, then the annotations.
bool draw(QPainter& painter, view_state& state, const surface_layout& layout,
          const map_annotations& annotations = {});

// Whether draw paints any item (annotations aside).
bool draws_items(const view_state& state, const item_list& shape_list);

// draw onto a fresh image of the surface's size (at least 1 × 1).
QImage render_map(view_state& state, const item_list& shape_list,
                  const map_annotations& annotations = {});

} // namespace wayloom
