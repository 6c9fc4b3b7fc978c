#include "model/item_list.h"
#include "model/source_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wayloom {
namespace {

TEST(source_text, lines_split_at_every_line_end_and_appended_lines_follow)
{
    struct row {
        const char* name;
        std::string text;
        std::vector<const char*> appended;
        std::vector<std::string> lines;
    };
    const row rows[] = {
        {"crlf", "a\r\nb\r\n", {}, {"a", "b"}},
        {"lf, empty lines kept", "a\n\n\nb\n", {}, {"a", "", "", "b"}},
        {"no final line end", "a\r\nb", {}, {"a", "b"}},
        {"nul and invalid utf-8", std::string("x\0y\n\xff\xfe\n", 7), {}, {std::string("x\0y", 3), "\xff\xfe"}},
        {"empty", "", {}, {}},
        {"lone cr stays in the line", "a\rb\n", {}, {"a\rb"}},
        // A cr a line holds is its own, not a line end.
        {"appended after a line end", "a\r\n", {"b\r", "c"}, {"a", "b\r", "c"}},
        {"appended after a last line without one", "a", {"b\r", "c"}, {"a", "b\r", "c"}},
        {"appended after a last line ending in cr", "a\r", {"b\r", "c"}, {"a", "b\r", "c"}},
        {"appended to an empty text", "", {"b\r", "c"}, {"b\r", "c"}},
    };
    for (const row& r : rows) {
        tsource_text text;
        text.set_text(r.text);
        for (const char* line : r.appended) text.append(line);
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < text.count(); ++i) lines.emplace_back(text.line(i));
        EXPECT_EQ(lines, r.lines) << r.name;
    }
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
