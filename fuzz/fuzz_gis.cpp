// Feeds arbitrary bytes to the GeoJSON reader (first byte even) or the KML
// reader (odd). What it read must write back as GeoJSON, as KML and as a
// map, and each must read again without error and with the same items.
#include "gis/geojson_reader.h"
#include "gis/geojson_writer.h"
#include "gis/kml_reader.h"
#include "gis/kml_writer.h"
#include "source/reader.h"
#include "source/writer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace wayloom;
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    map_document doc;
    if (data[0] % 2 == 0) read_geojson_text(doc, text);
    else read_kml_text(doc, text);

    map_document as_geojson, as_kml;
    if (!read_geojson_text(as_geojson, geojson_text(doc)).ok() || as_geojson.shape_count() != doc.shape_count())
        std::abort();
    if (!read_kml_text(as_kml, kml_text(doc, "fuzz")).ok() || as_kml.shape_count() != doc.shape_count())
        std::abort();

    update_map_source(doc);
    map_document as_map;
    as_map.source.set_text(doc.source.text());
    if (!read_from_file(as_map).ok() || as_map.waypoint_count() != doc.waypoint_count() ||
        as_map.shape_count() != doc.shape_count())
        std::abort();
    return 0;
}
