#include "model/map_units.h"
#include "source/reader.h"
#include "source/writer.h"
#include "tests/read_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include <unistd.h>

namespace wayloom {
namespace {

namespace fs = std::filesystem;

// What each writer makes of the map: the held source, save_map's file and
// write_map_file's file, which must all be the same text.
std::string written(map_document& doc)
{
    const fs::path folder = fs::temp_directory_path() / ("wayloom_writer_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::string error;
    EXPECT_TRUE(write_map_file(doc, (folder / "straight.wlm").string(), &error)) << error;
    EXPECT_TRUE(save_map(doc, (folder / "saved.wlm").string(), &error)) << error;
    const std::string text = doc.source.text();
    EXPECT_EQ(testing::read_text(folder / "saved.wlm"), text);
    EXPECT_EQ(testing::read_text(folder / "straight.wlm"), text);
    fs::remove_all(folder);
    return text;
}

t_waypoint& add_waypoint(map_document& doc, std::string name, long double lon, long double lat,
                         long double alt)
{
    t_waypoint& w = doc.create_waypoint();
    std::tie(w.name, w.lon, w.lat, w.alt) = std::tuple{std::move(name), lon, lat, alt};
    return w;
}

void add_node(t_shape& shape, const t_waypoint& w)
{
    shape.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
}

// Every kind of record, with what only an edit can make: no names, no
// marker, nodes and points whose waypoint does not exist.
TEST(writer, writes_every_record_as_its_golden_file_says)
{
    map_document doc;
    const t_waypoint& a = add_waypoint(doc, "gate", -4.052L, 52.413L, 61.5L);
    const t_waypoint& b = add_waypoint(doc, "post", -4.0L, 52.0L, 0.00005L);
    t_class& pasture = *doc.create_class();
    std::tie(pasture.name, pasture.colour, pasture.border) =
        std::tuple{"pasture", make_colour(112, 170, 80), make_colour(40, 90, 30)};
    t_shape& field = doc.create_shape();
    std::tie(field.name, field.colour, field.classes) = std::tuple{"field", make_colour(1, 2, 3), class_type{0}};
    add_node(field, a);
    add_node(field, b);
    t_shape& track = doc.create_shape();
    track.shape_type = s_path;
    add_node(track, b);
    track.nodes.emplace_back(7, to_map_units(-4.5L), to_map_units(52.25L));
    t_set& posts = doc.create_set();
    posts.name = "posts";
    posts.classes = {0, 0};
    point_record& p = posts.add_point(doc.new_point);
    std::tie(p.name, p.colour, p.marker, p.size, p.show_name, p.waypoint) =
        std::tuple{"p1", make_colour(255, 255, 255), point_type{p_square}, 6.5L, false, 1};
    point_record& lost = posts.add_point(doc.new_point);
    std::tie(lost.marker, lost.waypoint, lost.lon, lost.lat) = std::tuple(0, -1, 3.5L * 360, -1.25L * 360);

    EXPECT_EQ(written(doc), testing::read_text(WAYLOOM_TEST_DATA "/source/every_record.written"));
}

// Whole maps read and written again, each as tests/data/source/NAME.written
// says; the farm example is written as it is.
TEST(writer, whole_maps_write_as_their_golden_files_say)
{
    const std::string data = WAYLOOM_TEST_DATA "/source/";
    const std::string farm = WAYLOOM_SOURCE_DIR "/examples/farm.wlm";
    const std::pair<std::string, std::string> maps[] = {
        {data + "case_and_names.wlm", data + "case_and_names.written"},
        {data + "points.wlm", data + "points.written"},
        {data + "line_ends.wlm", data + "line_ends.written"},
        {farm, farm},
    };
    for (const auto& [file, expected] : maps) {
        map_document doc;
        ASSERT_TRUE(read_map(doc, file).ok()) << file;
        EXPECT_EQ(written(doc), testing::read_text(expected)) << file;
    }
}

TEST(writer, empty_items_are_left_out_and_an_empty_map_writes_nothing)
{
    map_document doc;
    EXPECT_EQ(written(doc), "");
    doc.create_shape().name = "empty";
    doc.create_set().name = "none";
    doc.create_class()->name = "unused";
    EXPECT_EQ(written(doc), "class unused\r\n  {\r\n    colour 128,128,128\r\n    border 0,0,0\r\n  }\r\n\r\n")
        << "no waypoints block, no shape without nodes, no set without points; the class stays";
}

TEST(writer, names_are_written_so_that_they_read_back_as_one_word)
{
    struct row {
        const char* name;
        const char* written;
    };
    const row rows[] = {{"my point", "my_point"}, {"a+b{c}", "a_b_c_"},     {"tab\there", "tab_here"},
                        {"ok-name_1.2", "ok-name_1.2"}, {"caf\xc3\xa9", "cafe"}, {"x,y;z", "x_y_z"},
                        {"W\xC3\xBCrzbr 5\xE2\x82\xAC", "Wurzbr_5_"}, {"\xCC\x84", "_"}};
    for (const row& r : rows) EXPECT_EQ(written_name(r.name), r.written) << r.name;
}

TEST(writer, a_map_with_awkward_names_reads_back)
{
    map_document doc;
    const t_waypoint& w = add_waypoint(doc, "north gate", 1, 2, 3);
    add_waypoint(doc, "", 4, 5, 6);
    t_class& c = *doc.create_class();
    c.name = "rough grazing";
    t_class& unnamed = *doc.create_class();
    t_shape& s = doc.create_shape();
    s.name = "big field {east}";
    s.classes = {c.number, unnamed.number};
    add_node(s, w);
    t_set& set = doc.create_set();
    set.add_point(doc.new_point).waypoint = 0;
    update_map_source(doc);

    map_document back;
    back.source.set_text(doc.source.text());
    const read_report report = read_from_file(back);
    ASSERT_TRUE(report.ok()) << report.errors.front();
    EXPECT_EQ(back.waypoints[0]->name, "north_gate");
    EXPECT_EQ(back.waypoints[1]->name, "no-name-1");
    EXPECT_EQ(back.classes[0]->name, "rough_grazing");
    EXPECT_EQ(back.classes[1]->name, "no-name-1");
    EXPECT_EQ(back.shapes[0]->name, "big_field__east_");
    EXPECT_EQ(back.shapes[0]->classes, (class_type{0, 1}));
    EXPECT_EQ(back.sets[0]->points[0].name, "no-name-1");
}

TEST(writer, save_replaces_the_file)
{
    const fs::path folder = fs::temp_directory_path() / "wayloom_writer_save";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "farm.wlm";
    std::ofstream(file) << "old map";
    map_document doc;
    add_waypoint(doc, "a", 1, 2, 3);
    std::string error;
    ASSERT_TRUE(save_map(doc, file.string(), &error)) << error;
    EXPECT_EQ(testing::read_text(file), "waypoints\r\n  {\r\n    a,\r\n    1,\r\n    2,\r\n    3\r\n\r\n  }\r\n\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
    // Failures are in save_failure_test.
    fs::remove_all(folder);
}

} // namespace
} // namespace wayloom
