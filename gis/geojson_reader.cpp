#include "gis/geojson_reader.h"

#include "gis/feature_import.h"
#include "gis/map_features.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace wayloom {

namespace {

using json = nlohmann::json;

bool position_of(const json& value, read_position& out)
{
    if (!value.is_array() || value.size() < 2 || !value[0].is_number() || !value[1].is_number()) return false;
    out.lon = value[0].get<double>();
    out.lat = value[1].get<double>();
    if (value.size() > 2 && value[2].is_number()) out.alt = value[2].get<double>();
    return true;
}

bool positions_of(const json& value, std::vector<read_position>& out)
{
    if (!value.is_array()) return false;
    for (const json& one : value)
        if (!position_of(one, out.emplace_back())) return false;
    return true;
}

// Fills the feature's geometry; the problem when it is malformed.
std::optional<std::string> read_geometry_of(const json& geometry, read_feature& f)
{
    const auto type = geometry.find("type");
    if (type == geometry.end() || !type->is_string()) return "the geometry has no type";
    const std::string& name = type->get_ref<const std::string&>();
    const auto coordinates = geometry.find("coordinates");
    const json none;
    const json& c = coordinates == geometry.end() ? none : *coordinates;
    if (name == "Point") {
        f.geometry = read_geometry::point;
        if (!position_of(c, f.positions.emplace_back())) return "the Point's coordinates are not [longitude, latitude]";
    } else if (name == "LineString") {
        f.geometry = read_geometry::line;
        if (!positions_of(c, f.positions)) return "the LineString's coordinates are not a list of [longitude, latitude]";
    } else if (name == "Polygon") {
        f.geometry = read_geometry::polygon;
        if (!c.is_array() || c.empty() || !positions_of(c[0], f.positions))
            return "the Polygon's coordinates are not a list of rings of [longitude, latitude]";
        f.holes = c.size() - 1;
    } else {
        f.geometry = read_geometry::other;
    }
    return std::nullopt;
}

void read_properties(const json& properties, read_feature& f)
{
    const auto text = [&](const char* key) -> std::optional<std::string> {
        const auto found = properties.find(key);
        if (found == properties.end()) return std::nullopt;
        if (found->is_string()) return found->get<std::string>();
        if (found->is_number()) return found->dump();
        return std::nullopt;
    };
    if (auto name = text("name")) f.name = *name;
    if (auto colour = text("colour")) f.colour = colour_from_text(*colour);
    if (auto border = text("border")) f.border = colour_from_text(*border);
    if (const auto altitude = properties.find("altitude"); altitude != properties.end() && altitude->is_number())
        f.altitude = altitude->get<double>();
    if (const auto classes = properties.find("classes"); classes != properties.end() && classes->is_array())
        for (const json& c : *classes)
            if (c.is_string()) f.classes.push_back(c.get<std::string>());
}

bool take_feature(const json& value, std::size_t index, feature_import& import)
{
    read_feature f;
    f.where = "GeoJSON feature " + std::to_string(index);
    if (!value.is_object() || value.value("type", json()) != "Feature") return import.fail(f, "not a Feature");
    if (const auto properties = value.find("properties"); properties != value.end() && properties->is_object())
        read_properties(*properties, f);
    const auto geometry = value.find("geometry");
    if (geometry != value.end() && !geometry->is_null()) {
        if (!geometry->is_object()) return import.fail(f, "the geometry is not an object");
        if (const auto problem = read_geometry_of(*geometry, f)) return import.fail(f, *problem);
    }
    return import.add(f);
}

constexpr std::string_view geometry_types[] = {"Point", "LineString", "Polygon", "MultiPoint",
                                               "MultiLineString", "MultiPolygon", "GeometryCollection"};

// "parse error at line 3, column 5: syntax error ..." keeps what follows the column.
std::string parse_problem(const json::parse_error& e)
{
    const std::string_view what = e.what();
    const auto column = what.find("column ");
    const auto colon = column == std::string_view::npos ? what.find(": ") : what.find(": ", column);
    return std::string(colon == std::string_view::npos ? what : what.substr(colon + 2));
}

void read_document(std::string_view text, feature_import& import, read_report& report)
{
    const auto fail = [&](const std::string& problem) { report.errors.push_back("Not a GeoJSON file: " + problem); };
    json root;
    try {
        root = json::parse(text);
    } catch (const json::parse_error& e) {
        const std::size_t at = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size());
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
        report.error_line = static_cast<std::size_t>(line - 1);
        return fail("line " + std::to_string(line) + ": " + parse_problem(e));
    } catch (const json::exception& e) {
        return fail(e.what());
    }
    const json type = root.is_object() ? root.value("type", json()) : json();
    if (type == "FeatureCollection") {
        const auto features = root.find("features");
        if (features == root.end() || !features->is_array())
            return fail("the FeatureCollection has no list of features");
        std::size_t index = 0;
        for (const json& feature : *features)
            if (!take_feature(feature, ++index, import)) return;
    } else if (type == "Feature") {
        take_feature(root, 1, import);
    } else if (type.is_string() && std::find(std::begin(geometry_types), std::end(geometry_types),
                                             type.get<std::string>()) != std::end(geometry_types)) {
        take_feature(json{{"type", "Feature"}, {"geometry", root}}, 1, import);
    } else {
        fail("the top level is not a FeatureCollection, a Feature or a geometry");
    }
}

} // namespace

read_report read_geojson_text(map_document& doc, std::string_view text, const after_read& after)
{
    return import_features(doc, after, [&](feature_import& import, read_report& report) {
        read_document(text, import, report);
    });
}

read_report read_geojson(map_document& doc, const std::string& file_name, const after_read& after)
{
    const std::optional<std::string> text = whole_file(file_name);
    if (!text) return missing_file(file_name);
    return read_geojson_text(doc, *text, after);
}

} // namespace wayloom
