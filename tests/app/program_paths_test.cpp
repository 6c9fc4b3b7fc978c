#include "app/program_paths.h"

#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace wayloom {
namespace {

namespace fs = std::filesystem;

TEST(program_paths, command_line_and_environment)
{
    struct command_case {
        const char* name;
        std::vector<std::string> arguments;
        const char* env_home;
        const char* program_directory;
        std::optional<std::string> map;
        std::optional<std::string> problem;
        std::optional<std::string> gps_port = std::nullopt;
    };
    const std::vector<command_case> cases = {
        {"executable_folder", {}, nullptr, "/opt/wayloom/", std::nullopt, std::nullopt},
        {"environment", {}, "/tmp/home", "/tmp/home/", std::nullopt, std::nullopt},
        {"empty_environment_ignored", {}, "", "/opt/wayloom/", std::nullopt, std::nullopt},
        {"option_beats_environment", {"--home", "/a"}, "/tmp/home", "/a/", std::nullopt, std::nullopt},
        {"option_with_equals", {"--home=/b/"}, nullptr, "/b/", std::nullopt, std::nullopt},
        {"map_after_option", {"--home", "/a", "farm.wlm"}, nullptr, "/a/", "farm.wlm", std::nullopt},
        {"map_before_option", {"farm.wlm", "--home", "/a"}, nullptr, "/a/", "farm.wlm", std::nullopt},
        {"debug_is_an_argument", {"debug"}, nullptr, "/opt/wayloom/", "debug", std::nullopt},
        {"first_argument_counts", {"a.wlm", "b.wlm"}, nullptr, "/opt/wayloom/", "a.wlm", std::nullopt},
        {"option_without_folder", {"--home"}, nullptr, "/opt/wayloom/", std::nullopt,
         "--home needs a directory"},
        {"option_with_empty_folder", {"--home="}, nullptr, "/opt/wayloom/", std::nullopt,
         "--home needs a directory"},
        {"gps_port", {"--gps-port", "/dev/pts/7", "farm.wlm"}, nullptr, "/opt/wayloom/", "farm.wlm",
         std::nullopt, "/dev/pts/7"},
        {"gps_port_missing", {"farm.wlm", "--gps-port"}, nullptr, "/opt/wayloom/", std::nullopt,
         "--gps-port needs a serial port"},
    };
    for (const command_case& c : cases) {
        SCOPED_TRACE(c.name);
        startup_options options;
        const auto problem = parse_command_line(c.arguments, c.env_home, "/opt/wayloom", options);
        EXPECT_EQ(problem, c.problem);
        if (problem) continue;
        EXPECT_EQ(options.program_directory, c.program_directory);
        EXPECT_EQ(options.executable_directory, "/opt/wayloom/");
        EXPECT_EQ(options.map_argument, c.map);
        EXPECT_EQ(options.gps_port, c.gps_port);
    }
}

TEST(program_paths, absolute_arguments)
{
    struct absolute_case {
        const char* name;
        const char* argument;
        bool absolute;
    };
    const std::vector<absolute_case> cases = {
        {"root", "/maps/a.wlm", true},                {"double_quote_then_root", "\"/maps/a.wlm\"", true},
        {"apostrophe_then_root", "'/maps/a.wlm'", true}, {"drive", "C:\\a.wlm", true},
        {"quoted_drive", "\"C:\\a.wlm", true},         {"relative_folder", "maps/a.wlm", false},
        {"quoted_relative", "\"maps/a.wlm\"", false},   {"bare_name", "a.wlm", false},
        {"single_character", "a", false},             {"empty", "", false},
    };
    for (const absolute_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(is_absolute_argument(c.argument), c.absolute);
    }
}

TEST(program_paths, map_argument_files)
{
    EXPECT_EQ(map_argument_file("maps/a.wlm", "/home/u/"), "/home/u/maps/a.wlm");
    EXPECT_EQ(map_argument_file("a.wlm", "/home/u"), "/home/u/a.wlm");
    EXPECT_EQ(map_argument_file("/srv/a.wlm", "/home/u/"), "/srv/a.wlm");
    EXPECT_EQ(map_argument_file("C:\\a.wlm", "/home/u/"), "C:\\a.wlm");
    EXPECT_EQ(map_argument_file("debug", "/home/u/"), std::nullopt);
    // Only the exact word opens nothing; a file named like it is a map.
    EXPECT_EQ(map_argument_file("debug.wlm", "/home/u/"), "/home/u/debug.wlm");
}

TEST(program_paths, directory_names)
{
    const std::tuple<std::string, std::string, std::string> rows[] = {
        // Name, with_trailing_slash, without_trailing_slash.
        {"/a", "/a/", "/a"}, {"/a/", "/a/", "/a"}, {"/a//", "/a//", "/a"}, {"/", "/", "/"}, {"", "", ""},
    };
    for (const auto& [name, with, without] : rows) {
        EXPECT_EQ(with_trailing_slash(name), with) << name;
        EXPECT_EQ(without_trailing_slash(name), without) << name;
    }
    EXPECT_EQ(directory_of("/a/b/c.wlm"), "/a/b/");
    EXPECT_EQ(directory_of("/c.wlm"), "/");
    EXPECT_EQ(directory_of("c.wlm"), "");
    for (const auto& [folder, file] : {std::pair{"/a/", "b.wlm"}, {"/a", "b.wlm"}, {"/a/", "/b.wlm"}})
        EXPECT_EQ(join_path(folder, file), "/a/b.wlm") << folder << " " << file;
    EXPECT_EQ(join_path("", "b.wlm"), "b.wlm");
}

TEST(program_paths, stored_directories_that_no_longer_exist)
{
    const testing::temp_folder folder;
    const fs::path root = folder.path();
    fs::create_directories(root / "program" / "sub");
    fs::create_directories(root / "maps");
    const std::string r = root.string();
    const std::string program = r + "/program/";

    struct dir_case {
        const char* name;
        std::string stored;
        std::string expected;
    };
    const std::vector<dir_case> cases = {
        {"existing", r + "/maps", r + "/maps/"},
        {"existing_with_slash", r + "/maps/", r + "/maps/"},
        {"gone_parent_exists", r + "/gone", r + "/gone/"},
        {"gone_parent_gone", r + "/no/gone", program},
        {"empty", "", program},
        {"network_name", "//server/share/maps", program},
        {"relative_inside_program", "sub", "sub/"},
        {"relative_gone_parent_exists", "newer", "newer/"},
        {"relative_gone_parent_gone", "no/newer", program},
        {"drive_on_linux", "C:\\maps\\farm", program},
    };
    for (const dir_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(check_dir_exists(c.stored, program), c.expected);
    }
}

// A build tree has the manual beside the program; an installed program
// finds it under its prefix and keeps its settings in the user's folder.
TEST(program_paths, installed_or_in_a_build_tree)
{
    const testing::temp_folder folder;
    const fs::path root = folder.path();
    fs::create_directories(root / "build");
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/wayloom");
    std::ofstream(root / "build/manual.html") << "x";
    std::ofstream(root / "usr/share/wayloom/manual.html") << "x";
    const std::string build = (root / "build").string(), bin = (root / "usr/bin").string();
    EXPECT_FALSE(runs_installed(build));
    EXPECT_EQ(shipped_directory(build), build + "/");
    EXPECT_TRUE(runs_installed(bin));
    EXPECT_EQ(shipped_directory(bin + "/"), (root / "usr/share/wayloom/").string());
    EXPECT_EQ(user_program_directory("/x/config", "/home/ann"), "/x/config/wayloom/");
    EXPECT_EQ(user_program_directory("", "/home/ann"), "/home/ann/.config/wayloom/");
}

} // namespace
} // namespace wayloom
