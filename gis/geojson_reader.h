// Reads a GeoJSON file into the map, after what it holds: Points become
// waypoints, LineStrings paths and Polygons shapes (see feature_import.h).
// The JSON is parsed by nlohmann-json. A FeatureCollection, a single
// Feature or a bare geometry are read; names come from the "name" property,
// colours from "colour" and "border" ("#rrggbb"), classes from "classes".
#pragma once

#include "model/map_document.h"
#include "source/reader.h"

#include <string>
#include <string_view>

namespace wayloom {

// Text that is not JSON is an error with the line it fails on; JSON that is
// not GeoJSON, or a feature whose geometry is malformed, an error naming it.
// Either way the map keeps only what it held before.
read_report read_geojson_text(map_document& doc, std::string_view text, const after_read& after = {});

// The same for a file; one that cannot be opened gives "Cant find : " and its name.
read_report read_geojson(map_document& doc, const std::string& file_name, const after_read& after = {});

} // namespace wayloom
