#include "view/geometry/ellipsoidal_area.h"

#include "model/map_units.h"
#include "model/shape.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>

#include <cmath>

namespace wayloom {

double ellipsoidal_area(const t_shape& shape)
{
    if (shape.nodes.size() < 3) return 0;
    GeographicLib::PolygonArea ring(GeographicLib::Geodesic::WGS84());
    for (const t_node& node : shape.nodes)
        ring.AddPoint(static_cast<double>(to_degrees(node.lat)), static_cast<double>(to_degrees(node.lon)));
    double perimeter = 0, area = 0;
    // Signed, so that a clockwise ring is not taken for the rest of the earth.
    ring.Compute(false, true, perimeter, area);
    return std::fabs(area);
}

} // namespace wayloom
