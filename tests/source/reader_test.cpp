#include "source/reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace wayloom {
namespace {

read_report read_text(map_document& doc, std::string_view text, const after_read& after = {})
{
    doc.source.set_text(std::string(text));
    return read_from_file(doc, after);
}

std::string selected_line(const map_document& doc)
{
    const auto at = doc.error_list.selected_index();
    return at ? doc.error_list.entries[*at].text : "<none>";
}

struct counts {
    int waypoints, classes, shapes, sets;
    friend bool operator==(const counts&, const counts&) = default;
};

counts counts_of(const map_document& doc)
{
    return {doc.waypoint_count(), doc.class_counter(), doc.shape_count(), doc.set_count()};
}

std::ostream& operator<<(std::ostream& out, const counts& c)
{
    return out << c.waypoints << "/" << c.classes << "/" << c.shapes << "/" << c.sets;
}

std::string many_nodes(int n)
{
    std::string text = "shape s {\n  nodes {\n";
    for (int i = 0; i < n; ++i) text += "    " + std::to_string(i) + " " + std::to_string(i) + " 1\n";
    return text + "  }\n}\n";
}

struct failure_case {
    const char* name;
    std::string text;
    std::vector<std::string> messages;
    std::string selected;  // the source line the Error tab selects
    counts after;          // what the map holds afterwards
    bool completed = false;
};

TEST(Reader, EveryFailureGivesItsMessageAndPointsAtItsLine)
{
    const std::string class_a = "class a {\n  colour 1 2 3\n}\n";
    const failure_case cases[] = {
        {"value expected", "waypoints\n  {\n    home,\n    east,\n    52.4,\n    61\n  }\n",
         {"Value expected"}, "    east,", {0, 0, 0, 0}},
        {"brace after a number", "waypoints {\n  home 1 2 3 {\n}\n", {"Unexpected {"}, "  home 1 2 3 {",
         {0, 0, 0, 0}},
        {"brace after colour", "class c {\n  colour { 1 2 3 }\n}\n", {"Unexpected {"}, "  colour { 1 2 3 }",
         {0, 0, 0, 0}},
        {"close after a number", "waypoints {\n  home 1 } 2 3\n}\n", {"Unexpected }"}, "  home 1 } 2 3",
         {0, 0, 0, 0}},
        {"close after a command word reads on", "waypoints }\n" + class_a, {"Unexpected }"}, "waypoints }",
         {0, 1, 0, 0}, true},
        {"group with a brace", class_a + "group {\nclass b\n", {"Last object not closed"}, "group {",
         {0, 1, 0, 0}},
        {"brace after shape", "shape {\n  colour 1 2 3\n}\n", {"Name expected"}, "shape {", {0, 0, 0, 0}},
        {"unknown command", class_a + "Blob x\n", {"Unrecongnised command : blob"}, "Blob x", {0, 0, 0, 0}},
        {"unknown class keyword", "class a {\n  fill 1 2 3\n}\n", {"Class command not recognised"},
         "  fill 1 2 3", {0, 0, 0, 0}},
        {"text ends inside a shape", "shape s {\n  colour 1 2 3\n", {"Shape command not recognised"},
         "  colour 1 2 3", {0, 0, 0, 0}},
        {"unknown set keyword", "set p {\n  nodes { 0 1 2 }\n}\n", {"Shape command not recognised"},
         "  nodes { 0 1 2 }", {0, 0, 0, 0}},
        {"brace after class in a body", class_a + "shape s {\n  class {\n", {"Unexpected { or }"}, "  class {",
         {0, 0, 0, 0}},
        {"class reference ends a body", class_a + "shape s {\n  class a\n  }\n",
         {"Unexpected }", "Unexpected { or }"}, "  }", {0, 0, 0, 0}},
        {"a brace at the start of a line drops the word before it", class_a + "shape s {\n  class a\n}\n",
         {"Unrecognised class"}, "}", {0, 0, 0, 0}},
        {"class not listed", "shape s {\n  class nope\n  colour 1 2 3\n}\n", {"Unrecognised class"},
         "  class nope", {0, 0, 0, 0}},
        {"512 nodes", many_nodes(512), {"Too many nodes"}, "  }", {0, 0, 0, 0}},
        {"point without colour", "set p {\n  points {\n    a, fill 1 2 3\n", {"Point colour or border expected"},
         "    a, fill 1 2 3", {0, 0, 0, 0}},
        {"point without border",
         "set p {\n  points {\n    a, colour 1 2 3\n    circle 10 1 0 1 2\n  }\n}\n",
         {"Point colour or border expected"}, "    circle 10 1 0 1 2", {0, 0, 0, 0}},
        {"three bad numbers, three messages", "waypoints {\n  a b c d\n  }\n",
         {"Value expected", "Value expected", "Value expected"}, "  a b c d", {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        map_document doc;
        bool after_ran = false;
        const read_report report = read_text(doc, c.text, [&](map_document&) { after_ran = true; });
        EXPECT_EQ(report.errors, c.messages) << c.name;
        EXPECT_EQ(selected_line(doc), c.selected) << c.name;
        EXPECT_EQ(counts_of(doc), c.after) << c.name;
        EXPECT_EQ(report.completed, c.completed) << c.name;
        EXPECT_EQ(after_ran, c.completed) << c.name;
    }
}

TEST(Reader, AFailedReadClearsTheListsToo)
{
    map_document doc;
    read_text(doc, "waypoints { a 1 2 3 }\nclass c { colour 1 2 3 }\nshape s { nodes { 0 1 2 } }\nbad x\n");
    EXPECT_TRUE(doc.waypoints_list.empty());
    EXPECT_TRUE(doc.class_list.empty());
    EXPECT_TRUE(doc.shape_list.empty());
}

TEST(Reader, AMissingFileIsNotRead)
{
    map_document doc;
    const read_report report = read_map(doc, "/no/such/folder/farm.wlm");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Cant find : /no/such/folder/farm.wlm"});
    EXPECT_FALSE(report.completed);
    EXPECT_TRUE(doc.error_list.empty()) << "a missing file is an error box only";
}

TEST(Reader, TheExampleFarmReads)
{
    map_document doc;
    const read_report report = read_map(doc, WAYLOOM_TEST_DATA "/../../examples/farm.wlm");
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(counts_of(doc), (counts{33, 5, 5, 1}));
}

TEST(Reader, AnEmptySourceOnlyRunsTheStepsAfterTheLastCommand)
{
    for (const char* text : {"", "\n\n\n", "  \t ,;\n"}) {
        map_document doc;
        int after = 0;
        const read_report report = read_text(doc, text, [&](map_document&) { ++after; });
        EXPECT_TRUE(report.ok()) << '"' << text << '"';
        EXPECT_TRUE(report.completed);
        EXPECT_EQ(after, 1);
    }
}

TEST(Reader, KeywordsAreCaseInsensitiveAndNamesLowerCase)
{
    map_document doc;
    const auto report = read_text(doc,
                                  "WayPoints {\n  Home-Gate, -4.05, 52.41, 61\n  2024 1 2 3\n}\n"
                                  "CLASS Pasture { COLOUR 1 2 3 Border 4 5 6 }\n"
                                  "SHAPE Big-Field {\n  Class PASTURE\n  Nodes {\n    0, -4.05, 52.41\n"
                                  "    1, 1, 2\n  }\n}\n");
    ASSERT_TRUE(report.ok()) << report.errors.front();
    EXPECT_EQ(doc.waypoints[0]->name, "home-gate");
    EXPECT_EQ(doc.waypoints[1]->name, "2024");
    EXPECT_EQ(doc.classes[0]->name, "pasture");
    EXPECT_EQ(doc.classes[0]->colour, make_colour(1, 2, 3));
    EXPECT_EQ(doc.classes[0]->border, make_colour(4, 5, 6));
    ASSERT_EQ(doc.shape_list.size(), 1u);
    EXPECT_EQ(doc.shape_list.entries[0].text, "big-field");
    const t_shape& shape = *doc.shapes[0];
    EXPECT_EQ(shape.classes, (class_type{0}));
    ASSERT_EQ(shape.node_count(), 2);
    EXPECT_EQ(shape.nodes[0].lon, -4.05L * 360);
    EXPECT_EQ(shape.nodes[0].lat, 52.41L * 360);
    EXPECT_EQ(doc.waypoints[0]->lon, -4.05L) << "waypoints keep degrees";
}

TEST(Reader, ARepeatedClosingNodeIsDroppedFromPolygonsOnly)
{
    struct row {
        const char* name;
        const char* text;
        int nodes;
    };
    const row rows[] = {
        {"polygon repeating its first node", "shape s { nodes { 0 1 1\n 1 2 2\n 2 3 1\n 3 1 1 } }", 3},
        {"two identical nodes", "shape s { nodes { 0 1 1\n 1 1 1 } }", 1},
        {"a single node", "shape s { nodes { 0 1 1 } }", 1},
        {"path back to its start keeps its last leg", "path t { nodes { 0 1 1\n 1 2 2\n 2 1 1 } }", 3},
        {"same longitude, other latitude", "shape s { nodes { 0 1 1\n 1 2 2\n 2 1 3 } }", 3},
    };
    for (const row& r : rows) {
        map_document doc;
        ASSERT_TRUE(read_text(doc, r.text).ok()) << r.name;
        EXPECT_EQ(doc.shapes[0]->node_count(), r.nodes) << r.name;
    }
}

TEST(Reader, ABlockOf511NodesIsRead)
{
    map_document doc;
    ASSERT_TRUE(read_text(doc, many_nodes(511)).ok());
    EXPECT_EQ(doc.shapes[0]->node_count(), 511);
}

TEST(Reader, PointsTakeEveryFieldInTheirPlace)
{
    map_document doc;
    const auto report = read_text(doc,
                                  "set posts {\n  points {\n"
                                  "    p1, colour 256,-1,12.9 border 1,2,3 default, 6.5, 0, 4, -4.05, 52.41\n"
                                  "    p2, colour 1 1 1 border 2 2 2 triangle 4 2 5 -4.06 52.42\n"
                                  "    p3, colour 1 1 1 border 2 2 2 SQUARE 4 1 6 -4.07 52.43\n"
                                  "    p4, colour 1 1 1 border 2 2 2 circle 4 1 7 -4.05 52.41\n"
                                  "  }\n}\n");
    ASSERT_TRUE(report.ok()) << report.errors.front();
    const t_set& set = *doc.sets[0];
    EXPECT_EQ(set.shape_type, s_points);
    EXPECT_EQ(set.point_count, 3) << "the last point repeats the first";
    EXPECT_EQ(set.capacity(), 4) << "its record stays allocated";
    const point_record& p1 = set.points[0];
    EXPECT_EQ(p1.name, "p1");
    EXPECT_EQ(p1.colour, make_colour(0, 255, 12));
    EXPECT_EQ(p1.border, make_colour(1, 2, 3));
    EXPECT_EQ(p1.marker, p_circle);
    EXPECT_EQ(p1.size, 6.5L);
    EXPECT_FALSE(p1.show_name);
    EXPECT_EQ(p1.waypoint, 4);
    EXPECT_EQ(p1.lon, -4.05L * 360);
    EXPECT_EQ(p1.lat, 52.41L * 360);
    EXPECT_EQ(set.points[1].marker, p_circle);
    EXPECT_TRUE(set.points[1].show_name) << "2 is not 0";
    EXPECT_EQ(set.points[2].marker, p_square);
}

TEST(Reader, MergedWaypointsAndReferencesMoveOnByTheWaypointBase)
{
    map_document doc;
    for (int i = 0; i < 10; ++i) doc.create_waypoint().name = "old";
    const auto report = read_text(doc,
                                  "waypoints { a 1 1 0 b 2 2 0 c 3 3 0 d 4 4 0 }\n"
                                  "shape s { nodes { 2 3 3\n 0 1 1 } }\n"
                                  "set p { points { x colour 1 1 1 border 1 1 1 circle 5 1 3 4 4 } }\n");
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(doc.waypoints[10]->name, "a");
    EXPECT_EQ(doc.waypoints[13]->number, 13);
    EXPECT_EQ(doc.shapes[0]->nodes[0].waypoint, 12);
    EXPECT_EQ(doc.shapes[0]->nodes[1].waypoint, 10);
    EXPECT_EQ(doc.sets[0]->points[0].waypoint, 13);
    ASSERT_EQ(doc.waypoints_list.size(), 4u) << "the reader lists only its own waypoints";
    EXPECT_EQ(doc.waypoints_list.object_at<t_waypoint>(0), doc.waypoints[10].get());
}

TEST(Reader, AFailedMergeKeepsTheMapThatWasThere)
{
    map_document doc;
    ASSERT_TRUE(read_text(doc, "waypoints { a 1 1 0 }\nclass c { colour 1 2 3 }\n"
                               "shape s { class c nodes { 0 1 1 } }\n")
                    .ok());
    const auto report = read_text(doc, "waypoints { b 2 2 0 }\nclass d { colour 1 2 3 }\n"
                                       "shape t { nodes { 0 1 1 } }\nset p {\n  class nope\n  points { } }\n");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Unrecognised class"});
    EXPECT_EQ(counts_of(doc), (counts{1, 1, 1, 0}));
    EXPECT_EQ(doc.waypoints_list.size(), 1u);
    EXPECT_EQ(doc.class_list.size(), 1u);
    ASSERT_EQ(doc.shape_list.size(), 1u);
    EXPECT_EQ(doc.shape_list.entries[0].text, "s");
    EXPECT_EQ(doc.shapes[0]->classes, (class_type{0}));
}

TEST(Reader, NamesWithoutBodiesAreNotListed)
{
    map_document doc;
    const auto report = read_text(doc, "class lonely\n shape s {\n  class lonely\n  colour 1 2 3 }\n");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Unrecognised class"});

    map_document other;
    ASSERT_TRUE(read_text(other, "shape bare\n set also\n class c\n").ok());
    EXPECT_EQ(counts_of(other), (counts{0, 1, 1, 1}));
    EXPECT_TRUE(other.shape_list.empty());
    EXPECT_TRUE(other.class_list.empty());
}

TEST(Reader, WordsJoinAcrossALineEndWithoutIndentation)
{
    map_document doc;
    const auto report = read_text(doc, "waypoints {\n  a 1 2 3\nb 4 5 6 }\n");
    EXPECT_EQ(report.errors.front(), "Value expected") << "\"3\" and \"b\" form the word 3b";

    map_document indented;
    EXPECT_TRUE(read_text(indented, "waypoints {\n  a 1 2 3\n  b 4 5 6 }\n").ok());
    EXPECT_EQ(indented.waypoint_count(), 2);

    map_document joined;
    ASSERT_TRUE(read_text(joined, "waypoints {\n  a 1 2 3\n\n}\nclass long\nname { colour 1 2 3 }\n").ok());
    EXPECT_EQ(joined.classes[0]->name, "longname") << "a name that ends a line joins the next line's word";
}

TEST(Reader, EmptyBlocksReadAsEmpty)
{
    map_document ok;
    const auto fine = read_text(ok, "waypoints { }\nshape s {\n  nodes {}\n  colour 1 2 3\n  }\n"
                                    "set p { points { } }\nclass c { colour 4 5 6 }\n");
    ASSERT_TRUE(fine.ok()) << fine.errors.front();
    EXPECT_EQ(counts_of(ok), (counts{0, 1, 1, 1}));
    EXPECT_EQ(ok.shapes[0]->node_count(), 0);
    EXPECT_EQ(ok.shapes[0]->colour, make_colour(1, 2, 3)) << "reading goes on after the empty block";
    EXPECT_EQ(ok.sets[0]->point_count, 0);
    EXPECT_EQ(ok.classes[0]->colour, make_colour(4, 5, 6));
}

TEST(Reader, NodesMayNameWaypointsThatDoNotExist)
{
    map_document doc;
    ASSERT_TRUE(read_text(doc, "shape s { nodes { 99 1 2\n -5 3 4 } }").ok());
    EXPECT_EQ(doc.shapes[0]->nodes[0].waypoint, 99);
    EXPECT_EQ(doc.shapes[0]->nodes[1].waypoint, -5);
}

TEST(Reader, ValuesTooLargeForTheirTargetAreNotNumbers)
{
    const char* texts[] = {
        "class c { colour 1e10 0 0 }",
        "class c { colour inf 0 0 }",
        "class c { colour 0x10 0 0 }",
        "shape s { nodes { 3e9 1 2 } }",
        "shape s { nodes { 1 1e4931 2 } }",
        "waypoints { a 1e4931 2 3 }",
        "set p { points { a colour 1 1 1 border 1 1 1 circle 1e12 1 0 1 2 } }",
        "set p { points { a colour 1 1 1 border 1 1 1 circle 4 1 2147483648 1 2 } }",
    };
    for (const char* text : texts) {
        map_document doc;
        const auto report = read_text(doc, text);
        ASSERT_FALSE(report.errors.empty()) << text;
        EXPECT_EQ(report.errors.front(), "Value expected") << text;
        EXPECT_EQ(counts_of(doc), (counts{0, 0, 0, 0})) << text;
    }
}

TEST(Reader, TheWaypointBaseCannotPushAReferencePast32Bits)
{
    map_document doc;
    for (int i = 0; i < 3; ++i) doc.create_waypoint();
    const auto report = read_text(doc, "shape s { nodes { 2147483646 1 2 } }");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Value expected"});
}

TEST(Reader, The65536thClassIsAnError)
{
    std::string text;
    for (int i = 0; i < 65536; ++i) text += " class c\n";
    map_document doc;
    const auto report = read_text(doc, text);
    EXPECT_EQ(report.errors, std::vector<std::string>{"Too many classes"});
    EXPECT_EQ(doc.class_counter(), 0);

    text.resize(text.size() - 9);
    map_document fits;
    EXPECT_TRUE(read_text(fits, text).ok());
    EXPECT_EQ(fits.class_counter(), 65535);
}

TEST(Reader, ReadsAFileWithAnyLineEnds)
{
    const auto path = std::filesystem::temp_directory_path() / "wayloom_reader_line_ends.wlm";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const char bytes[] = "waypoints\r\n  {\n    a,\r\n    1,\n    2,\n    3\r\n  }";
    std::fwrite(bytes, 1, sizeof bytes - 1, f);
    std::fclose(f);
    map_document doc;
    const auto report = read_map(doc, path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(doc.waypoints[0]->alt, 3);
}

} // namespace
} // namespace wayloom
