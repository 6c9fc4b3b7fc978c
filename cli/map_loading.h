// Reading maps the way the main window's Open and Merge do, with errors
// printed for a terminal.
#pragma once

#include "model/map_document.h"
#include "source/reader.h"
#include "view/geometry/units.h"

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wayloom::cli {

// Reads the first file into the document and merges the others after it
// (".gpx" files add their waypoints). Prints each warning as "warning: ...";
// on the first read error prints each message as "error: ..." and then the
// Error tab's lines, and returns false.
bool read_maps(map_document& doc, std::span<const std::string> files, std::ostream& errors,
               const after_read& after = {});

// Writes the map with the writer, as GPX for a ".gpx" name and as GeoJSON,
// KML or Shapefiles for ".geojson", ".kml" or ".shp"; on failure prints
// "error: cannot write FILE: reason". Returns the exit code, 0 or 1.
int write_map(const map_document& doc, const std::string& file);

// The Error tab as text: each line's 1-based number right-aligned in five
// columns, ">" on the selected line, a space, the line. `error_line` is the
// 0-based line the last error pointed at.
void print_error_lines(const map_document& doc, std::size_t error_line, std::ostream& out);

// Splits "IN [IN...] -o OUT" style arguments: files before options, and the
// value of each "-o"/"--name value" option. Returns false on a malformed list.
struct parsed_arguments {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> options;  // name, value
    std::vector<std::string> flags;                             // options without a value

    const std::string* option(std::string_view name) const;
    bool has_flag(std::string_view name) const;
    // The file to write: the value of "-o", else of "--output"; null when neither is given.
    const std::string* output() const;
};

// `with_value` lists the options that take a value; `flags` those that do not.
bool parse_arguments(std::span<const std::string_view> args,
                     std::span<const std::string_view> with_value,
                     std::span<const std::string_view> flags, parsed_arguments& out,
                     std::string& problem);

// Reads "--unit metre|kilometre|feet|yard|mile" into `unit`, left as it is
// when the option is missing. Returns the usage problem, or nothing.
std::optional<std::string> read_unit_option(const parsed_arguments& parsed, unit_choice& unit);

// Prints the command's usage line and, when there is one, the problem with
// the arguments to standard error. Returns 2, the exit code for wrong arguments.
int wrong_arguments(std::string_view usage, std::string_view problem = {});

} // namespace wayloom::cli
