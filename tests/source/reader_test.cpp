#include "source/file_feed.h"
#include "source/reader.h"
#include "tests/golden_cases.h"
#include "tests/source/map_description.h"
#include "tests/source/text_in_pieces.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace wayloom {
namespace {

using testing::described;

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
    const bool in_pieces_too = doc.empty() && doc.class_counter() == 0 && text.size() < 65536;
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

// The line the Error tab selects, or "<none>".
std::string selected(const map_document& doc)
{
    const auto at = doc.error_list.selected_index();
    return at ? doc.error_list.entries[*at].text : "<none>";
}

// Every message with the line it points at, and the texts that read well,
// each as tests/data/source/reader_cases.txt says.
TEST(reader, each_case_reads_as_its_golden_text_says)
{
    const auto cases = testing::golden_cases(WAYLOOM_TEST_DATA "/source/reader_cases.txt");
    ASSERT_GT(cases.size(), 40u);
    for (testing::golden_case c : cases) {
        SCOPED_TRACE(c.name);
        if (c.name.ends_with("without a line end")) c.input.pop_back();
        map_document doc;
        int after = 0;
        const read_report report = read_string(doc, c.input, [&](map_document&) { ++after; });
        const std::string at = selected(doc);
        EXPECT_EQ(outcome(report, doc) + (at == "<none>" ? "" : "selected: " + at + "\n") +
                      (report.completed ? "" : "incomplete\n"),
                  c.expected);
        EXPECT_EQ(after, report.completed ? 1 : 0);
    }
    map_document doc;
    ASSERT_TRUE(read_string(doc, many_nodes(511)).ok());
    EXPECT_EQ(doc.shapes[0]->node_count(), 511);
    map_document over;
    EXPECT_EQ(read_string(over, many_nodes(512)).errors, std::vector<std::string>{"Too many nodes"});
    EXPECT_EQ(selected(over), "  }");
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
        EXPECT_TRUE(name != "points" || doc.sets[0]->capacity() == 4) << "the repeated point's record stays";
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
    const std::string before = described(doc);
    const auto report = read_string(doc, "waypoints { b 2 2 0 }\nclass d { colour 1 2 3 }\n"
                                       "shape t { nodes { 0 1 1 } }\nset p {\n  class nope\n  points { } }\n");
    EXPECT_EQ(report.errors, std::vector<std::string>{"Unrecognised class"});
    EXPECT_EQ(described(doc), before);
    EXPECT_EQ(doc.shape_list.entries.at(0).text, "s");
}

TEST(reader, a_map_file_cut_short_while_it_is_read_adds_nothing)
{
    map_document doc;
    ASSERT_TRUE(read_string(doc, "waypoints { a 1 1 0 }\n").ok());
    const std::string before = described(doc);
    std::string text = "waypoints\n  {\n";
    for (int i = 0; text.size() < 64 * 1024; ++i) text += "    w" + std::to_string(i) + ",\n    1.5,\n    2.5,\n    3\n\n";
    text += "  }\nshape s { nodes { 0 1 1 } }\n";
    const testing::temp_folder folder;
    const std::string path = folder / "cut.wlm";
    std::ofstream(path, std::ios::binary) << text;
    file_feed file(path, 4096);
    std::filesystem::resize_file(path, 8 * 1024);  // another program cuts it short meanwhile
    const read_report report = read_text(doc, file, [](map_document&) { FAIL() << "no steps after a cut read"; });
    EXPECT_EQ(report.errors, std::vector<std::string>{"The file was cut short while it was read"});
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(described(doc), before) << "the map read before stays, nothing of the cut file";
    EXPECT_TRUE(doc.error_list.empty());
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
