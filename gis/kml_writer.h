// Writes the map as KML 2.2: a Document named after the map with a Folder
// per kind (Waypoints, Shapes, Paths, Points), each item a Placemark with
// its name, its colours as an inline Style, its kind, classes and area as
// ExtendedData, and a Point, LineString or Polygon (outer boundary only).
#pragma once

#include "model/map_document.h"

#include <string>
#include <string_view>

namespace wayloom {

// The KML text. Colours are written in KML's aabbggrr order, opaque: a
// polygon's fill as its PolyStyle and its border as its LineStyle, a path's
// colours the same way, a point's fill as its IconStyle. Polygon rings are
// closed and run counter-clockwise.
std::string kml_text(const map_document& doc, std::string_view document_name);

// Writes the same text to the file through a temporary file renamed over
// it; the document takes the file's name without its folder and extension.
// Returns false with the reason in `error`.
bool save_kml(const map_document& doc, const std::string& file_name, std::string* error);

} // namespace wayloom
