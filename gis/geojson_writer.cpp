#include "gis/geojson_writer.h"

#include "gis/map_features.h"
#include "source/buffered_file.h"
#include "source/file_replacement.h"

#include <nlohmann/json.hpp>

namespace wayloom {

namespace {

using json = nlohmann::ordered_json;

json position(const geo_point& p) { return json::array({p.lon, p.lat}); }

json geometry_of(const map_feature& f)
{
    json coordinates = json::array();
    switch (f.geometry) {
    case feature_geometry::point:
        return {{"type", "Point"}, {"coordinates", position(f.positions.front())}};
    case feature_geometry::line:
        for (const geo_point& p : f.positions) coordinates.push_back(position(p));
        return {{"type", "LineString"}, {"coordinates", coordinates}};
    case feature_geometry::polygon:
        for (const geo_point& p : f.positions) coordinates.push_back(position(p));
        coordinates.push_back(position(f.positions.front()));
        return {{"type", "Polygon"}, {"coordinates", json::array({coordinates})}};
    }
    return nullptr;
}

json feature_json(const map_feature& f)
{
    json properties = {{"name", f.name}, {"kind", kind_name(f.kind)}};
    // Left out when empty, so that GIS programs take the names as a list of text.
    if (!f.classes.empty()) properties["classes"] = f.classes;
    properties["colour"] = colour_text(f.colour);
    properties["border"] = colour_text(f.border);
    if (f.area_m2) properties["area_m2"] = *f.area_m2;
    if (f.altitude) properties["altitude"] = *f.altitude;
    return {{"type", "Feature"}, {"geometry", geometry_of(f)}, {"properties", properties}};
}

// The text into `out`; `written` is called between features, so that a file
// can take it a block at a time.
template <class Written>
void geojson_to(std::string& out, const map_document& doc, Written written)
{
    out += "{\"type\":\"FeatureCollection\",\"features\":[";
    bool first = true;
    for (const feature_kind kind : all_kinds) {
        for_each_feature(doc, kind, [&](const map_feature& f) {
            out += first ? "\n" : ",\n";
            first = false;
            out += feature_json(f).dump();
            written();
        });
    }
    out += "\n]}\n";
}

} // namespace

std::string geojson_text(const map_document& doc)
{
    std::string out;
    geojson_to(out, doc, [] {});
    return out;
}

bool save_geojson(const map_document& doc, const std::string& file_name, std::string* error)
{
    return replace_file(file_name, [&](const std::string& temp, std::string& reason) {
        buffered_file file(temp);
        if (file.ok()) geojson_to(file.buffer(), doc, [&] { file.write_when_full(); });
        return file.close(reason);
    }, error);
}

} // namespace wayloom
