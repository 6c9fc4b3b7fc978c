// Reads the waypoints of a GPX file (1.0 or 1.1) into the map: every <wpt>
// and every named <rtept>, appended as a merge appends waypoints. The XML is
// parsed by expat.
#pragma once

#include "model/map_document.h"
#include "source/reader.h"

#include <string>
#include <string_view>

namespace wayloom {

// Whether a file name ends in ".gpx", in any case.
bool is_gpx_file_name(std::string_view file_name);

// Appends the waypoints of the GPX text to the map, each with its name
// without the white space around it (a missing one becomes "Waypoint-N" as
// in the map reader), latitude, longitude and elevation (none when it has no
// <ele>, see has_altitude), and lists them. A point whose lat or lon is
// missing or out of range is skipped with a warning naming its line. Text
// that is not XML, or XML that is not GPX, is an error with the parser's
// line and message, and the map keeps only what it held before. Runs
// `after` when the read succeeded. The held map source is left alone.
read_report read_gpx_text(map_document& doc, std::string_view text, const after_read& after = {});

// The same for a file, read in pieces. A file that cannot be opened gives
// "Cant find : " and its name, as a map file does.
read_report read_gpx(map_document& doc, const std::string& file_name, const after_read& after = {});

} // namespace wayloom
