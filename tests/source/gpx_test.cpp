#include "model/map_units.h"
#include "source/gpx_reader.h"
#include "source/gpx_writer.h"
#include "source/reader.h"
#include "source/writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace wayloom {
namespace {

const std::string data = std::string(WAYLOOM_TEST_DATA) + "/gpx/";
constexpr double none = static_cast<double>(no_altitude);  // no <ele>

struct expected_waypoint {
    const char* name;
    double lat, lon, alt;
};

void expect_waypoints(const map_document& doc, const std::vector<expected_waypoint>& expected)
{
    ASSERT_EQ(doc.waypoints.size(), expected.size());
    ASSERT_EQ(doc.waypoints_list.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const t_waypoint& w = *doc.waypoints[i];
        EXPECT_EQ(w.name, expected[i].name) << i;
        EXPECT_EQ(doc.waypoints_list.entries[i].text, expected[i].name) << i;
        EXPECT_NEAR(static_cast<double>(w.lat), expected[i].lat, 1e-12) << expected[i].name;
        EXPECT_NEAR(static_cast<double>(w.lon), expected[i].lon, 1e-12) << expected[i].name;
        EXPECT_NEAR(static_cast<double>(w.alt), expected[i].alt, 1e-12) << expected[i].name;
    }
}

t_waypoint& add_waypoint(map_document& doc, const char* name, double lat, double lon, double alt)
{
    t_waypoint& w = doc.create_waypoint();
    w.name = name;
    w.lat = lat;
    w.lon = lon;
    w.alt = alt;
    doc.waypoints_list.add(w.name, &w);
    return w;
}

TEST(read_gpx, takes_waypoints_and_routes_past_namespaces_extensions_and_cdata)
{
    map_document doc;
    const read_report report = read_gpx(doc, data + "odd.gpx");
    EXPECT_TRUE(report.ok());
    expect_waypoints(doc, {{"Gate & stile", 52.4101, -4.0502, 61.5},
                           {"Barn <north>", 52.4103, -4.0504, none},
                           {"Waypoint-3", 52.4104, -4.0505, none},
                           {"Ford", 52.4105, -4.0507, none},
                           {"a_route-2", 52.4106, -4.0508, none}});
    ASSERT_EQ(doc.shape_count(), 1);
    EXPECT_EQ(doc.shapes[0]->name, "a_route");
    EXPECT_EQ(report.warnings, (std::vector<std::string>{
                                   "Point without a valid lat and lon skipped: line 12",
                                   "Point without a valid lat and lon skipped: line 17",
                                   "1 track left out: fewer than 2 points (3 for a shape)"}));
}

// Tracks and routes: each <trkseg> a path, or a shape when it walks back
// within 25 metres of its start, or as its <type> says; each <rte> its
// waypoints and a path through them.
TEST(read_gpx, tracks_and_routes_become_paths_and_shapes)
{
    const auto pt = [](const char* lat, const char* lon) {
        return std::string("<trkpt lat='") + lat + "' lon='" + lon + "'/>";
    };
    // A field about 100 metres across, and a lane.
    const std::string field = pt("52.41", "-4.05") + pt("52.411", "-4.05") + pt("52.411", "-4.0485") + pt("52.41", "-4.0485");
    const std::string lane = "<trkseg>" + pt("52.40", "-4.06") + pt("52.401", "-4.06") + "</trkseg>";
    const std::tuple<const char*, std::string, std::string, int> rows[] = {
        {"one segment", "<trk><name>Lane</name>" + lane + "</trk>", "lane path 2|", 2},
        {"several segments", "<trk><name>Lane</name>" + lane + lane + lane + "</trk>",
         "lane path 2|lane-2 path 2|lane-3 path 2|", 6},
        {"unnamed tracks", "<trk>" + lane + "</trk><trk>" + lane + "</trk>", "track-1 path 2|track-2 path 2|", 4},
        {"a closed walk, 17 metres short of its start",
         "<trk><name>North Field</name><trkseg>" + field + pt("52.41015", "-4.05") + "</trkseg></trk>",
         "north_field shape 5|", 5},
        {"a walk back to its start typed a path",
         "<trk><name>loop</name><type>path</type><trkseg>" + field + pt("52.41", "-4.05") + "</trkseg></trk>",
         "loop path 5|", 5},
        {"a route through a waypoint it repeats",
         "<wpt lat='52.41' lon='-4.05'><name>gate</name></wpt><rte><name>to well</name>"
         "<rtept lat='52.41' lon='-4.05'><name>GATE</name></rtept><rtept lat='52.42' lon='-4.05'/>"
         "<rtept lat='52.43' lon='-4.05'><name>well</name><ele>57</ele></rtept></rte><rte/>",
         "to_well path 3|", 3},
    };
    for (const auto& [name, body, shapes, waypoints] : rows) {
        map_document doc;
        EXPECT_TRUE(read_gpx_text(doc, "<gpx>" + body + "</gpx>").ok()) << name;
        std::string seen;
        for (const auto& s : doc.shapes)
            seen += s->name + (s->is_path() ? " path " : " shape ") + std::to_string(s->node_count()) + "|";
        EXPECT_EQ(seen, shapes) << name;
        EXPECT_EQ(doc.waypoint_count(), waypoints) << name;
        EXPECT_EQ(doc.shape_list.size(), doc.shapes.size()) << name;
    }
}

TEST(read_gpx, appends_after_the_map_as_a_merge_does)
{
    map_document doc;
    add_waypoint(doc, "home", 2, 1, 3);
    bool after_ran = false;
    const read_report report = read_gpx_text(
        doc, "<gpx><wpt lat='10' lon='20'/><wpt lat='11' lon='21'><name>b</name></wpt></gpx>",
        [&](map_document&) { after_ran = true; });
    EXPECT_TRUE(report.ok());
    EXPECT_TRUE(after_ran);
    expect_waypoints(doc, {{"home", 2, 1, 3}, {"Waypoint-2", 10, 20, none}, {"b", 11, 21, none}});
    EXPECT_EQ(doc.waypoints[2]->number, 2);
}

TEST(read_gpx, a_file_that_is_not_gpx_adds_nothing_and_says_where)
{
    struct row {
        const char* name;
        const char* text;
        const char* error;
    };
    const row rows[] = {
        {"map text", "waypoints\n{\n}\n", "Not a GPX file: line 1: syntax error"},
        {"broken after good points", "<gpx>\n<wpt lat='1' lon='2'/>\n<wpt lat='1' lon='2'>\n</gpx>",
         "Not a GPX file: line 4: mismatched tag"},
        {"another XML", "<?xml version='1.0'?>\n<html><wpt lat='1' lon='2'/></html>",
         "Not a GPX file: line 2: the first element is <html>, not <gpx>"},
        {"empty", "", "Not a GPX file: line 1: no element found"},
        {"unknown entity", "<gpx><wpt lat='1' lon='2'><name>&nbsp;</name></wpt></gpx>",
         "Not a GPX file: line 1: undefined entity"},
    };
    for (const row& r : rows) {
        map_document doc;
        add_waypoint(doc, "home", 2, 1, 3);
        bool after_ran = false;
        const read_report report = read_gpx_text(doc, r.text, [&](map_document&) { after_ran = true; });
        EXPECT_EQ(report.errors, std::vector<std::string>{r.error}) << r.name;
        EXPECT_FALSE(after_ran) << r.name;
        expect_waypoints(doc, {{"home", 2, 1, 3}});
    }
}

TEST(read_gpx, a_missing_file_is_reported_as_a_map_file_is)
{
    map_document doc;
    const read_report report = read_gpx(doc, data + "none.gpx");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Cant find : " + data + "none.gpx"});
    EXPECT_TRUE(report.missing);
    EXPECT_EQ(read_gpx(doc, data).errors, std::vector<std::string>{"Cant find : " + data});
}

TEST(is_gpx_file_name, goes_by_the_extension_in_any_case)
{
    EXPECT_TRUE(is_gpx_file_name("a.gpx"));
    EXPECT_TRUE(is_gpx_file_name("/x/Current.GPX"));
    EXPECT_FALSE(is_gpx_file_name("a.wlm"));
    EXPECT_FALSE(is_gpx_file_name("gpx"));
}

map_document farm()
{
    map_document doc;
    add_waypoint(doc, "gate", 52.4123456789012, -4.0512345678901, 61.25);
    add_waypoint(doc, "stile & \"step\"", 52.41, -4.05, 60);
    add_waypoint(doc, "barn", 52.4111, -4.049, 58);
    const auto add = [&](const char* name, std::vector<int> corners, bool path) {
        t_shape& shape = doc.create_shape();
        shape.name = name;
        shape.shape_type = path ? s_path : s_polygon;
        for (int i : corners) {
            const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(i)];
            shape.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
        }
        doc.add_item(name, &shape, nullptr);
    };
    add("orchard", {0, 1, 2}, false);
    add("lane", {0, 2}, true);
    return doc;
}

