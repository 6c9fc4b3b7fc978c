// The values options take, one rule each: whole numbers as the program reads
// them everywhere (blanks around and a sign allowed), held to a range, alone
// or as a comma list; and comma lists of item names, with the one rule by
// which a name given here names an item. A bad value is a usage problem.
#pragma once

#include "cli/map_loading.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom::cli {

// "a,b,c" as its parts; an empty text is one empty part.
std::vector<std::string> split_commas(std::string_view text);

// Reads option `name` when it is given: as many whole numbers as `values`
// holds, separated by commas, each from `low` to `high`. `fields` names them
// for the message ("X,Y", "R,G,B"; empty for one number). Returns the problem
// "NAME wants WHAT, not TEXT" when the value is bad; nothing when it is
// sound or the option is missing (`values` then keep what they hold).
std::optional<std::string> read_whole_option(const parsed_arguments& parsed, std::string_view name,
                                             std::int64_t low, std::int64_t high,
                                             std::span<std::int64_t> values,
                                             std::string_view fields = {});

// The names of a comma list given to `option`. An empty text names none; an
// empty name inside a list ("orchard,,pond") is the problem returned.
std::optional<std::string> read_names(std::string_view option, std::string_view text,
                                      std::vector<std::string>& names);

// Whether `asked` names the item called `name`: letters compare without
// regard to case, and a space stands for the "_" a map name holds in its
// place (the legend shows each "_" as a space).
bool names_item(std::string_view asked, std::string_view name);

} // namespace wayloom::cli
