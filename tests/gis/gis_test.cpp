#include "gis/geojson_reader.h"
#include "gis/geojson_writer.h"
#include "gis/kml_reader.h"
#include "gis/kml_writer.h"
#include "model/map_units.h"
#include "source/reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace wayloom {
namespace {

// A clockwise field with a repeated closing node, a lane, and a set of one
// post; waypoint a has no altitude.
constexpr std::string_view small_map = R"(waypoints { a, 1, 2, 1E25 b, 1, 3, 20 c, 2, 3, 30 }
class grass { colour 0,128,0 border 0,0,0 }
shape field { colour 0,200,0 border 1,2,3 class grass nodes { 0, 1, 2 1, 1, 3 2, 2, 3 0, 1, 2 } }
path lane { nodes { 0, 1, 2 2, 2, 3 } }
set posts { points { post, colour 9,9,9 border 0,0,0 circle, 4, 1, 1, 1, 3 } }
)";

map_document read_small_map()
{
    map_document doc;
    doc.source.set_text(std::string(small_map));
    EXPECT_TRUE(read_from_file(doc).ok());
    return doc;
}

TEST(geojson_writer, writes_closed_counter_clockwise_rings_and_the_properties)
{
    const std::string text = geojson_text(read_small_map());
    const std::string expected = R"({"type":"FeatureCollection","features":[
{"type":"Feature","geometry":{"type":"Point","coordinates":[1.0,2.0]},"properties":{"name":"a","kind":"waypoint","colour":"#808080","border":"#808080"}},
{"type":"Feature","geometry":{"type":"Point","coordinates":[1.0,3.0]},"properties":{"name":"b","kind":"waypoint","colour":"#808080","border":"#808080","altitude":20.0}},
{"type":"Feature","geometry":{"type":"Point","coordinates":[2.0,3.0]},"properties":{"name":"c","kind":"waypoint","colour":"#808080","border":"#808080","altitude":30.0}},
{"type":"Feature","geometry":{"type":"Polygon","coordinates":[[[2.0,3.0],[1.0,3.0],[1.0,2.0],[2.0,3.0]]]},"properties":{"name":"field","kind":"shape","classes":["grass"],"colour":"#00c800","border":"#010203","area_m2":6146587780.506134}},
{"type":"Feature","geometry":{"type":"LineString","coordinates":[[1.0,2.0],[2.0,3.0]]},"properties":{"name":"lane","kind":"path","colour":"#808080","border":"#000000"}},
{"type":"Feature","geometry":{"type":"Point","coordinates":[1.0,3.0]},"properties":{"name":"post","kind":"point","colour":"#090909","border":"#000000","altitude":20.0}}
]}
)";
    EXPECT_EQ(text, expected);
}

using text_reader = read_report (*)(map_document&, std::string_view, const after_read&);

struct round_trip_row {
    const char* name;
    std::string (*write)(const map_document&);
    text_reader read;
};

// Written and read back, each item comes back with its kind, name, nodes,
// colours and classes; nodes stand on the waypoints at their places.
TEST(gis_round_trip, keeps_items_places_colours_and_classes)
{
    const round_trip_row rows[] = {
        {"geojson", geojson_text, read_geojson_text},
        {"kml", [](const map_document& doc) { return kml_text(doc, "small"); }, read_kml_text},
    };
    const map_document original = read_small_map();
    for (const round_trip_row& row : rows) {
        SCOPED_TRACE(row.name);
        map_document back;
        const read_report report = row.read(back, row.write(original), {});
        ASSERT_TRUE(report.ok()) << report.errors.front();
        EXPECT_TRUE(report.warnings.empty());
        ASSERT_EQ(back.waypoint_count(), 4);  // a, b, c and the post
        EXPECT_EQ(back.waypoints[3]->name, "post");
        EXPECT_EQ(back.waypoints[3]->colour, make_colour(9, 9, 9));
        EXPECT_DOUBLE_EQ(static_cast<double>(back.waypoints[2]->alt), 30);
        EXPECT_FALSE(has_altitude(back.waypoints[0]->alt));
        ASSERT_EQ(back.shape_count(), 2);
        const t_shape& field = *back.shapes[0];
        EXPECT_EQ(field.name, "field");
        EXPECT_FALSE(field.is_path());
        EXPECT_TRUE(back.shapes[1]->is_path());
        EXPECT_EQ(field.colour, make_colour(0, 200, 0));
        EXPECT_EQ(field.border, make_colour(1, 2, 3));
        ASSERT_EQ(field.classes.size(), 1u);
        EXPECT_EQ(back.class_by_number(field.classes[0])->name, "grass");
        const double expected[][2] = {{2, 3}, {1, 3}, {1, 2}};
        ASSERT_EQ(field.nodes.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(static_cast<double>(to_degrees(field.nodes[i].lon)), expected[i][0], 1e-9);
            EXPECT_NEAR(static_cast<double>(to_degrees(field.nodes[i].lat)), expected[i][1], 1e-9);
        }
        EXPECT_EQ(field.nodes[0].waypoint, 2);  // c, read as a waypoint before the field
        EXPECT_EQ(back.shape_list.size(), 2u);
    }
}