TEST(gpx_text, writes_waypoints_then_shapes_and_paths_as_tracks)
{
    const std::string text = gpx_text(farm());
    EXPECT_EQ(text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<gpx version=\"1.1\" creator=\"Wayloom\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
              "  <wpt lat=\"52.4123456789\" lon=\"-4.0512345679\">\n    <ele>61.25</ele>\n"
              "    <name>gate</name>\n  </wpt>\n"
              "  <wpt lat=\"52.41\" lon=\"-4.05\">\n    <ele>60</ele>\n"
              "    <name>stile &amp; &quot;step&quot;</name>\n  </wpt>\n"
              "  <wpt lat=\"52.4111\" lon=\"-4.049\">\n    <ele>58</ele>\n"
              "    <name>barn</name>\n  </wpt>\n"
              "  <trk>\n    <name>orchard</name>\n    <type>shape</type>\n    <trkseg>\n"
              "      <trkpt lat=\"52.4123456789\" lon=\"-4.0512345679\"/>\n"
              "      <trkpt lat=\"52.41\" lon=\"-4.05\"/>\n"
              "      <trkpt lat=\"52.4111\" lon=\"-4.049\"/>\n"
              "      <trkpt lat=\"52.4123456789\" lon=\"-4.0512345679\"/>\n"
              "    </trkseg>\n  </trk>\n"
              "  <trk>\n    <name>lane</name>\n    <type>path</type>\n    <trkseg>\n"
              "      <trkpt lat=\"52.4123456789\" lon=\"-4.0512345679\"/>\n"
              "      <trkpt lat=\"52.4111\" lon=\"-4.049\"/>\n"
              "    </trkseg>\n  </trk>\n"
              "</gpx>\n");
}

