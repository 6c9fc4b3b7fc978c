#include "model/item_list.h"
#include "model/source_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace wayloom {
namespace {

std::vector<std::string> lines_of(const tsource_text& text)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.count(); ++i) out.emplace_back(text.line(i));
    return out;
}

struct split_case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(SourceText, LoadAcceptsEveryLineEndAndKeepsOtherBytes)
{
    const split_case cases[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lf", "a\nb\n", {"a", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"empty lines kept", "a\n\n\nb\n", {"a", "", "", "b"}},
        {"nul and invalid utf-8", std::string("x\0y\n\xff\xfe\n", 7), {std::string("x\0y", 3), "\xff\xfe"}},
        {"empty file", "", {}},
        {"lone cr stays in the line", "a\rb\n", {"a\rb"}},
    };
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_test.wlm";
    for (const auto& c : cases) {
        {
            std::ofstream out(path, std::ios::binary);
            out << c.bytes;
        }
        tsource_text text;
        ASSERT_TRUE(text.load_from_file(path.string())) << c.name;
        EXPECT_EQ(lines_of(text), c.lines) << c.name;
    }
    std::filesystem::remove(path);
}

TEST(SourceText, SaveEndsEveryLineWithCrLf)
{
    tsource_text text;
    text.append("waypoints");
    text.append("");
    text.append("  {");
    const auto path = std::filesystem::temp_directory_path() / "wayloom_source_text_save.wlm";
    ASSERT_TRUE(text.save_to_file(path.string()));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "waypoints\r\n\r\n  {\r\n");
    std::filesystem::remove(path);

    std::string error;
    EXPECT_FALSE(text.save_to_file("/nonexistent-folder/x.wlm", &error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(SourceText, LoadFailsOnAMissingFile)
{
    tsource_text text;
    text.append("kept");
    EXPECT_FALSE(text.load_from_file("/nonexistent-folder/x.wlm"));
}

struct window_case {
    const char* name;
    std::size_t line_count;
    std::size_t error_line;
    std::size_t first, last, selected_entry;
};

TEST(SourceText, ShowErrorListsTenLinesEitherSideAndSelectsTheErrorLine)
{
    const window_case cases[] = {
        {"near the start", 100, 3, 0, 13, 3},
        {"in the middle", 100, 50, 40, 60, 10},
        {"last line of 15", 15, 14, 4, 14, 10},
        {"past the end selects the last line", 15, 15, 4, 14, 10},
        {"single line", 1, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        tsource_text text;
        for (std::size_t i = 0; i < c.line_count; ++i) text.append("line " + std::to_string(i));
        item_list list;
        list.add("old entry");
        text.show_error(c.error_line, list);
        ASSERT_EQ(list.size(), c.last - c.first + 1) << c.name;
        EXPECT_EQ(list.entries.front().text, "line " + std::to_string(c.first)) << c.name;
        EXPECT_EQ(list.entries.back().text, "line " + std::to_string(c.last)) << c.name;
        EXPECT_EQ(list.selected_index(), c.selected_entry) << c.name;
    }
}

TEST(SourceText, ShowErrorOnAnEmptyTextEmptiesTheList)
{
    tsource_text text;
    item_list list;
    list.add("old");
    text.show_error(0, list);
    EXPECT_TRUE(list.empty());
}

} // namespace
} // namespace wayloom
