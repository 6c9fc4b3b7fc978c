#include "source/file_feed.h"
#include "source/reader.h"
#include "tests/read_text.h"
#include "tests/source/map_description.h"
#include "tests/source/text_in_pieces.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace wayloom {
namespace {

using testing::described;

struct counts {
    int waypoints = 0, classes = 0, shapes = 0, sets = 0;
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

// The messages of a read and what it left.
std::string outcome(const read_report& report, const map_document& doc)
{
    std::string out;
    for (const std::string& e : report.errors) out += "error: " + e + "\n";
    return out + described(doc);
}

// Reads the text as the window holds it; a short one into an empty map is
// also read a few bytes at a time as a file is read, which must give the same.
read_report read_string(map_document& doc, std::string_view text, const after_read& after = {})
{
    const bool in_pieces_too = counts_of(doc) == counts{} && text.size() < 65536;
    doc.source.set_text(std::string(text));
    const read_report report = read_from_file(doc, after);
    if (!in_pieces_too) return report;
    for (const std::size_t size : {1, 3}) {
        map_document again;
        testing::text_in_pieces pieces(text, size);
        const read_report in_pieces = read_text(again, pieces);
        EXPECT_EQ(outcome(in_pieces, again), outcome(report, doc)) << size << "-byte pieces";
        EXPECT_EQ(in_pieces.error_line, report.error_line) << size << "-byte pieces";
        EXPECT_EQ(in_pieces.completed, report.completed) << size << "-byte pieces";
    }
    return report;
}

std::string many_nodes(int n)
{
    std::string text = "shape s {\n  nodes {\n";
    for (int i = 0; i < n; ++i) text += "    " + std::to_string(i) + " " + std::to_string(i) + " 1\n";
    return text + "  }\n}\n";
}

TEST(reader, every_failure_gives_its_message_and_points_at_its_line)
{
    struct row {
        const char* name;
        std::string text;
        std::vector<std::string> messages;
        std::string selected;  // the source line the Error tab selects
        counts after = {};     // what the map holds afterwards
        bool completed = false;
    };
    const std::string class_a = "class a {\n  colour 1 2 3\n}\n";
    const std::string point = "set p { points { a colour 1 1 1 border 1 1 1 circle ";
    const row rows[] = {
        {"value expected", "waypoints\n  {\n    home,\n    east,\n    52.4,\n    61\n  }\n",
         {"Value expected"}, "    east,"},
        {"brace after a number", "waypoints {\n  home 1 2 3 {\n}\n", {"Unexpected {"}, "  home 1 2 3 {"},
        {"brace after colour", "class c {\n  colour { 1 2 3 }\n}\n", {"Unexpected {"}, "  colour { 1 2 3 }"},
        {"close after a number", "waypoints {\n  home 1 } 2 3\n}\n", {"Unexpected }"}, "  home 1 } 2 3"},
        {"close after a command word reads on", "waypoints }\n" + class_a, {"Unexpected }"}, "waypoints }",
         {0, 1, 0, 0}, true},
        {"group with a brace", class_a + "group {\nclass b\n", {"Last object not closed"}, "group {", {0, 1, 0, 0}},
        {"brace after shape", "shape {\n  colour 1 2 3\n}\n", {"Name expected"}, "shape {"},
        {"unknown command", class_a + "Blob x\n", {"Unrecongnised command : blob"}, "Blob x"},
        {"a late failure undoes the items before it",
         "waypoints { a 1 2 3 }\nclass c { colour 1 2 3 }\nshape s { nodes { 0 1 2 } }\nbad x\n",
         {"Unrecongnised command : bad"}, "bad x"},
        {"unknown class keyword", "class a {\n  fill 1 2 3\n}\n", {"Class command not recognised"}, "  fill 1 2 3"},
        {"text ends inside a shape", "shape s {\n  colour 1 2 3\n", {"Shape command not recognised"}, "  colour 1 2 3"},
        {"unknown set keyword", "set p {\n  nodes { 0 1 2 }\n}\n", {"Shape command not recognised"},
         "  nodes { 0 1 2 }"},
        {"brace after class in a body", class_a + "shape s {\n  class {\n", {"Unexpected { or }"}, "  class {"},
        {"class reference ends a body", class_a + "shape s {\n  class a\n  }\n",
         {"Unexpected }", "Unexpected { or }"}, "  }"},
        {"class reference before a brace opening the next line, as on its own line",
         class_a + "shape s {\n  class a\n}\n", {"Unexpected }", "Unexpected { or }"}, "}"},
        {"class not listed", "shape s {\n  class nope\n  colour 1 2 3\n}\n", {"Unrecognised class"}, "  class nope"},
        {"a class named without a body is not listed",
         "class lonely\n shape s {\n  class lonely\n  colour 1 2 3 }\n", {"Unrecognised class"}, "  class lonely"},
        {"512 nodes", many_nodes(512), {"Too many nodes"}, "  }"},
        {"point without colour", "set p {\n  points {\n    a, fill 1 2 3\n", {"Point colour or border expected"},
         "    a, fill 1 2 3"},
        {"point without border", "set p {\n  points {\n    a, colour 1 2 3\n    circle 10 1 0 1 2\n  }\n}\n",
         {"Point colour or border expected"}, "    circle 10 1 0 1 2"},
        {"three bad numbers, three messages", "waypoints {\n  a b c d\n  }\n",
         {"Value expected", "Value expected", "Value expected"}, "  a b c d"},
        {"an unindented line joins its first word to the last line's",
         "waypoints {\n  a 1 2 3\nb 4 5 6 }\n", {"Value expected"}, "b 4 5 6 }"},
        // Values too large or of a form their target does not take.
        {"colour 1e10", "class c { colour 1e10 0 0 }", {"Value expected"}, "class c { colour 1e10 0 0 }"},
        {"colour inf", "class c { colour inf 0 0 }", {"Value expected"}, "class c { colour inf 0 0 }"},
        {"colour 0x10", "class c { colour 0x10 0 0 }", {"Value expected"}, "class c { colour 0x10 0 0 }"},
        {"waypoint 3e9", "shape s { nodes { 3e9 1 2 } }", {"Value expected"}, "shape s { nodes { 3e9 1 2 } }"},
        {"node 1e4931", "shape s { nodes { 1 1e4931 2 } }", {"Value expected"}, "shape s { nodes { 1 1e4931 2 } }"},
        {"waypoint 1e4931", "waypoints { a 1e4931 2 3 }", {"Value expected"}, "waypoints { a 1e4931 2 3 }"},
        {"point size 1e12", point + "1e12 1 0 1 2 } }", {"Value expected"}, point + "1e12 1 0 1 2 } }"},
        {"point waypoint 2^31", point + "4 1 2147483648 1 2 } }", {"Value expected"}, point + "4 1 2147483648 1 2 } }"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        map_document doc;
        bool after_ran = false;
        const read_report report = read_string(doc, r.text, [&](map_document&) { after_ran = true; });
        EXPECT_EQ(report.errors, r.messages);
        const auto at = doc.error_list.selected_index();
        EXPECT_EQ(at ? doc.error_list.entries[*at].text : "<none>", r.selected);
        EXPECT_EQ(counts_of(doc), r.after);
        EXPECT_EQ(report.completed, r.completed);
        EXPECT_EQ(after_ran, r.completed);
        const bool listed = !doc.waypoints_list.empty() || !doc.class_list.empty() || !doc.shape_list.empty();
        EXPECT_FALSE(r.after == counts{} && listed) << "nothing kept, nothing listed";
    }
}

TEST(reader, valid_texts_read_as_described)
{
    struct row {
        const char* name;
        std::string text;
        std::string read;  // described(doc) afterwards
    };
    const std::string none = "listed 0 0 0\n", class_a = "class a 1,2,3 0,0,0\nlisted 0 1 0\n";
    const std::string grey = "shape s 128,128,128 0,0,0", listed_shape = "\nlisted 0 0 1\n";
    const row rows[] = {
        {"empty", "", none},
        {"blank lines", "\n\n\n", none},
        {"separators only", "  \t ,;\n", none},
        {"indented lines stay apart", "waypoints {\n  a 1 2 3\n  b 4 5 6 }\n",
         "waypoint a 1 2 3\nwaypoint b 4 5 6\nlisted 2 0 0\n"},
        {"a name that ends a line joins the next line's word",
         "waypoints {\n  a 1 2 3\n\n}\nclass long\nname { colour 1 2 3 }\n",
         "waypoint a 1 2 3\nclass longname 1,2,3 0,0,0\nlisted 1 1 0\n"},
        {"names without bodies are made but not listed", "shape bare\n set also\n class c\n",
         "class c 128,128,128 0,0,0\nshape bare 128,128,128 0,0,0\nset also (not points)\n" + none},
        {"empty blocks, reading goes on after them",
         "waypoints { }\nshape s {\n  nodes {}\n  colour 1 2 3\n  }\nset p { points { } }\nclass c { colour 4 5 6 }\n",
         "class c 4,5,6 0,0,0\nshape s 1,2,3 0,0,0\nset p\nlisted 0 1 2\n"},
        {"nodes may name waypoints that do not exist", "shape s { nodes { 99 1 2\n -5 3 4 } }",
         grey + " 99:1,2 -5:3,4" + listed_shape},
        // A repeated closing node is dropped from polygons only.
        {"polygon repeating its first node", "shape s { nodes { 0 1 1\n 1 2 2\n 2 3 1\n 3 1 1 } }",
         grey + " 0:1,1 1:2,2 2:3,1" + listed_shape},
        {"two identical nodes", "shape s { nodes { 0 1 1\n 1 1 1 } }", grey + " 0:1,1" + listed_shape},
        {"a single node", "shape s { nodes { 0 1 1 } }", grey + " 0:1,1" + listed_shape},
        {"path back to its start keeps its last leg", "path t { nodes { 0 1 1\n 1 2 2\n 2 1 1 } }",
         "path t 128,128,128 0,0,0 0:1,1 1:2,2 2:1,1" + listed_shape},
        {"same longitude, other latitude", "shape s { nodes { 0 1 1\n 1 2 2\n 2 1 3 } }",
         grey + " 0:1,1 1:2,2 2:1,3" + listed_shape},
        // A brace ends the word before it and keeps it.
        {"a name against its brace", "class a{ colour 1 2 3 }", class_a},
        {"a number against the closing brace", "class a { colour 1 2 3}", class_a},
        {"a brace opening the next line", "class a\n{ colour 1 2 3 }", class_a},
        {"a closing brace on the next line", "class a {\n  colour 1 2 3\n}\n", class_a},
        {"an altitude before a closing brace on the next line", "waypoints {\n  gate 1 2 3\n}\n",
         "waypoint gate 1 2 3\nlisted 1 0 0\n"},
        {"every brace on a line of its own", "shape s\n{\nnodes\n{\n 0 1 2\n 5 3 4\n}\n}\n",
         grey + " 0:1,2 5:3,4" + listed_shape},
        {"a point before a closing brace on the next line",
         "set p\n{\npoints\n{\nx colour 1 1 1 border 2 2 2 square 4 1 0 1 2\n}\n}\n",
         "set p\n  point x square 4 named 1,1,1 2,2,2 0:1,2" + listed_shape},
        {"a line end still joins two words", "class long\nname { colour 1 2 3 }",
         "class longname 1,2,3 0,0,0\nlisted 0 1 0\n"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        map_document doc;
        int after = 0;
        const read_report report = read_string(doc, r.text, [&](map_document&) { ++after; });
        EXPECT_EQ(outcome(report, doc), r.read);
        EXPECT_TRUE(report.completed && after == 1);
    }
    map_document doc;
    ASSERT_TRUE(read_string(doc, many_nodes(511)).ok());
    EXPECT_EQ(doc.shapes[0]->node_count(), 511);
}

// Whole maps, read from their files both ways a file is held and as held
// text, each as tests/data/source/NAME.read says.
TEST(reader, whole_maps_read_as_their_golden_files_say)
{
    const std::string data = WAYLOOM_TEST_DATA "/source/";
    const std::pair<std::string, std::string> maps[] = {
        {"case_and_names", data + "case_and_names.wlm"},
        {"points", data + "points.wlm"},
        {"line_ends", data + "line_ends.wlm"},
        {"farm", WAYLOOM_SOURCE_DIR "/examples/farm.wlm"},
    };
    for (const auto& [name, file] : maps) {
        const std::string expected = testing::read_text(data + name + ".read");
        for (const text_holding holding : {text_holding::copied, text_holding::streamed}) {
            map_document doc;
            doc.source.set_holding(holding);
            EXPECT_EQ(outcome(read_map(doc, file), doc), expected) << name;
        }
        map_document doc;
        EXPECT_EQ(outcome(read_string(doc, testing::read_text(file)), doc), expected) << name;
        if (name == "points") EXPECT_EQ(doc.sets[0]->capacity(), 4) << "the repeated point's record stays";
    }
    map_document doc;
    const read_report report = read_map(doc, "/no/such/folder/farm.wlm");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Cant find : /no/such/folder/farm.wlm"});
    EXPECT_TRUE(report.missing && !report.completed);
    EXPECT_TRUE(doc.error_list.empty()) << "a missing file is an error box only";
}

TEST(reader, merged_waypoints_and_references_move_on_by_the_waypoint_base)
{
    map_document doc;
    for (int i = 0; i < 10; ++i) doc.create_waypoint().name = "old";
    const auto report = read_string(doc,
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
    EXPECT_EQ(doc.waypoints_list.object_at<t_waypoint>(0), doc.waypoints[10]);

    // The base of 14 cannot push a reference past 32 bits.
    EXPECT_EQ(read_string(doc, "shape s { nodes { 2147483634 1 2 } }").errors,
              std::vector<std::string>{"Value expected"});
}

TEST(reader, a_failed_merge_keeps_the_map_that_was_there)
{
    map_document doc;
    ASSERT_TRUE(read_string(doc, "waypoints { a 1 1 0 }\nclass c { colour 1 2 3 }\nshape s { class c nodes { 0 1 1 } }\n")
                    .ok());
    const auto report = read_string(doc, "waypoints { b 2 2 0 }\nclass d { colour 1 2 3 }\n"
                                       "shape t { nodes { 0 1 1 } }\nset p {\n  class nope\n  points { } }\n");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Unrecognised class"});
    EXPECT_EQ(counts_of(doc), (counts{1, 1, 1, 0}));
    EXPECT_EQ(doc.waypoints_list.size(), 1u);
    EXPECT_EQ(doc.class_list.size(), 1u);
    ASSERT_EQ(doc.shape_list.size(), 1u);
    EXPECT_EQ(doc.shape_list.entries[0].text, "s");
    EXPECT_EQ(doc.shapes[0]->classes, (class_type{0}));
}

TEST(reader, a_map_file_cut_short_while_it_is_read_adds_nothing)
{
    map_document doc;
    ASSERT_TRUE(read_string(doc, "waypoints { a 1 1 0 }\n").ok());
    std::string text = "waypoints\n  {\n";
    for (int i = 0; text.size() < 64 * 1024; ++i) text += "    w" + std::to_string(i) + ",\n    1.5,\n    2.5,\n    3\n\n";
    text += "  }\nshape s { nodes { 0 1 1 } }\n";
    const auto path = std::filesystem::temp_directory_path() / "wayloom_reader_cut.wlm";
    {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(out);
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    file_feed file(path.string(), 4096);
    std::filesystem::resize_file(path, 8 * 1024);  // another program cuts it short meanwhile
    const read_report report = read_text(doc, file, [](map_document&) { FAIL() << "no steps after a cut read"; });
    EXPECT_EQ(report.errors, std::vector<std::string>{"The file was cut short while it was read"});
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(counts_of(doc), (counts{1, 0, 0, 0})) << "the map read before stays, nothing of the cut file";
    EXPECT_TRUE(doc.error_list.empty());
    std::filesystem::remove(path);
}

TEST(reader, the65536th_class_is_an_error)
{
    std::string text;
    for (int i = 0; i < 65536; ++i) text += " class c\n";
    map_document doc;
    EXPECT_EQ(read_string(doc, text).errors, std::vector<std::string>{"Too many classes"});
    EXPECT_EQ(doc.class_counter(), 0);
    text.resize(text.size() - 9);
    map_document fits;
    EXPECT_TRUE(read_string(fits, text).ok());
    EXPECT_EQ(fits.class_counter(), 65535);
}

} // namespace
} // namespace wayloom
