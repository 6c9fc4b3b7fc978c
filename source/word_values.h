// What a word of the map source is worth once the reader has taken it: the
// checks that turn number words into colours, waypoint numbers and map
// units. Each returns false when the word gives no value the map can hold
// (the reader then reports "Value expected"); a token without a word leaves
// the target as it was.
#pragma once

#include "source/reader_words.h"

#include <cstdint>
#include <string_view>

namespace wayloom {

// Keeps the low byte of the integer part; the integer part must fit 32 bits.
bool colour_component(const token& t, std::uint32_t& component);

// The waypoint number as written plus `base` (the waypoints the map held
// before this read, so that a merge keeps its references); it must fit 32 bits.
bool waypoint_reference(const token& t, std::int32_t base, std::int32_t& number);

// Degrees as written, to map units; they must stay finite.
bool degrees_to_map_units(const token& t, long double& target);

// Compares class names as the reader finds them, ignoring ASCII case.
bool same_text_ignoring_case(std::string_view a, std::string_view b);

} // namespace wayloom
