#include "gis/kml_writer.h"

#include "gis/map_features.h"
#include "source/buffered_file.h"
#include "source/file_replacement.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

namespace wayloom {

namespace {

// Text is UTF-8 already (map_features); XML wants five characters escaped
// and cannot hold the other control characters at all.
void append_escaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' ? '_' : c;
        }
    }
}

// The shortest decimal that reads back as the same double.
void append_number(std::string& out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void append_element(std::string& out, std::string_view name, std::string_view text)
{
    out += '<';
    out += name;
    out += '>';
    append_escaped(out, text);
    out += "</";
    out += name;
    out += '>';
}

std::string kml_colour(colour_value c)
{
    char text[9];
    std::snprintf(text, sizeof text, "ff%02x%02x%02x", blue_of(c), green_of(c), red_of(c));
    return text;
}

void append_coordinates(std::string& out, const map_feature& f, bool closed)
{
    out += "<coordinates>";
    const auto one = [&](const geo_point& p) {
        append_number(out, p.lon);
        out += ',';
        append_number(out, p.lat);
    };
    for (std::size_t i = 0; i < f.positions.size(); ++i) {
        if (i > 0) out += ' ';
        one(f.positions[i]);
    }
    if (closed) {
        out += ' ';
        one(f.positions.front());
    }
    out += "</coordinates>";
}

void append_data(std::string& out, std::string_view name, std::string_view value)
{
    out += "<Data name=\"";
    out += name;
    out += "\">";
    append_element(out, "value", value);
    out += "</Data>";
}

void append_placemark(std::string& out, const map_feature& f)
{
    out += "<Placemark>";
    append_element(out, "name", f.name);
    out += "<Style>";
    if (f.kind == feature_kind::waypoint || f.kind == feature_kind::point) {
        out += "<IconStyle>";
        append_element(out, "color", kml_colour(f.colour));
        out += "</IconStyle>";
    } else {
        out += "<LineStyle>";
        append_element(out, "color", kml_colour(f.border));
        out += "</LineStyle><PolyStyle>";
        append_element(out, "color", kml_colour(f.colour));
        out += "</PolyStyle>";
    }
    out += "</Style><ExtendedData>";
    append_data(out, "kind", kind_name(f.kind));
    std::string classes;
    for (const std::string& c : f.classes) classes += (classes.empty() ? "" : ",") + c;
    append_data(out, "classes", classes);
    if (f.area_m2) {
        std::string area;
        append_number(area, *f.area_m2);
        append_data(out, "area_m2", area);
    }
    if (f.altitude) {
        std::string altitude;
        append_number(altitude, *f.altitude);
        append_data(out, "altitude", altitude);
    }
    out += "</ExtendedData>";
    switch (f.geometry) {
    case feature_geometry::point:
        out += "<Point>";
        append_coordinates(out, f, false);
        out += "</Point>";
        break;
    case feature_geometry::line:
        out += "<LineString>";
        append_coordinates(out, f, false);
        out += "</LineString>";
        break;
    case feature_geometry::polygon:
        out += "<Polygon><outerBoundaryIs><LinearRing>";
        append_coordinates(out, f, true);
        out += "</LinearRing></outerBoundaryIs></Polygon>";
        break;
    }
    out += "</Placemark>\n";
}

constexpr std::string_view folder_names[] = {"Waypoints", "Shapes", "Paths", "Points"};

template <class Written>
void kml_to(std::string& out, const map_document& doc, std::string_view document_name, Written written)
{
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>";
    append_element(out, "name", as_utf8(document_name));
    out += '\n';
    for (const feature_kind kind : all_kinds) {
        out += "<Folder>";
        append_element(out, "name", folder_names[static_cast<int>(kind)]);
        out += '\n';
        for_each_feature(doc, kind, [&](const map_feature& f) {
            append_placemark(out, f);
            written();
        });
        out += "</Folder>\n";
    }
    out += "</Document>\n</kml>\n";
}

} // namespace

std::string kml_text(const map_document& doc, std::string_view document_name)
{
    std::string out;
    kml_to(out, doc, document_name, [] {});
    return out;
}

bool save_kml(const map_document& doc, const std::string& file_name, std::string* error)
{
    const std::string name = std::filesystem::path(file_name).stem().string();
    return replace_file(file_name, [&](const std::string& temp, std::string& reason) {
        buffered_file file(temp);
        if (file.ok()) kml_to(file.buffer(), doc, name, [&] { file.write_when_full(); });
        return file.close(reason);
    }, error);
}

} // namespace wayloom
