// The link against the simulator paced at a line's speed. These cases run
// alone (their time-outs are those of a real line), see CMakeLists.txt.
#include "simulator_session.h"
#include "tests/read_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace wayloom::gps::testing {
namespace {

TEST(line_speed, slow_lines_with_the_default_time_outs)
{
    for (const char* baud : {"1200", "2400", "4800"}) {
        simulator sim({"--baud", baud});
        session s(sim.path());
        s.link.texts.speed = baud;
        s.link.init_gps();
        EXPECT_TRUE(s.seen.shown.empty()) << baud << ": " << (s.seen.shown.empty() ? "" : s.seen.shown.front());
        EXPECT_EQ(s.link.waypoint_reader().data_type, 108) << baud << ": the protocol array was read";
        s.link.download_gps();
        EXPECT_EQ(s.doc.waypoint_count(), 4) << baud;
        EXPECT_TRUE(s.seen.shown.empty()) << baud;
    }
}

TEST(line_speed, a_faster_transfer_speed_and_back)
{
    struct row {
        const char* name;
        std::vector<std::string> args;
        int waypoints;
        std::vector<std::string> boxes;
        std::vector<std::string> logged;
    };
    // The simulator's packets up to the second record: ACK, product data,
    // protocol array, ACKs of 0x1C and 0x30, 0x31, two ACKs of 0x0A, ACK of
    // the command, records, two records.
    const row rows[] = {
        {"accepted", {}, 4, {}, {"speed accepted : 115200", "port speed : 115200", "port speed : 9600"}},
        {"ignored", {"--ignore-speed-change"}, 4, {}, {"no answer to the speed request : staying at 9600"}},
        {"switched back after a failure", {"--silent-after", "12"}, 2, {"Waypoint Download failed"},
         {"port speed : 115200", "no answer to the speed request : staying at 115200", "port speed : 9600"}},
    };
    for (const row& r : rows) {
        std::vector<std::string> args{"--baud", "9600"};
        args.insert(args.end(), r.args.begin(), r.args.end());
        simulator sim(args);
        session s(sim.path());
        s.link.texts.transfer_speed = "115200";
        s.link.init_gps();
        s.link.download_gps();
        EXPECT_EQ(s.doc.waypoint_count(), r.waypoints) << r.name;
        EXPECT_EQ(s.seen.shown, r.boxes) << r.name;
        for (const std::string& line : r.logged) {
            EXPECT_TRUE(std::any_of(s.seen.lines.begin(), s.seen.lines.end(),
                                    [&](const std::string& l) { return l.find(line) != std::string::npos; }))
                << r.name << ": " << line;
        }
    }

    // An upload at the faster speed, then a download at it of what was stored.
    const std::string store = (std::filesystem::temp_directory_path() /
                               ("wayloom_fast_upload_" + std::to_string(::getpid()) + ".wlm")).string();
    std::filesystem::remove(store);
    simulator sim({"--baud", "9600", "--store", store});
    session s(sim.path());
    s.link.texts.transfer_speed = "115200";
    for (const char* name : {"ford", "weir"}) s.doc.create_waypoint().name = name;
    s.link.init_gps();
    s.link.upload_gps();
    EXPECT_TRUE(s.seen.shown.empty());
    EXPECT_EQ(stored_waypoints(store).size(), 2u);
    std::filesystem::remove(store);
}

// Runs wayloom-cli with `args` in the background and sends it SIGINT once
// its standard error (kept in `err`) shows `cue`; its exit code.
int interrupt_cli(const std::string& args, const std::string& cue, const std::string& err)
{
    const std::string script = std::string(WAYLOOM_CLI) + " " + args + " 2>" + err + " & pid=$!; until grep -q '" +
                               cue + "' " + err + " || ! kill -0 $pid 2>/dev/null; do sleep 0.01; done; " +
                               "kill -INT $pid; wait $pid";
    const int status = std::system(script.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Ctrl+C during a transfer at the faster speed: the handset is told to
// abort, the line goes back to its own speed, and what came is written.
TEST(line_speed, an_interrupted_command_aborts_and_switches_back)
{
    const auto dir = std::filesystem::temp_directory_path() / ("wayloom_interrupted_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string trace = (dir / "trace").string(), out = (dir / "out.wlm").string();
    for (const std::string command : {"download", "upload"}) {
        simulator sim({"--baud", "1200", "--map", farm, "--trace", trace});
        const std::string args = command + " --port " + sim.path() + " --speed 1200 --transfer-speed 2400 --interval 50 " +
                                 (command == "download" ? "-o " + out : farm);
        // A file of its own: the cue must not be found in an earlier command's words.
        const auto err = dir / (command + ".err");
        const int code = interrupt_cli(args, "record 1 of 33", err.string());
        const std::string errors = wayloom::testing::read_text(err);
        EXPECT_EQ(code, 130) << errors;
        std::smatch m;
        const std::regex said("error: cancelled \\(([0-9]+) of 33 waypoints (received|sent)\\)");
        ASSERT_TRUE(std::regex_search(errors, m, said)) << errors;
        const int kept = std::stoi(m[1]);
        EXPECT_TRUE(kept > 0 && kept < 33) << command << ": " << kept;
        map_document doc;
        EXPECT_TRUE(command == "upload" || (read_map(doc, out).ok() && doc.waypoint_count() == kept));
        const std::string noted = wayloom::testing::read_text(trace);
        const std::regex order("line speed 2400\n(abort after [^\n]*)\nline speed 1200\n");
        EXPECT_TRUE(std::regex_search(noted, m, order)) << command << ":\n" << noted;
    }
    std::filesystem::remove_all(dir);
}

bool have_gpsbabel() { return std::system("command -v gpsbabel >/dev/null 2>&1") == 0; }

// GPSBabel, another implementation of the Garmin protocol, asks for 115200
// baud and downloads what our upload left on the handset.
TEST(line_speed, gps_babel_at_the_faster_speed_reads_what_our_upload_stored)
{
    if (!have_gpsbabel()) GTEST_SKIP() << "gpsbabel is not installed (scripts/setup installs it)";
    const auto dir = std::filesystem::temp_directory_path() / ("wayloom_gpsbabel_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string store = (dir / "stored.wlm").string(), csv = (dir / "out.csv").string();
    struct fix {
        const char* name;
        double lat, lon;
    };
    const fix sent[] = {{"ford", 52.4130, -4.0520}, {"weir", 52.4142, -4.0540}, {"stile", -33.8568, 151.2153}};
    {
        simulator handset({"--baud", "9600", "--store", store});
        session s(handset.path());
        for (const fix& f : sent) {
            t_waypoint& w = s.doc.create_waypoint();
            w.name = f.name;
            w.lat = f.lat;
            w.lon = f.lon;
        }
        s.link.init_gps();
        s.link.upload_gps();
        ASSERT_TRUE(s.seen.shown.empty()) << s.seen.shown.front();
        ASSERT_EQ(stored_waypoints(store).size(), 3u);
    }
    simulator handset({"--baud", "9600", "--map", store});
    const std::string command = "timeout 60 gpsbabel -i garmin,baud=115200 -f " + handset.path() + " -o csv -F " + csv +
                                " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(csv);
    std::string line;
    std::size_t k = 0;
    while (std::getline(in, line) && k < 3) {
        // Streams read in the classic locale whatever the process's is.
        std::istringstream fields(line);
        double lat = 0, lon = 0;
        char comma = 0;
        std::string name;
        ASSERT_TRUE(fields >> lat >> comma >> lon >> comma >> name) << line;
        EXPECT_EQ(name, sent[k].name);
        EXPECT_NEAR(lat, sent[k].lat, 1e-5) << name;
        EXPECT_NEAR(lon, sent[k].lon, 1e-5) << name;
        ++k;
    }
    EXPECT_EQ(k, 3u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace wayloom::gps::testing
