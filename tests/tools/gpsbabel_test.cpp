// GPSBabel, an independent implementation of the Garmin serial protocol,
// talks to the simulator: what it downloads and uploads shows that the
// simulator speaks the protocol as other software knows it.
#include "source/reader.h"

#include "../tools/simulator_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool have_gpsbabel() { return std::system("command -v gpsbabel >/dev/null 2>&1") == 0; }


// Runs a command with a time limit; its exit code, or -1 when it timed out.
int run(const std::string& command)
{
    return std::system(("timeout 30 " + command + " >/dev/null 2>&1").c_str());
}

struct fix {
    double lat, lon;
    std::string name;
};

std::vector<fix> read_csv(const fs::path& file)
{
    std::vector<fix> out;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fix f;
        char comma;
        if (!(fields >> f.lat >> comma >> f.lon >> comma)) continue;
        std::getline(fields, f.name);
        while (!f.name.empty() && f.name.front() == ' ') f.name.erase(0, 1);
        out.push_back(f);
    }
    return out;
}

const fs::path scratch = fs::temp_directory_path() / "wayloom_gpsbabel_test";

class gps_babel : public testing::Test {
protected:
    void SetUp() override
    {
        if (!have_gpsbabel()) GTEST_SKIP() << "gpsbabel is not installed (scripts/setup installs it)";
        fs::create_directories(scratch);
    }
};

TEST_F(gps_babel, downloads_every_waypoint_in_every_layout)
{
    const std::string farm = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";
    wayloom::map_document doc;
    ASSERT_TRUE(wayloom::read_map(doc, farm).ok());
    for (const char* layout : {"D100", "D101", "D102", "D103", "D104", "D107", "D150", "D151", "D152",
                               "D154", "D155", "D108", "D109"}) {
        simulator sim({"--map", farm, "--layout", layout});
        ASSERT_FALSE(sim.path().empty());
        const fs::path out = scratch / (std::string(layout) + ".csv");
        ASSERT_EQ(run("gpsbabel -i garmin -f " + sim.path() + " -o csv -F " + out.string()), 0) << layout;
        const auto got = read_csv(out);
        ASSERT_EQ(got.size(), doc.waypoints.size()) << layout;
        // Six-character idents in the older layouts, whole names in the newer.
        const bool short_names = std::string(layout) != "D108" && std::string(layout) != "D109";
        for (std::size_t i = 0; i < got.size(); ++i) {
            const auto& w = *doc.waypoints[i];
            EXPECT_NEAR(got[i].lat, static_cast<double>(w.lat), 1e-5) << layout << " " << w.name;
            EXPECT_NEAR(got[i].lon, static_cast<double>(w.lon), 1e-5) << layout << " " << w.name;
            const std::string expected = short_names ? w.name.substr(0, 6) : w.name;
            EXPECT_EQ(got[i].name, expected) << layout;
        }
    }
}

// The tracks (each segment a line) or routes of a GPX file GPSBabel wrote,
// with the name of the track or route each line belongs to.
struct gpx_line {
    std::string name;
    std::vector<fix> points;
};
std::vector<gpx_line> read_gpx_lines(const fs::path& file)
{
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const std::regex part(R"re(<(trk|trkseg|rte)>|<(trkpt|rtept) lat="([^"]+)" lon="([^"]+)"|<name>([^<]*)</name>)re");
    std::vector<gpx_line> out;
    std::string owner;  // the name of the track being read
    bool in_route_point = false;
    for (std::sregex_iterator m(text.begin(), text.end(), part), end; m != end; ++m) {
        const std::string tag = (*m)[1].str();
        if (tag == "trk") owner.clear();
        if (tag == "trkseg" || tag == "rte") out.push_back({owner, {}});
        if ((*m)[2].matched) {
            out.back().points.push_back({std::stod((*m)[3].str()), std::stod((*m)[4].str()), ""});
            in_route_point = (*m)[2].str() == "rtept";
        }
        if ((*m)[5].matched) {
            if (in_route_point) out.back().points.back().name = (*m)[5].str();
            else if (!out.empty() && out.back().points.empty() && out.back().name.empty()) out.back().name = (*m)[5].str();
            else owner = (*m)[5].str();
        }
    }
    return out;
}

