#include "model/map_units.h"
#include "source/reader.h"
#include "source/writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <tuple>

namespace wayloom {
namespace {

std::string written(map_document& doc)
{
    update_map_source(doc);
    std::string text = doc.source.text();
    std::erase(text, '\r');
    return text;
}

t_waypoint& add_waypoint(map_document& doc, std::string name, long double lon, long double lat,
                         long double alt)
{
    t_waypoint& w = doc.create_waypoint();
    w.name = std::move(name);
    w.lon = lon;
    w.lat = lat;
    w.alt = alt;
    return w;
}

void add_node(t_shape& shape, const t_waypoint& w)
{
    shape.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
}

TEST(writer, writes_every_record_line_by_line)
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
    t_set& posts = doc.create_set();
    posts.name = "posts";
    posts.classes = {0, 0};
    point_record& p = posts.add_point(doc.new_point);
    std::tie(p.name, p.colour, p.marker, p.size, p.show_name, p.waypoint) =
        std::tuple{"p1", make_colour(255, 255, 255), point_type{p_square}, 6.5L, false, 1};
    posts.add_point(doc.new_point).marker = 0;  // no name, no marker, no waypoint

    EXPECT_EQ(written(doc),
              "waypoints\n  {\n"
              "    gate,\n    -4.052,\n    52.413,\n    61.5\n\n"
              "    post,\n    -4,\n    52,\n    5E-5\n\n"
              "  }\n\n"
              "class pasture\n  {\n    colour 112,170,80\n    border 40,90,30\n  }\n\n"
              "shape field\n  {\n    colour 1,2,3\n    border 0,0,0\n    class pasture\n    nodes\n      {\n"
              "        0,\n        -4.052,\n        52.413\n\n"
              "        1,\n        -4,\n        52\n\n"
              "      }\n  }\n\n"
              "path No-Name-2\n  {\n    colour 128,128,128\n    border 0,0,0\n    nodes\n      {\n"
              "        1,\n        -4,\n        52\n\n"
              "      }\n  }\n\n"
              "set posts\n  {\n    class pasture\n    class pasture\n    points\n      {\n"
              "        p1,\n        colour 255,255,255\n        border 0,0,0\n        square,\n"
              "        6.5,\n        0,\n        1,\n        -4,\n        52\n\n"
              "        No-Name-2,\n        colour 128,128,128\n        border 0,0,0\n        default,\n"
              "        10,\n        1,\n        -1,\n        0,\n        0\n\n"
              "      }\n  }\n\n");
}

TEST(writer, empty_items_are_left_out_and_an_empty_map_writes_nothing)
{
    map_document doc;
    EXPECT_EQ(written(doc), "");
    doc.create_shape().name = "empty";
    doc.create_set().name = "none";
    doc.create_class()->name = "unused";
    EXPECT_EQ(written(doc), "class unused\n  {\n    colour 128,128,128\n    border 0,0,0\n  }\n\n")
        << "no waypoints block, no shape without nodes, no set without points; the class stays";
}

TEST(writer, names_are_written_so_that_they_read_back_as_one_word)
{
    struct row {
        const char* name;
        const char* written;
    };
    const row rows[] = {{"my point", "my_point"}, {"a+b{c}", "a_b_c_"},     {"tab\there", "tab_here"},
                        {"ok-name_1.2", "ok-name_1.2"}, {"caf\xc3\xa9", "caf__"}, {"x,y;z", "x_y_z"}};
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

TEST(writer, a_node_on_an_unknown_waypoint_keeps_its_own_position)
{
    map_document doc;
    add_waypoint(doc, "only", 1, 2, 0);
    t_shape& s = doc.create_shape();
    s.name = "s";
    s.nodes.emplace_back(7, to_map_units(-4.5L), to_map_units(52.25L));
    t_set& set = doc.create_set();
    set.name = "p";
    point_record& p = set.add_point(doc.new_point);
    std::tie(p.name, p.waypoint, p.lon, p.lat) = std::tuple("x", -1, 3.5L * 360, -1.25L * 360);
    const std::string text = written(doc);
    EXPECT_NE(text.find("        7,\n        -4.5,\n        52.25\n"), std::string::npos) << text;
    EXPECT_NE(text.find("        -1,\n        3.5,\n        -1.25\n"), std::string::npos) << text;
}

TEST(writer, save_replaces_the_file)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "wayloom_writer_save";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "farm.wlm";
    {
        std::ofstream old(file);
        old << "old map";
    }
    map_document doc;
    add_waypoint(doc, "a", 1, 2, 3);
    std::string error;
    ASSERT_TRUE(save_map(doc, file.string(), &error)) << error;
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "waypoints\r\n  {\r\n    a,\r\n    1,\r\n    2,\r\n    3\r\n\r\n  }\r\n\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file is left behind";

    // Failures are in save_failure_test.
    fs::remove_all(folder);
}

} // namespace
} // namespace wayloom
