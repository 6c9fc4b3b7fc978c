// GIS files by their extension, in any case: ".geojson", ".kml" and ".shp".
// GeoJSON and KML are read wherever maps are; all three are written.
#pragma once

#include "model/map_document.h"
#include "source/reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

enum class gis_format { geojson, kml, shapefile };

// The format a file name's extension names, or nothing.
std::optional<gis_format> gis_format_of(std::string_view file_name);

// Whether the file is one read_gis_file reads: a GeoJSON or KML name.
bool is_readable_gis_file(std::string_view file_name);

// Reads a GeoJSON or KML file into the map after what it holds (see
// geojson_reader.h and kml_reader.h).
read_report read_gis_file(map_document& doc, const std::string& file_name, const after_read& after = {});

// Writes the map in the format the name's extension names; false with the
// reason in `error`. A Shapefile name writes the three sets of files
// shapefile_writer.h lists.
bool save_gis_file(const map_document& doc, const std::string& file_name, std::string* error);

} // namespace wayloom
