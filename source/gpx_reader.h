// Reads a GPX file (1.0 or 1.1) into the map, appended as a merge appends:
// every <wpt> a waypoint, every <trkseg> a path or a shape and every <rte> a
// path through its points. The XML is parsed by expat.
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
// <ele>, see has_altitude), and lists them. Each track segment becomes a
// path or a shape by the map's track rules (see add_track), named after its
// track ("track-N" without a name), the second and later segments with
// "-2", "-3" ...; a track's <type> "path" or "shape" decides instead. Each
// route adds its points as waypoints, or refers to the waypoint a point
// repeats, and a path through them (see add_route; "route-N" without a
// name). A track too short to be either is left out, counted in a warning.
// A point whose lat or lon is
// missing or out of range is skipped with a warning naming its line. Text
// that is not XML, or XML that is not GPX, is an error with the parser's
// line and message, and the map keeps only what it held before. Runs
// `after` when the read succeeded. The held map source is left alone.
read_report read_gpx_text(map_document& doc, std::string_view text, const after_read& after = {});

// The same for a file, read in pieces. A file that cannot be opened gives
// "Cant find : " and its name, as a map file does.
read_report read_gpx(map_document& doc, const std::string& file_name, const after_read& after = {});

} // namespace wayloom
