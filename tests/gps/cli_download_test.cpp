// wayloom-cli download against the handset simulator on a pseudo-terminal.
#include "model/map_document.h"
#include "source/reader.h"
#include "tests/read_text.h"
#include "view/geometry/ellipsoidal_area.h"
#include "../tools/simulator_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
const std::string farm = WAYLOOM_SOURCE_DIR "/examples/farm.wlm";

struct run_result {
    int code = -1;
    std::string errors;  // standard error
    std::string output;  // standard output
};

run_result run_cli(const std::string& arguments, const std::string& command_name = "download")
{
    // ctest runs the cases side by side: each process has its own files.
    const fs::path base = fs::temp_directory_path() / ("wayloom_cli_download_" + std::to_string(::getpid()));
    const fs::path err = base.string() + ".err", out = base.string() + ".out";
    const std::string command = std::string(WAYLOOM_CLI) + " " + command_name + " " + arguments + " 2>" +
                                err.string() + " >" + out.string();
    const int status = std::system(command.c_str());
    run_result r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.errors = wayloom::testing::read_text(err);
    r.output = wayloom::testing::read_text(out);
    return r;
}

std::vector<std::string> waypoint_names(const std::string& file)
{
    wayloom::map_document doc;
    EXPECT_TRUE(wayloom::read_map(doc, file).ok()) << file;
    std::vector<std::string> names;
    for (const auto& entry : doc.waypoints_list.entries) names.push_back(entry.text);
    return names;
}

struct cli_download : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("wayloom_cli_download_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string out() const { return (dir / "out.wlm").string(); }
};

// What each run prints, and the map it writes: "waypoints W, shapes S,
// first NAME", or "" when it writes none.
TEST_F(cli_download, runs_print_their_outcome_and_write_what_came)
{
    struct row {
        const char* name;
        std::vector<std::string> handset;  // the simulator's options; empty: no handset, options the port
        std::string options, output, error, written;
        int code;
    };
    const row rows[] = {
        {"the waypoints", {"--map", farm}, "", "downloaded 33 waypoints, 0 tracks, 0 routes\n", "record 33 of 33",
         "waypoints 33, shapes 0, first farmyard", 0},
        {"a merge, with the log", {"--map", farm, "--layout", "D103"}, "--log --merge " + farm, "downloaded 33 waypoints, 0 tracks, 0 routes\n",
         "product id is : 77", "waypoints 66, shapes 5, first farmyard", 0},
        {"no port", {}, "", "", "error: Cant initialise the communications port", "", 1},
        {"no USB device", {}, "usb:", "", "error: no Garmin USB device found", "", 1},
        {"no product data", {"--silent-after", "1"}, "", "", "error: Protocol unsupported", "", 1},
        {"silent after the product data", {"--map", farm, "--silent-after", "2"}, "", "",
         "error: Waypoint Download failed", "", 1},
        // Four built-in waypoints; the handset falls silent after the second.
        {"waypoints lost", {"--silent-after", "7"}, "", "",
         "error: Waypoint Download failed (2 of 4 waypoints received)", "waypoints 2, shapes 0, first gate", 1},
        // 3 packets of start-up, 36 of waypoints, then the track log's records
        // packet and 9 records: the first field, and the second begun (left out).
        {"a track log cut short", {"--map", farm, "--silent-after", "50"}, "--tracks", "",
         "error: Track Download failed (9 of 34 records received)", "waypoints 38, shapes 1, first farmyard", 1},
    };
    for (const row& r : rows) {
        fs::remove(out());
        std::unique_ptr<simulator> handset;
        if (!r.handset.empty()) handset = std::make_unique<simulator>(r.handset);
        const std::string port = handset ? handset->path() : !r.options.empty() ? r.options : (dir / "no-such-port").string();
        const run_result got = run_cli("--port " + port + " --timeout 50 " + (handset ? r.options : "") + " -o " + out());
        EXPECT_EQ(std::tie(got.code, got.output), std::tie(r.code, r.output)) << r.name;
        EXPECT_NE(got.errors.find(r.error), std::string::npos) << r.name << ": " << got.errors;
        wayloom::map_document doc;
        std::string written;
        if (fs::exists(out()) && wayloom::read_map(doc, out()).ok())
            written = "waypoints " + std::to_string(doc.waypoint_count()) + ", shapes " +
                      std::to_string(doc.shape_count()) + ", first " + doc.waypoints.at(0)->name;
        EXPECT_EQ(written, r.written) << r.name;
    }
}