struct read_row {
    const char* name;
    text_reader read;
    const char* text;
    const char* error;    // "" when the read succeeds
    const char* warning;  // the last warning, or ""
    int waypoints_added;
};

const char* const lines = R"({"type":"Feature","geometry":{"type":"LineString","coordinates":)";

TEST(gis_readers, report_what_they_skip_and_fail_naming_the_feature)
{
    const std::string long_line = [] {
        std::string text = std::string(lines) + "[";
        for (int i = 0; i < 600; ++i) text += (i ? ",[" : "[") + std::to_string(i) + "e-3,1]";
        return text + "]},\"properties\":{\"name\":\"track\"}}";
    }();
    const read_row rows[] = {
        {"not json", read_geojson_text, "{\n\"type\": nope}", "Not a GeoJSON file: line 2: syntax error while parsing value - invalid literal; last read: '\"type\": no'", "", 0},
        {"not geojson", read_geojson_text, R"({"type":"Topology"})", "Not a GeoJSON file: the top level is not a FeatureCollection, a Feature or a geometry", "", 0},
        {"bare point", read_geojson_text, R"({"type":"Point","coordinates":[5,6,7]})", "", "", 1},
        {"off the globe", read_geojson_text, R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":{"type":"Point","coordinates":[1,2]}},{"type":"Feature","geometry":{"type":"Point","coordinates":[1,91]},"properties":{"name":"far"}}]})",
         "GeoJSON feature 2 (far): a position lies off the globe (longitude -180 to 180, latitude -90 to 90)", "", 0},
        {"bad coordinates", read_geojson_text, R"({"type":"Feature","geometry":{"type":"LineString","coordinates":[[1,"x"]]}})",
         "GeoJSON feature 1: the LineString's coordinates are not a list of [longitude, latitude]", "", 0},
        {"short line", read_geojson_text, R"({"type":"Feature","geometry":{"type":"LineString","coordinates":[[1,2]]}})",
         "GeoJSON feature 1: a LineString needs at least 2 positions", "", 0},
        {"hole", read_geojson_text, R"({"type":"Feature","properties":{"name":"pond"},"geometry":{"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]],[[0.1,0.1],[0.2,0.1],[0.2,0.2]]]}})",
         "", "GeoJSON feature 1 (pond): 1 hole dropped; only the outer ring is read", 3},
        {"skipped", read_geojson_text, R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":null},{"type":"Feature","geometry":{"type":"MultiPoint","coordinates":[]}}]})",
         "", "2 features skipped: only Points, LineStrings and Polygons are read", 0},
        {"long line", read_geojson_text, long_line.c_str(), "", "GeoJSON feature 1 (track): 600 nodes split into 2 paths of at most 511 nodes", 600},
        {"not xml", read_kml_text, "<kml>\n<Placemark>", "Not a KML file: line 2: no element found", "", 0},
        {"not kml", read_kml_text, "<gpx/>", "Not a KML file: line 1: the first element is <gpx>, not <kml>", "", 0},
        {"bad tuple", read_kml_text, "<kml><Document><Placemark><name>x</name>\n<Point><coordinates>1;2</coordinates></Point></Placemark></Document></kml>",
         "KML Placemark at line 1 (x): the coordinates are not longitude,latitude[,altitude] tuples", "", 0},
        {"kml hole and multi", read_kml_text, R"(<kml xmlns="http://www.opengis.net/kml/2.2"><Placemark><Polygon><outerBoundaryIs><LinearRing><coordinates>0,0 1,0 1,1</coordinates></LinearRing></outerBoundaryIs><innerBoundaryIs><LinearRing><coordinates>0.1,0.1 0.2,0.1 0.2,0.2</coordinates></LinearRing></innerBoundaryIs></Polygon></Placemark><Placemark><MultiGeometry><Point><coordinates>1,1</coordinates></Point></MultiGeometry></Placemark></kml>)",
         "", "1 feature skipped: only Points, LineStrings and Polygons are read", 3},
    };
    for (const read_row& row : rows) {
        SCOPED_TRACE(row.name);
        map_document doc;
        doc.create_waypoint().name = "kept";
        const read_report report = row.read(doc, row.text, {});
        EXPECT_EQ(report.errors.empty() ? "" : report.errors.back(), row.error);
        EXPECT_EQ(report.warnings.empty() ? "" : report.warnings.back(), row.warning);
        EXPECT_EQ(doc.waypoint_count(), 1 + row.waypoints_added);
        EXPECT_EQ(doc.waypoints.front()->name, "kept");
    }
}

} // namespace
} // namespace wayloom
