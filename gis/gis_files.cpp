#include "gis/gis_files.h"

#include "gis/geojson_reader.h"
#include "gis/geojson_writer.h"
#include "gis/kml_reader.h"
#include "gis/kml_writer.h"
#include "gis/shapefile_writer.h"

#include <algorithm>
#include <cctype>

namespace wayloom {

namespace {

bool ends_with_no_case(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() &&
           std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

std::optional<gis_format> gis_format_of(std::string_view file_name)
{
    if (ends_with_no_case(file_name, ".geojson")) return gis_format::geojson;
    if (ends_with_no_case(file_name, ".kml")) return gis_format::kml;
    if (ends_with_no_case(file_name, ".shp")) return gis_format::shapefile;
    return std::nullopt;
}

bool is_readable_gis_file(std::string_view file_name)
{
    const auto format = gis_format_of(file_name);
    return format && *format != gis_format::shapefile;
}

read_report read_gis_file(map_document& doc, const std::string& file_name, const after_read& after)
{
    return gis_format_of(file_name) == gis_format::kml ? read_kml(doc, file_name, after)
                                                       : read_geojson(doc, file_name, after);
}

bool save_gis_file(const map_document& doc, const std::string& file_name, std::string* error)
{
    switch (gis_format_of(file_name).value_or(gis_format::geojson)) {
    case gis_format::geojson: return save_geojson(doc, file_name, error);
    case gis_format::kml: return save_kml(doc, file_name, error);
    case gis_format::shapefile: return save_shapefiles(doc, file_name, error);
    }
    return false;
}

} // namespace wayloom