TEST(gpx_text, names_stay_valid_xml_in_utf8)
{
    map_document doc;
    doc.create_waypoint().name = "caf\xc3\xa9 \xe9t\xe9\x01<";
    EXPECT_NE(gpx_text(doc).find("<name>caf\xc3\xa9 \xc3\xa9t\xc3\xa9_&lt;</name>"), std::string::npos);
}

// A waypoint without an altitude has no <ele> (not one at sea level), GPX
// longitudes stop short of 180, and names read without the white space around.
TEST(gpx_text, elevations_and_longitudes_as_gpx_allows_them)
{
    struct row {
        const char* name;
        long double lon, alt;
        const char* written;  // the <wpt> up to its name
    };
    const row rows[] = {
        {"sea level", 1, 0, "lon=\"1\">\n    <ele>0</ele>\n"},
        {"below it", 1, -415.5L, "lon=\"1\">\n    <ele>-415.5</ele>\n"},
        {"none", 1, no_altitude, "lon=\"1\">\n    <name>"},
        {"past what a handset holds", 1, 6.4e103L, "lon=\"1\">\n    <name>"},
        {"no number", 1, 1e400L, "lon=\"1\">\n    <name>"},
        {"the meridian", 180, 0, "lon=\"-180\">"},
        {"past it", 190.5L, 0, "lon=\"-169.5\">"},
        {"rounds to it", 179.999999999996L, 0, "lon=\"-180\">"},
        {"west", -180, 0, "lon=\"-180\">"},
    };
    for (const row& r : rows) {
        map_document doc;
        t_waypoint& w = doc.create_waypoint();
        std::tie(w.name, w.lon, w.alt) = std::tuple{"w", r.lon, r.alt};
        EXPECT_NE(gpx_text(doc).find(r.written), std::string::npos) << r.name << "\n" << gpx_text(doc);
    }
    map_document back;
    ASSERT_TRUE(read_gpx_text(back, "<gpx><wpt lat='1' lon='2'><name>\n  Gate \t</name></wpt>\n"
                                    "<rte><rtept lat='1' lon='2'><name> </name></rtept></rte></gpx>").ok());
    ASSERT_EQ(back.waypoint_count(), 2);
    EXPECT_EQ(back.waypoints[0]->name, "Gate");
    EXPECT_EQ(back.waypoints[1]->name, "route-1-1") << "a route point named with blanks only is named by its route";
    EXPECT_EQ(back.waypoints[0]->alt, no_altitude);
    EXPECT_EQ(gpx_text(back).find("<ele>"), std::string::npos);
}

