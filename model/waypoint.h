// A named position from the handset or a map source.
#pragma once

#include "model/colour.h"

#include <cstdint>
#include <string>

namespace wayloom {

// Handsets' "not valid" altitude. A waypoint holding it, or any altitude
// beyond 1e24 metres, has none: an upload sends it as not valid and GPX
// leaves its <ele> out, while the map file keeps the number as it is.
constexpr long double no_altitude = 1.0e25L;
constexpr bool has_altitude(long double alt) { return alt >= -1.0e24L && alt <= 1.0e24L; }

struct t_waypoint {
    std::string name;
    std::int32_t number = 0;   // index in the waypoint table, creation order
    colour_value colour = grey;      // defaults for a point built on this waypoint
    colour_value border = grey;
    point_type marker = p_circle;
    long double lon = 0;       // degrees, east positive
    long double lat = 0;       // degrees, north positive
    long double alt = 0;       // metres; see has_altitude
};

} // namespace wayloom
