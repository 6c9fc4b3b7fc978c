// A named position from the handset or a map source.
#pragma once

#include "model/colour.h"

#include <cstdint>
#include <string>

namespace wayloom {

struct t_waypoint {
    std::string name;
    std::int32_t number = 0;   // index in the waypoint table, creation order
    colour_value colour = grey;      // defaults for a point built on this waypoint
    colour_value border = grey;
    point_type marker = p_circle;
    long double lon = 0;       // degrees, east positive
    long double lat = 0;       // degrees, north positive
    long double alt = 0;       // metres
};

} // namespace wayloom
