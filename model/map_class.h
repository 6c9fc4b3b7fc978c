// A named category of items with its colours.
#pragma once

#include "model/colour.h"

#include <cstdint>
#include <string>

namespace wayloom {

struct t_class {
    std::int32_t number = 0;        // 0 to 65534, the class table index
    std::string name;
    colour_value colour = grey;
    colour_value border = black;
    std::int32_t name_counter = 1;  // numbers the default names of items built for it
};

// The class counter is 16 bits wide: at most this many classes between two clearings.
constexpr std::int32_t max_classes = 65535;

} // namespace wayloom