TEST_F(gps_babel, downloads_every_track_and_route_the_simulator_holds)
{
    const std::string farm = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";
    wayloom::map_document doc;
    ASSERT_TRUE(wayloom::read_map(doc, farm).ok());
    // The map's shapes and paths are the tracks, each node a point (a shape
    // walked back to its start), and its paths the routes.
    std::vector<gpx_line> tracks, routes;
    for (const auto& shape : doc.shapes) {
        gpx_line line{shape->name, {}};
        for (const auto& n : shape->nodes)
            line.points.push_back({static_cast<double>(n.lat / 360), static_cast<double>(n.lon / 360),
                                   doc.waypoint(n.waypoint)->name});
        if (!shape->is_path()) line.points.push_back(line.points.front());
        tracks.push_back(line);
        if (shape->is_path()) routes.push_back(line);
    }
    struct row {
        std::vector<std::string> options;
        bool named;  // the protocol carries the names
    };
    const row rows[] = {
        {{"--tracks", "A300", "--track-layout", "D300"}, false},
        {{"--tracks", "A301", "--track-header", "D310", "--track-layout", "D301"}, true},
        {{"--tracks", "A301", "--track-header", "D312", "--track-layout", "D302"}, true},
        {{"--tracks", "A302", "--track-header", "D311", "--track-layout", "D303"}, false},
        {{"--tracks", "A302", "--track-header", "D311", "--track-layout", "D304"}, false},
        {{"--routes", "A200", "--route-header", "D200", "--layout", "D100"}, false},
        {{"--routes", "A201", "--route-header", "D201", "--layout", "D103"}, false},
        {{"--routes", "A201", "--route-header", "D202", "--layout", "D108"}, true},
    };
    for (const row& r : rows) {
        const std::string name = joined(r.options);
        simulator sim(farm, r.options);
        const bool want_tracks = r.options[0] == "--tracks";
        const fs::path out = scratch / "lines.gpx";
        ASSERT_EQ(run("gpsbabel " + std::string(want_tracks ? "-t" : "-r") + " -i garmin -f " + sim.path() +
                      " -o gpx -F " + out.string()), 0) << name;
        const auto got = read_gpx_lines(out);
        const auto& expected = want_tracks ? tracks : routes;
        ASSERT_EQ(got.size(), expected.size()) << name;
        for (std::size_t k = 0; k < got.size(); ++k) {
            if (r.named) EXPECT_EQ(got[k].name, expected[k].name) << name;
            ASSERT_EQ(got[k].points.size(), expected[k].points.size()) << name << expected[k].name;
            for (std::size_t i = 0; i < got[k].points.size(); ++i) {
                EXPECT_NEAR(got[k].points[i].lat, expected[k].points[i].lat, 1e-6) << name << expected[k].name;
                EXPECT_NEAR(got[k].points[i].lon, expected[k].points[i].lon, 1e-6) << name << expected[k].name;
                if (!want_tracks) EXPECT_EQ(got[k].points[i].name, expected[k].points[i].name.substr(0, r.named ? 99 : 6));
            }
        }
    }
}

TEST_F(gps_babel, uploads_into_the_simulator)
{
    const fs::path csv = scratch / "upload.csv";
    {
        std::ofstream out(csv);
        out << "52.41300, -4.05200, GATE\n-33.85680, 151.21530, POST7\n0.00010, -0.00020, EQ\n";
    }
    const fs::path stored = scratch / "stored.wlm";
    fs::remove(stored);
    {
        simulator sim({"--store", stored.string()});
        ASSERT_EQ(run("gpsbabel -i csv -f " + csv.string() + " -o garmin -F " + sim.path()), 0);
        for (int i = 0; i < 40 && !fs::exists(stored); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    wayloom::map_document doc;
    ASSERT_TRUE(wayloom::read_map(doc, stored.string()).ok()) << "the simulator stored the upload";
    ASSERT_EQ(doc.waypoint_count(), 3);
    EXPECT_EQ(doc.waypoints[0]->name, "gate");
    EXPECT_NEAR(static_cast<double>(doc.waypoints[1]->lon), 151.2153, 1e-5);
    EXPECT_NEAR(static_cast<double>(doc.waypoints[2]->lat), 0.0001, 1e-6);
}

} // namespace
