// Reads a KML file into the map, after what it holds: each Placemark's
// Point becomes a waypoint, its LineString a path and its Polygon a shape
// (the outer boundary; see feature_import.h). The XML is parsed by expat,
// in pieces, so a large file is never held whole. Names come from the
// Placemark's <name>, colours from its inline Style (PolyStyle or IconStyle
// the fill, LineStyle the border), classes from ExtendedData "classes".
#pragma once

#include "model/map_document.h"
#include "source/reader.h"

#include <string>
#include <string_view>

namespace wayloom {

// Text that is not XML, or XML that is not KML, is an error with the
// parser's line and message; a Placemark with malformed coordinates an
// error naming its line. Either way the map keeps only what it held before.
read_report read_kml_text(map_document& doc, std::string_view text, const after_read& after = {});

// The same for a file; one that cannot be opened gives "Cant find : " and its name.
read_report read_kml(map_document& doc, const std::string& file_name, const after_read& after = {});

} // namespace wayloom