TEST_F(cli_download, the_farm_walked_round_comes_back_as_its_fields)
{
    // Each field walked with a point every metre (some thousand points
    // each), the farm track as a track and a route.
    simulator handset({"--map", farm, "--walk-step", "1"});
    const run_result r = run_cli("--port " + handset.path() + " --tracks --routes -o " + out());
    ASSERT_EQ(r.code, 0) << r.errors;
    EXPECT_EQ(r.output, "downloaded 33 waypoints, 5 tracks, 1 routes\n");
    wayloom::map_document walked, fields;
    ASSERT_TRUE(wayloom::read_map(walked, out()).ok());
    ASSERT_TRUE(wayloom::read_map(fields, farm).ok());
    ASSERT_EQ(walked.shape_count(), 6);
    for (std::size_t i = 0; i < 4; ++i) {
        const wayloom::t_shape &got = *walked.shapes[i], &field = *fields.shapes[i];
        EXPECT_EQ(std::tuple(got.name, got.is_path()), std::tuple(field.name, false));
        EXPECT_LE(got.node_count(), 511) << got.name;
        // The walk runs along the field's sides: its area is the field's.
        const double area = wayloom::ellipsoidal_area(field);
        EXPECT_NEAR(wayloom::ellipsoidal_area(got), area, area * 0.01) << got.name;
    }
    EXPECT_TRUE(walked.shapes[4]->is_path());
    EXPECT_EQ(std::tuple(walked.shapes[5]->name, walked.shapes[5]->node_count()), std::tuple("farm-track", 6));
}

TEST_F(cli_download, upload_sends_the_maps_waypoints)
{
    // A six-letter handset keeps one waypoint per ident: the farm's cut
    // names alike (ORCHAR, POST-0, TRACK-) go with numbers, and all 33 stay.
    struct row {
        const char* layout;
        const char* said;
    };
    for (const row& r : {row{"D108", "uploaded 33 waypoints\n"},
                         row{"D100", "uploaded 33 waypoints, 12 under a numbered name"}}) {
        const std::string store = (dir / (std::string(r.layout) + ".wlm")).string();
        simulator handset({"--layout", r.layout, "--store", store});
        const run_result up = run_cli("--port " + handset.path() + " " + farm, "upload");
        ASSERT_EQ(up.code, 0) << up.errors;
        EXPECT_NE(up.errors.find(r.said), std::string::npos) << up.errors;
        for (int i = 0; i < 40 && !fs::exists(store); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::vector<std::string> names = waypoint_names(store);
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 33u) << r.layout;
        if (r.layout == std::string("D108")) {
            EXPECT_EQ(names, waypoint_names(farm));
        }
    }

    simulator deaf({"--no-ack", "2"});
    const run_result refused = run_cli("--port " + deaf.path() + " --timeout 50 " + farm, "upload");
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.errors.find("error: Waypoint Upload failed"), std::string::npos) << refused.errors;
}

TEST_F(cli_download, wrong_arguments_show_the_usage)
{
    for (const std::string args : {"-o x.wlm", "--port /dev/null", "--port /dev/null -o x.wlm extra",
                                   "--port /dev/null -o x.wlm --simplify -1", "--port /dev/null -o x.wlm --close-within far"}) {
        const run_result r = run_cli(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.errors.find("usage: wayloom-cli download --port DEV"), std::string::npos) << args;
    }
    EXPECT_NE(run_cli("--port /dev/null -o x.wlm --simplify 1,5").errors.find(
                  "--simplify wants metres from 0 to 1000000, not 1,5"), std::string::npos);
}

} // namespace
