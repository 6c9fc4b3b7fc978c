// GPSBabel, an independent implementation of the Garmin serial protocol,
// talks to the simulator: what it downloads and uploads shows that the
// simulator speaks the protocol as other software knows it.
#include "source/number_text.h"
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

// A point as the lines below show it: whole millionths of a degree, so that
// no locale's decimal sign enters, and the name when given.
std::string place(long double lat, long double lon, const std::string& name)
{
    return " " + std::to_string(std::llround(lat * 1e6)) + " " + std::to_string(std::llround(lon * 1e6)) +
           (name.empty() ? "" : " " + name);
}

// Each track segment or route of a GPX file GPSBabel wrote, as the name of
// its track or route (when `named`) and its points.
std::vector<std::string> gpx_lines(const fs::path& file, bool named)
{
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const std::regex part(
        R"re(<(trk|trkseg|rte)>|<(trkpt|rtept) lat="([^"]+)" lon="([^"]+)"|<name>([^<]*)</name>)re");
    std::vector<std::string> out;
    std::string owner;  // the name of the track being read
    bool route = false;
    for (std::sregex_iterator m(text.begin(), text.end(), part), end; m != end; ++m) {
        const std::string tag = (*m)[1];
        if (tag == "trk") route = false, owner.clear();
        if (tag == "rte") route = true;
        if (tag == "trkseg" || tag == "rte") out.push_back((named && !route ? owner : "") + ":");
        using wayloom::parse_real;
        if ((*m)[2].matched) out.back() += place(*parse_real((*m)[3].str()), *parse_real((*m)[4].str()), "");
        if (!(*m)[5].matched) continue;
        if (!route) owner = (*m)[5];
        else if (out.back().back() != ':') out.back() += " " + (*m)[5].str();  // a route point's name
        else if (named) out.back().insert(0, (*m)[5].str());                 // the route's
    }
    return out;
}

TEST_F(gps_babel, downloads_every_track_and_route_the_simulator_holds)
{
    const std::string farm = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";
    wayloom::map_document doc;
    ASSERT_TRUE(wayloom::read_map(doc, farm).ok());
    // The map's shapes and paths are the tracks, each node a point (a shape
    // walked back to its start), and its paths the routes, through the
    // nodes' waypoints (six-letter idents in the older layouts).
    const auto lines = [&](bool routes, bool named, std::size_t ident) {
        std::vector<std::string> out;
        for (const auto& shape : doc.shapes) {
            if (routes && !shape->is_path()) continue;
            std::string line = (named ? shape->name : "") + ":";
            auto nodes = shape->nodes;
            if (!shape->is_path()) nodes.push_back(nodes.front());
            for (const auto& n : nodes)
                line += place(n.lat / 360, n.lon / 360, routes ? doc.waypoint(n.waypoint)->name.substr(0, ident) : "");
            out.push_back(line);
        }
        return out;
    };
    const std::tuple<std::vector<std::string>, bool, std::size_t> rows[] = {
        {{"-t", "--tracks", "A300", "--track-layout", "D300"}, false, 0},
        {{"-t", "--tracks", "A301", "--track-header", "D310", "--track-layout", "D301"}, true, 0},
        {{"-t", "--tracks", "A301", "--track-header", "D312", "--track-layout", "D302"}, true, 0},
        {{"-t", "--tracks", "A302", "--track-header", "D311", "--track-layout", "D303"}, false, 0},
        {{"-t", "--tracks", "A302", "--track-header", "D311", "--track-layout", "D304"}, false, 0},
        {{"-r", "--routes", "A200", "--route-header", "D200", "--layout", "D100"}, false, 6},
        {{"-r", "--routes", "A201", "--route-header", "D201", "--layout", "D103"}, false, 6},
        {{"-r", "--routes", "A201", "--route-header", "D202", "--layout", "D108"}, true, 99},
    };
    for (const auto& [options, named, ident] : rows) {
        const std::vector<std::string> sim_options(options.begin() + 1, options.end());
        simulator sim(farm, sim_options);
        const fs::path out = scratch / "lines.gpx";
        ASSERT_EQ(run("gpsbabel " + options[0] + " -i garmin -f " + sim.path() + " -o gpx -F " + out.string()), 0);
        EXPECT_EQ(gpx_lines(out, named), lines(options[0] == "-r", named, ident)) << joined(sim_options);
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
