// The common base of shapes and point sets.
#pragma once

#include "model/colour.h"
#include "model/position.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wayloom {

// Class numbers an item belongs to, in the order they were given.
using class_type = std::vector<std::int32_t>;

struct t_mapper {
    bool editing = false;      // open in the main window's build lists
    std::string name;
    shape_kind shape_type = 0;
    // The item's own extent and first-point offset, map units (set by the projection).
    long double first_dx = 0, first_dy = 0;
    long double max_lat = 0, min_lon = 0, max_lon = 0, min_lat = 0;
    colour_value colour = grey;
    colour_value default_colour = grey;
    colour_value border = black;
    colour_value default_border = black;
    class_type classes;

    t_mapper() = default;
    t_mapper(const t_mapper&) = default;
    t_mapper(t_mapper&&) = default;
    t_mapper& operator=(const t_mapper&) = default;
    t_mapper& operator=(t_mapper&&) = default;
    virtual ~t_mapper() = default;

    // A shape's nodes or a set's points in use, in order: what the
    // correction, the projection and the reader's checks go through.
    virtual position_span positions() = 0;
    virtual const_position_span positions() const = 0;

    std::int32_t class_count() const { return static_cast<std::int32_t>(classes.size()); }
    bool is_path() const { return shape_type == s_path; }
};

} // namespace wayloom
