// render's page options: --scale N (1:N), --paper a4|a3|letter and
// --landscape ask for a page, the map at a true scale or fitted to the
// paper with a title, the ruler and the legend under it.
#pragma once

#include "cli/map_loading.h"
#include "print/qt/page_painter.h"

#include <optional>
#include <string>

namespace wayloom::cli {

// Whether any page option is given.
bool wants_page(const parsed_arguments& parsed);

// The paper, its turn and the scale into `order`; the usage problem, or
// nothing when the options are sound. A scale alone is on A4 paper.
std::optional<std::string> read_page_options(const parsed_arguments& parsed, page_order& order);

// The options that place things on a picture, which a page places itself;
// the first one given, or nothing.
std::optional<std::string> picture_only_option(const parsed_arguments& parsed);

} // namespace wayloom::cli
