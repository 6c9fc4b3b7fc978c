#include "app/ini_file.h"
#include "tests/read_text.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace wayloom {
namespace {

namespace fs = std::filesystem;

// A settings file holding `text`, in the test's own folder.
struct ini_file_test : ::testing::Test {
    testing::temp_folder folder;
    std::string write_file(const std::string& text) const
    {
        std::ofstream(folder / "wayloom.ini", std::ios::binary) << text;
        return folder / "wayloom.ini";
    }
};

struct read_case {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    const char* expected;  // with fallback "<none>"
};

TEST_F(ini_file_test, reads_strings_by_windows_rules)
{
    const std::vector<read_case> cases = {
        {"plain", "[main]\nload_path=/maps/\n", "main", "load_path", "/maps/"},
        {"section_and_key_without_case", "[Main]\nLoad_Path=/x/\n", "MAIN", "load_PATH", "/x/"},
        {"blanks_around_name_and_value", "[ main ]\n  width =  880  \n", "main", "width", "880"},
        {"blanks_inside_value_kept", "[legend]\ntitle=Farm  map\n", "legend", "title", "Farm  map"},
        {"enclosing_quotes_removed", "[legend]\ntitle=\"a b\"\n", "legend", "title", "a b"},
        {"equals_sign_in_value", "[main]\nurl=a=b\n", "main", "url", "a=b"},
        {"empty_value_is_not_missing", "[main]\nname=\n", "main", "name", ""},
        {"missing_key", "[main]\nwidth=1\n", "main", "height", "<none>"},
        {"missing_section", "[gps]\nport=COM2\n", "main", "port", "<none>"},
        {"key_in_other_section", "[gps]\nport=COM2\n[main]\n", "main", "port", "<none>"},
        {"first_of_two_keys", "[main]\nwidth=1\nwidth=2\n", "main", "width", "1"},
        {"first_of_two_sections", "[main]\na=1\n[main]\na=2\nb=3\n", "main", "a", "1"},
        {"later_duplicate_section_not_read", "[main]\na=1\n[main]\nb=3\n", "main", "b", "<none>"},
        {"key_before_any_section", "width=5\n[main]\n", "main", "width", "<none>"},
        {"comment_is_not_a_key", "[main]\n;width=5\n", "main", "width", "<none>"},
        {"crlf_line_ends", "[main]\r\nwidth=880\r\nheight=504\r\n", "main", "height", "504"},
        {"last_line_without_end", "[main]\nwidth=880", "main", "width", "880"},
        {"line_without_equals_skipped", "[main]\nrubbish\nwidth=7\n", "main", "width", "7"},
    };
    for (const read_case& c : cases) {
        SCOPED_TRACE(c.name);
        const ini_file ini(write_file(c.text));
        EXPECT_EQ(ini.read_string(c.section, c.key, "<none>"), c.expected);
        EXPECT_EQ(ini.contains(c.section, c.key), std::string(c.expected) != "<none>");
    }
}

TEST_F(ini_file_test, reads_integers_and_booleans)
{
    struct integer_case {
        const char* name;
        const char* value;  // nullptr: the key is missing
        std::int64_t expected_integer;
        bool expected_bool;
    };
    const std::vector<integer_case> cases = {
        {"positive", "880", 880, true},          {"negative", "-1", -1, true},
        {"plus_sign", "+5", 5, true},            {"zero", "0", 0, false},
        {"blanks_around", "  12 ", 12, true},    {"trailing_letters", "12abc", -7, true},
        {"not_a_number", "yes", -7, true},       {"empty", "", -7, true},
        {"beyond_64_bits", "99999999999999999999", -7, true}, {"missing", nullptr, -7, true},
    };
    for (const integer_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "[main]\n";
        if (c.value) text += std::string("monitor=") + c.value + "\n";
        const ini_file ini(write_file(text));
        EXPECT_EQ(ini.read_integer("main", "monitor", -7), c.expected_integer);
        // A non-zero fallback shows through wherever the value is no number.
        EXPECT_EQ(ini.read_bool("main", "monitor", true), c.expected_bool);
    }
    const ini_file zero(write_file("[gps]\nlogging=0\n"));
    EXPECT_FALSE(zero.read_bool("gps", "logging", true));
}

TEST_F(ini_file_test, missing_or_unreadable_file_gives_defaults)
{
    const ini_file missing(folder / "absent.ini");
    EXPECT_EQ(missing.read_string("main", "load_path", "/home/"), "/home/");
    EXPECT_EQ(missing.read_integer("main", "width", 880), 880);
    EXPECT_EQ(missing.text(), "");

    fs::create_directories(folder / "a-folder.ini");
    const ini_file folder_file(folder / "a-folder.ini");
    EXPECT_EQ(folder_file.read_integer("main", "width", 880), 880);
}

// Files the program did not write: what cannot be a settings file reads as
// an empty one; what is only partly wrong keeps its good lines.
TEST_F(ini_file_test, unusable_files_and_lines_read_as_missing)
{
    const std::string good = "[main]\nwidth=400\n";
    const std::string long_line(ini_file::longest_line + 1, 'x');
    struct row {
        const char* name;
        std::string text;
        std::int64_t width;  // the fallback 880 when the file or line is not read
        std::string kept;    // what the next save writes
    };
    const row rows[] = {
        {"huge", good + std::string(ini_file::largest_file, ';'), 880, "[main]\nwidth=1\n"},
        {"binary", good + std::string("\x7f""ELF\0\0\x01", 7), 880, "[main]\nwidth=1\n"},
        {"overlong line", "[main]\nload_path=" + long_line + "\nwidth=400\n", 400, "[main]\nwidth=1\n"},
        {"overlong value of the key", "[main]\nwidth=4" + long_line + "\n", 880, "[main]\nwidth=1\n"},
        {"byte order mark", "\xEF\xBB\xBF" + good, 400, "[main]\nwidth=1\n"},
        {"two byte order marks", "\xEF\xBB\xBF\xEF\xBB\xBF" + good, 400, "[main]\nwidth=1\n"},
        {"duplicate sections: the first counts", good + "[main]\nwidth=500\n", 400,
         "[main]\nwidth=1\n[main]\nwidth=500\n"},
        {"number out of range", "[main]\nwidth=99999999999999999999\n", 880, "[main]\nwidth=1\n"},
    };
    for (const row& r : rows) {
        const std::string name = write_file(r.text);
        ini_file settings(name);
        EXPECT_EQ(settings.read_integer("main", "width", 880), r.width) << r.name;
        settings.write_integer("main", "width", 1);
        ASSERT_TRUE(settings.save()) << r.name;
        EXPECT_EQ(testing::read_text(name), r.kept) << r.name;
    }
}

struct write_case {
    const char* name;
    const char* before;
    std::function<void(ini_file&)> write;
    const char* after;
};

TEST_F(ini_file_test, writes_in_place_and_keeps_everything_else)
{
    const std::vector<write_case> cases = {
        {"replace_keeps_order_and_unknown_keys", "[main]\nwidth=1\nzzz=keep\n[gps]\nport=COM1\n",
         [](ini_file& f) { f.write_integer("main", "width", 880); },
         "[main]\nwidth=880\nzzz=keep\n[gps]\nport=COM1\n"},
        {"replace_without_case_keeps_spelling", "[Main]\nWidth=1\n",
         [](ini_file& f) { f.write_string("MAIN", "width", "2"); }, "[Main]\nWidth=2\n"},
        {"new_key_after_last_line_of_its_section", "[main]\na=1\n\n[gps]\np=1\n",
         [](ini_file& f) { f.write_string("main", "b", "2"); }, "[main]\na=1\nb=2\n\n[gps]\np=1\n"},
        {"new_key_in_first_of_two_sections", "[main]\na=1\n[x]\n[main]\nc=3\n",
         [](ini_file& f) { f.write_string("main", "b", "2"); }, "[main]\na=1\nb=2\n[x]\n[main]\nc=3\n"},
        {"new_section_at_end", "[gps]\np=1\n",
         [](ini_file& f) { f.write_integer("main", "monitor", -1); }, "[gps]\np=1\n\n[main]\nmonitor=-1\n"},
        {"value_with_blanks", "", [](ini_file& f) { f.write_string("main", "load_path", "/maps with space/"); },
         "[main]\nload_path=/maps with space/\n"},
        {"empty_file", "", [](ini_file& f) { f.write_bool("gps", "logging", true); },
         "[gps]\nlogging=1\n"},
        {"comments_and_foreign_lines_stay", "; made by hand\n[main]\n;note\nrubbish\nwidth=1\n",
         [](ini_file& f) { f.write_integer("main", "width", 5); },
         "; made by hand\n[main]\n;note\nrubbish\nwidth=5\n"},
        {"boolean_false_is_zero", "[gps]\nlogging=1\n",
         [](ini_file& f) { f.write_bool("gps", "logging", false); }, "[gps]\nlogging=0\n"},
        {"crlf_file_written_with_line_feeds", "[main]\r\nwidth=1\r\n",
         [](ini_file& f) { f.write_integer("main", "height", 2); }, "[main]\nwidth=1\nheight=2\n"},
    };
    for (const write_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = write_file(c.before);
        ini_file ini(name);
        c.write(ini);
        EXPECT_EQ(ini.text(), c.after);
        std::string error;
        ASSERT_TRUE(ini.save(&error)) << error;
        EXPECT_EQ(testing::read_text(name), c.after);
        EXPECT_EQ(ini_file(name).text(), c.after) << "read back as written";
        EXPECT_FALSE(fs::exists(name + ".tmp"));
    }
}

TEST_F(ini_file_test, failed_save_reports_the_reason_and_keeps_the_old_file)
{
    ini_file nowhere(folder / "no-such-folder/wayloom.ini");
    nowhere.write_integer("main", "width", 1);
    std::string error;
    EXPECT_FALSE(nowhere.save(&error));
    EXPECT_EQ(error, "cannot write " + (folder / "no-such-folder/wayloom.ini") + ": " +
                         std::strerror(ENOENT));

    // A folder standing where the file should be cannot be replaced.
    const std::string blocked = folder / "blocked.ini";
    fs::create_directories(blocked + "/inside");
    ini_file over(blocked);
    over.write_integer("main", "width", 1);
    EXPECT_FALSE(over.save(&error));
    EXPECT_EQ(error.rfind("cannot write " + blocked + ": ", 0), 0u) << error;
    EXPECT_TRUE(fs::is_directory(blocked + "/inside"));
    EXPECT_FALSE(fs::exists(blocked + ".tmp"));
}

} // namespace
} // namespace wayloom
