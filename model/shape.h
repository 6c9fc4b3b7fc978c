// A closed polygon or an open path through waypoints.
#pragma once

#include "model/mapper.h"

#include <cstdint>
#include <vector>

namespace wayloom {

struct pixel_pos {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const pixel_pos&, const pixel_pos&) = default;
};

// One node: the waypoint it stands on and its own copy of the position.
struct t_node {
    std::int32_t waypoint = 0;      // waypoint number; may name no waypoint
    long double lon = 0;            // map units
    long double corrected_lon = 0;  // map units, set by the longitude correction
    long double lat = 0;            // map units
    pixel_pos pixel;                   // set by the projection
};

// Most nodes a shape can take from a map source.
constexpr std::int32_t max_source_nodes = 511;

struct t_shape : t_mapper {
    std::int32_t number = 0;   // serial, never reused
    long double area = 0;      // square map units
    long double coverage = 0;  // percent of the estimation raster
    bool in_counted = false;
    std::vector<t_node> nodes;

    std::int32_t node_count() const { return static_cast<std::int32_t>(nodes.size()); }
};

} // namespace wayloom
