// The projection of map items onto the drawing surface: extent, border,
// proportional fit, and integer pixel positions accumulated along each item.
#pragma once

#include "view/geometry/view_state.h"

#include <cstdint>

namespace wayloom {

struct item_list;

// Real pixel coordinate to integer, truncating toward zero; values beyond
// the 32-bit range are held at its ends and NaN gives 0.
std::int32_t truncate_to_pixel(long double value);

// Where the painter puts a projected coordinate on an axis of `size` pixels.
// A point on the map's southern or eastern limit projects to exactly the
// surface's height or width, one pixel past its last row or column, which
// would cut the map's south and east outlines and hide a path along one
// parallel; that value alone is drawn on the last row or column. The
// projection itself, and so the area estimate, keeps the value.
constexpr std::int32_t drawn_pixel(std::int32_t pixel, std::int32_t size)
{
    return pixel == size && size > 0 ? size - 1 : pixel;
}

// Projects `shape`, else `set`, else the selected items of `shape_list` in
// list order into an area of `width` × `height` pixels with `border`
// fortieths of extra space (clamped to 0..40). Writes the extent, ranges and
// fitted size into `state`, each item's extent, first offset and pixels, and
// the surface bounds into `out`. Items without nodes or points are left out.
// Returns false, changing nothing, when no item is given and the list is empty.
//
// A single point (both ranges zero) takes the whole area with ranges 1 and
// sits on the bottom-left corner. When only one range is zero, only that
// range becomes 1 and nothing is fitted, so the line runs along the bottom
// (y = height) or the left (x = 0) edge.
bool update_shapeses(view_state& state, const item_list& shape_list, std::int32_t width,
                     std::int32_t height, surface_bounds& out, t_shape* shape, t_set* set,
                     std::int32_t border);

// update_shapeses with the state's panel size and map_border; the outputs
// become state.surface. The item being built, while the map is kept behind
// it, gives way to the selection. Returns true when the surface's bounds changed (the
// window then moves the widget, which repaints it).
bool update_shapes(view_state& state, const item_list& shape_list, t_shape* shape, t_set* set);

// Projects the item being built when it has a node or point (unless the
// map is kept behind it), else the selection. The caller repaints afterwards.
void resize_window(view_state& state, const item_list& shape_list);

} // namespace wayloom
