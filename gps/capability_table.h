// Capabilities of handsets that send no protocol array, by product id.
#pragma once

#include "gps/protocols.h"

#include <array>
#include <cstdint>
#include <vector>

namespace wayloom::gps {

struct capability_row {
    std::uint16_t product_id = 0;
    std::int32_t version_bound = 0;  // 2147483647: every version
    protocol_set physical = 0, link = 0, command_and_applications = 0;
    protocol_set waypoint = 0, route = 0, track = 0, proximity = 0, almanac = 0;
    protocol_set date_time = 0, position = 0, pvt = 0;
};

// The 54 rows, in order; row numbers are 1-based as the index gives them.
const std::vector<capability_row>& capability_table();

// Entry p: the first row of product p, 0 for products not in the table. It
// holds product 112 too, the last one the table knows.
constexpr std::size_t capability_index_size = 113;
const std::array<std::uint16_t, capability_index_size>& capability_index();

} // namespace wayloom::gps
