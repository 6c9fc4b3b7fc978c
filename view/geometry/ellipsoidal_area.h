// The area a shape encloses on the WGS84 ellipsoid: the true figure beside
// the raster estimate of area_estimate.h.
#pragma once

namespace wayloom {

struct t_shape;

// Square metres enclosed by the ring through the shape's nodes (their
// longitudes and latitudes as read, not the corrected ones), its sides
// geodesics on the WGS84 ellipsoid. A path's ring is closed from its last
// node back to its first. Fewer than three nodes enclose nothing: 0. The
// ring may run either way round.
double ellipsoidal_area(const t_shape& shape);

} // namespace wayloom
