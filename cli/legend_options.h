// The legend options of render and legend: which shapes or classes, where,
// and in what font.
#pragma once

#include "annotations/legend.h"
#include "cli/map_loading.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom::cli {

struct legend_request {
    bool wanted = false;  // a list of shapes or classes was given
    std::vector<std::string> names;  // as given
    legend_state legend;
};

// Reads `shapes_option` or `classes_option` (not both; a legend wants at
// least one name), "--legend-at X,Y" when `placed`, "--font-size N" and
// "--bold". Returns the usage problem, or nothing when the options are sound.
std::optional<std::string> read_legend_options(const parsed_arguments& parsed,
                                               std::string_view shapes_option,
                                               std::string_view classes_option, bool placed,
                                               legend_request& out);

// Lists the map's shapes or classes as the legend window does and chooses
// the named ones (the legend keeps list order). Returns the message for the
// first name nothing carries, or nothing.
std::optional<std::string> choose_legend_items(legend_request& request, map_document& doc);

} // namespace wayloom::cli
