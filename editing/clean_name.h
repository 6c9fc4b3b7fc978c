// Names the user types for items, classes and points, made safe for the map
// source, where a blank or one of "+-.{}" would split or end a word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom {

// An empty text becomes "no-name" and the counter in decimal, and the counter
// goes up by one; otherwise every tab, space, "+", "-", ".", "{" and "}"
// becomes "_". Bytes above 127 (UTF-8 letters) stay as they are.
std::string clean_name(std::string_view text, std::int32_t& no_name_counter);

} // namespace wayloom
