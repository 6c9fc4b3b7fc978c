#include "model/item_list.h"
#include "model/source_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace wayloom {
namespace {

TEST(source_text, load_accepts_every_line_end_and_keeps_other_bytes)
{
    struct row {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const row rows[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lf, empty lines kept", "a\n\n\nb\n", {"a", "", "", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"nul and invalid utf-8", std::string("x\0y\n\xff\xfe\n", 7), {std::string("x\0y", 3), "\xff\xfe"}},
        {"empty file", "", {}},
        {"lone cr stays in the line", "a\rb\n", {"a\rb"}},
    };
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_test.wlm";
    for (const row& r : rows) {
        for (const text_holding holding : {text_holding::copied, text_holding::mapped}) {
            std::ofstream(path, std::ios::binary) << r.bytes;
            tsource_text text;
            text.set_holding(holding);
            ASSERT_TRUE(text.load_from_file(path.string())) << r.name;
            std::vector<std::string> lines;
            for (std::size_t i = 0; i < text.count(); ++i) lines.emplace_back(text.line(i));
            EXPECT_EQ(lines, r.lines) << r.name;
        }
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(tsource_text().load_from_file("/nonexistent-folder/x.wlm"));
}

TEST(source_text, appended_lines_follow_the_loaded_ones_whatever_their_ends)
{
    struct row {
        const char* name;
        std::string loaded;
        std::vector<std::string> lines;
    };
    const row rows[] = {
        {"after a line end", "a\r\n", {"a", "b\r", "c"}},
        {"after a last line without one", "a", {"a", "b\r", "c"}},
        {"after a last line ending in cr", "a\r", {"a", "b\r", "c"}},
        {"after an empty text", "", {"b\r", "c"}},
    };
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_append.wlm";
    for (const row& r : rows) {
        std::ofstream(path, std::ios::binary) << r.loaded;
        tsource_text text;
        ASSERT_TRUE(text.load_from_file(path.string())) << r.name;
        text.append("b\r");  // a cr the line holds is its own, not a line end
        text.append("c");
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < text.count(); ++i) lines.emplace_back(text.line(i));
        EXPECT_EQ(lines, r.lines) << r.name;
    }
    std::filesystem::remove(path);
}

TEST(source_text, a_mapped_text_reads_the_same_after_letting_go_of_what_was_read)
{
    std::string bytes;
    for (int i = 0; i < 50000; ++i) bytes += "line " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_mapped.wlm";
    std::ofstream(path, std::ios::binary) << bytes;
    tsource_text text;
    text.set_holding(text_holding::mapped);
    ASSERT_TRUE(text.load_from_file(path.string()));
    ASSERT_EQ(text.count(), 50000u);
    for (std::size_t i = 0; i < text.count(); ++i) {
        if (i % 1000 == 0) text.release_before(static_cast<std::size_t>(text.line(i).data() - text.whole().data()));
        ASSERT_EQ(text.line(i), "line " + std::to_string(i));
    }
    text.release_before(text.whole().size());
    EXPECT_EQ(text.line(3), "line 3") << "let go of, but still readable";
    text.append("added");  // a mapped text is copied before it changes
    EXPECT_EQ(text.line(text.count() - 1), "added");
    EXPECT_EQ(text.line(49999), "line 49999");
    std::filesystem::remove(path);
}

// Another program may cut a file short while it is mapped: the pages past
// its new end read as zeros instead of the system stopping the program, and
// the text says so; a mapping of a file left alone says nothing.
TEST(source_text, a_mapped_file_cut_short_reads_zeros_and_says_so)
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_cut.wlm";
    const auto kept_path = std::filesystem::temp_directory_path() / "wayloom_source_text_kept.wlm";
    std::ofstream(path, std::ios::binary) << std::string(3 * page, 'a');
    std::ofstream(kept_path, std::ios::binary) << std::string(3 * page, 'b');
    tsource_text cut, kept;
    cut.set_holding(text_holding::mapped);
    kept.set_holding(text_holding::mapped);
    ASSERT_TRUE(cut.load_from_file(path.string()));
    ASSERT_TRUE(kept.load_from_file(kept_path.string()));
    std::filesystem::resize_file(path, page);
    EXPECT_EQ(cut.whole()[page - 1], 'a');
    EXPECT_FALSE(cut.cut_short()) << "nothing past the new end was read yet";
    EXPECT_EQ(cut.whole()[2 * page + 5], '\0');
    EXPECT_EQ(cut.whole()[page], '\0');
    EXPECT_TRUE(cut.cut_short());
    EXPECT_EQ(kept.whole()[3 * page - 1], 'b');
    EXPECT_FALSE(kept.cut_short());
    ASSERT_TRUE(cut.load_from_file(kept_path.string()));
    EXPECT_FALSE(cut.cut_short()) << "a new mapping starts afresh";
    std::filesystem::remove(path);
    std::filesystem::remove(kept_path);
}

// Only a read past the end of a watched mapping is caught: any other bus
// error still stops the program.
TEST(source_text_death, another_bus_error_still_stops_the_program)
{
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_watch.wlm";
    std::ofstream(path, std::ios::binary) << "waypoints";
    tsource_text text;
    text.set_holding(text_holding::mapped);
    ASSERT_TRUE(text.load_from_file(path.string()));
    EXPECT_DEATH(::raise(SIGBUS), "");
    std::filesystem::remove(path);
}

TEST(source_text, save_ends_every_line_with_cr_lf)
{
    tsource_text text;
    for (const char* line : {"waypoints", "", "  {"}) text.append(line);
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_save.wlm";
    ASSERT_TRUE(text.save_to_file(path.string()));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "waypoints\r\n\r\n  {\r\n");
    std::filesystem::remove(path);

    std::string error;
    EXPECT_FALSE(text.save_to_file("/nonexistent-folder/x.wlm", &error));
    EXPECT_EQ(error, std::strerror(ENOENT));
}

TEST(source_text, show_error_lists_ten_lines_either_side_and_selects_the_error_line)
{
    struct row {
        const char* name;
        std::size_t line_count, error_line, first, last, selected_entry;
    };
    const row rows[] = {
        {"near the start", 100, 3, 0, 13, 3},
        {"in the middle", 100, 50, 40, 60, 10},
        {"last line of 15", 15, 14, 4, 14, 10},
        {"past the end selects the last line", 15, 15, 4, 14, 10},
        {"single line", 1, 0, 0, 0, 0},
    };
    for (const row& r : rows) {
        tsource_text text;
        for (std::size_t i = 0; i < r.line_count; ++i) text.append("line " + std::to_string(i));
        item_list list;
        list.add("old entry");
        text.show_error(r.error_line, list);
        ASSERT_EQ(list.size(), r.last - r.first + 1) << r.name;
        EXPECT_EQ(list.entries.front().text, "line " + std::to_string(r.first)) << r.name;
        EXPECT_EQ(list.entries.back().text, "line " + std::to_string(r.last)) << r.name;
        EXPECT_EQ(list.selected_index(), r.selected_entry) << r.name;
    }
    item_list list;
    list.add("old");
    tsource_text().show_error(0, list);
    EXPECT_TRUE(list.empty()) << "an empty text empties the list";
}

} // namespace
} // namespace wayloom
