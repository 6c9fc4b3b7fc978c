// Map units: nodes and points keep their longitudes and latitudes as degrees
// times 360, and the correction, projection and area estimate work in them.
// Waypoints keep plain degrees.
#pragma once

namespace wayloom {

constexpr long double map_units_per_degree = 360;

constexpr long double to_map_units(long double degrees) { return degrees * map_units_per_degree; }
constexpr long double to_degrees(long double map_units) { return map_units / map_units_per_degree; }

} // namespace wayloom
