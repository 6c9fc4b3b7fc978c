// Writes the map as GeoJSON (RFC 7946): one FeatureCollection in WGS 84
// longitude/latitude, each feature with the properties name, kind, classes
// (when it has any), colour and border ("#rrggbb"), area_m2 for polygon
// shapes and altitude for waypoints and the points of sets.
#pragma once

#include "model/map_document.h"

#include <string>

namespace wayloom {

// The GeoJSON text, one feature a line. Polygons are closed rings running
// counter-clockwise; numbers are the shortest that read back exactly.
std::string geojson_text(const map_document& doc);

// Writes the same text to the file, a block at a time, through a temporary
// file renamed over it. Returns false with the reason in `error`.
bool save_geojson(const map_document& doc, const std::string& file_name, std::string* error);

} // namespace wayloom
