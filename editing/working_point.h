// One entry of the point-set builder's working lists: what the record of the
// point at the same position is rebuilt from after every change of the set.
#pragma once

#include "model/colour.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wayloom {

struct point_record;
struct t_set;

struct working_point {
    std::string name;
    std::string hint;
    point_type marker = p_circle;
    long double size = 10;  // marker half-size, pixels
    colour_value colour = grey;
    colour_value border = black;
    bool show_name = true;
    std::int32_t waypoint = -1;  // waypoint number
    bool selected = false;       // the entry of points_list was selected
};

// The working entry that reproduces `record`, unselected.
working_point working_point_from(const point_record& record);

// Gives every record in use exactly one working entry: extra entries are
// dropped, a missing one is taken from its record.
void match_working_points(std::vector<working_point>& working, const t_set& set);

} // namespace wayloom
