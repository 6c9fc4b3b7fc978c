// Writes the map as ESRI Shapefiles through shapelib: one set of files per
// geometry, NAME_polygons, NAME_paths and NAME_points, each a .shp with its
// .shx index, its .dbf attributes, a .cpg naming their encoding (UTF-8) and
// a .prj saying WGS 84 longitude/latitude. A set is written even when the
// map has nothing of its geometry, so that no older file of that name is
// left to be taken for part of this map.
#pragma once

#include "model/map_document.h"

#include <string>
#include <vector>

namespace wayloom {

// The attribute columns and their widths in bytes, as the .dbf holds them;
// longer text is cut at the last whole character that fits.
inline constexpr int shapefile_name_width = 80;
inline constexpr int shapefile_classes_width = 254;  // class names joined by ","

// The files a save to `file_name` ("dir/farm.shp") writes, .shp files first.
std::vector<std::string> shapefile_names(const std::string& file_name);

// Writes every file of the three sets beside each other through temporary
// files, renamed over the old ones only once all are written. Returns false
// with the reason in `error`.
bool save_shapefiles(const map_document& doc, const std::string& file_name, std::string* error);

} // namespace wayloom
