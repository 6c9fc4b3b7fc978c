// A closed polygon or an open path through waypoints.
#pragma once

#include "model/mapper.h"

#include <cstdint>
#include <span>
#include <vector>

namespace wayloom {

// One node: its own copy of the position and the waypoint it stands on.
// Built with the waypoint and position named, so that a position can never
// land in the waypoint field or the other way round.
struct t_node : map_position {
    std::int32_t waypoint = 0;  // waypoint number; may name no waypoint

    t_node() = default;
    t_node(std::int32_t waypoint_number, long double lon_units, long double lat_units)
        : map_position{lon_units, 0, lat_units, {}}, waypoint(waypoint_number)
    {
    }
};

// Most nodes a shape can hold, and so a map file: the reader refuses a nodes
// block of more, and building a shape stops here, so every shape the editor
// makes saves to a file that opens again.
constexpr std::int32_t max_shape_nodes = 511;

struct t_shape : t_mapper {
    std::int32_t number = 0;   // serial, never reused
    long double area = 0;      // square map units
    long double coverage = 0;  // percent of the estimation raster
    bool in_counted = false;
    std::vector<t_node> nodes;

    std::int32_t node_count() const { return static_cast<std::int32_t>(nodes.size()); }

    position_span positions() override { return std::span(nodes); }
    const_position_span positions() const override { return std::span(nodes); }
};

} // namespace wayloom
