// A set of individually styled points, each standing on a waypoint.
#pragma once

#include "model/mapper.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wayloom {

struct point_record : map_position {
    std::string name;
    std::string hint;
    std::int32_t waypoint = -1;    // waypoint number, -1 for none
    point_type marker = p_circle;
    bool show_name = true;
    long double size = 10;         // marker half-size, pixels
    colour_value colour = grey;
    colour_value border = black;
    long double alt = 0;           // metres; never written to the map source
};

// Most points one set can hold.
constexpr std::int32_t max_set_points = 52428800;

// What a new point takes when nothing else says: the attributes dialog's
// current marker, show-name box and size once that dialog exists.
struct point_defaults {
    point_type marker = p_circle;
    bool show_name = true;
    long double size = 10;
};

struct t_set : t_mapper {
    std::int32_t number = 0;       // serial, never reused
    std::int32_t point_count = 0;  // records in use
    // One record per point ever added since the last shrink; records past
    // point_count stay allocated and are reused by the next add_point.
    std::vector<point_record> points;

    // Grows by one per add_point that needs a new record; the vector's own
    // storage grows geometrically, so filling a set stays linear.
    std::int32_t capacity() const { return static_cast<std::int32_t>(points.size()); }

    // Appends a fresh record and returns it.
    point_record& add_point(const point_defaults& defaults);

    // The records in use: the first point_count, never past the vector.
    std::span<point_record> used();
    std::span<const point_record> used() const;

    position_span positions() override { return used(); }
    const_position_span positions() const override { return used(); }
};

// Records in use; a set keeps spare records past point_count for reuse.
std::size_t used_points(const t_set& set);

} // namespace wayloom