// .wlm → .gpx → .wlm keeps every waypoint, its name as the map writer
// cleans it, and its position to 1e-9 degrees, and every shape and path
// with its nodes on the same waypoints.
TEST(gpx_round_trip, keeps_waypoints_through_a_file)
{
    const auto folder = std::filesystem::temp_directory_path() /
                        ("wayloom_gpx_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string gpx = (folder / "farm.gpx").string();
    map_document original = farm();
    std::string error;
    ASSERT_TRUE(save_gpx(original, gpx, &error)) << error;

    map_document back;
    ASSERT_TRUE(read_gpx(back, gpx).ok());
    ASSERT_TRUE(save_map(back, (folder / "farm.wlm").string(), &error)) << error;
    map_document again;
    ASSERT_TRUE(read_map(again, (folder / "farm.wlm").string()).ok());
    ASSERT_EQ(again.waypoints.size(), original.waypoints.size());
    for (std::size_t i = 0; i < original.waypoints.size(); ++i) {
        const t_waypoint& a = *original.waypoints[i];
        const t_waypoint& b = *again.waypoints[i];
        EXPECT_EQ(b.name, written_name(a.name));
        EXPECT_NEAR(static_cast<double>(b.lat), static_cast<double>(a.lat), 1e-9);
        EXPECT_NEAR(static_cast<double>(b.lon), static_cast<double>(a.lon), 1e-9);
        EXPECT_NEAR(static_cast<double>(b.alt), static_cast<double>(a.alt), 1e-9);
    }
    ASSERT_EQ(again.shape_count(), original.shape_count());
    for (std::size_t i = 0; i < original.shapes.size(); ++i) {
        const t_shape &a = *original.shapes[i], &b = *again.shapes[i];
        EXPECT_EQ(std::tie(b.name, b.shape_type), std::tie(a.name, a.shape_type));
        std::vector<std::int32_t> na, nb;
        for (const t_node& n : a.nodes) na.push_back(n.waypoint);
        for (const t_node& n : b.nodes) nb.push_back(n.waypoint);
        EXPECT_EQ(nb, na) << a.name;
    }
    // A long file, written a block at a time, is the text as a whole.
    map_document many;
    for (int i = 0; i < 3000; ++i) add_waypoint(many, i % 7 ? "post" : "stile & <gate>", 52 + i * 1e-6, -4 - i * 1e-6, i);
    ASSERT_TRUE(save_gpx(many, gpx, &error)) << error;
    std::ifstream written(gpx, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_GT(bytes.size(), std::size_t{4} << 16);
    EXPECT_TRUE(bytes == gpx_text(many));
    // A quick first pass counts the points, so the registries grow once.
    map_document many_back;
    ASSERT_TRUE(read_gpx(many_back, gpx).ok());
    EXPECT_EQ(many_back.waypoints.size(), 3000u);
    EXPECT_EQ(many_back.waypoints.capacity(), 3000u);

    EXPECT_FALSE(save_gpx(original, (folder / "no/such/folder.gpx").string(), &error));
    EXPECT_EQ(error, std::strerror(ENOENT));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace wayloom
