// The real port and link against the handset simulator on a
// pseudo-terminal: the simulator was written from what a handset sends, not
// from the link, so agreement here means something.
#include "simulator_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wayloom::gps::testing {
namespace {

TEST(simulator, start_up_and_download_in_every_layout)
{
    for (const char* layout : {"D100", "D101", "D102", "D103", "D104", "D107", "D150", "D151", "D152", "D154",
                               "D105", "D106", "D155", "D108", "D109"}) {
        simulator sim({"--map", farm, "--layout", layout});
        ASSERT_FALSE(sim.path().empty());
        session s(sim.path());
        s.link.init_gps();
        ASSERT_TRUE(s.seen.shown.empty()) << layout << ": " << s.seen.shown.front();
        s.link.download_gps();
        EXPECT_TRUE(s.seen.shown.empty()) << layout;
        ASSERT_EQ(s.doc.waypoint_count(), 33) << layout;
        const t_waypoint& first = *s.doc.waypoints[0];
        EXPECT_NEAR(static_cast<double>(first.lat), 52.413, 1e-6) << layout;
        EXPECT_NEAR(static_cast<double>(first.lon), -4.052, 1e-6) << layout;
        const std::string l = layout;
        if (l == "D108" || l == "D109") {
            EXPECT_EQ(first.name, "farmyard") << layout;
            EXPECT_NEAR(static_cast<double>(first.alt), 61.5, 1e-3);
        } else if (l == "D105" || l == "D106" || l == "D155") {
            EXPECT_EQ(first.name, "1") << layout;
        } else {
            EXPECT_EQ(first.name, "farmya") << layout;
        }
    }
}

// The farm's four fields and its track are the handset's tracks, its track
// its route; the last row has the built-in table pick the layouts.
TEST(simulator, tracks_and_routes_in_every_protocol_and_layout)
{
    const std::tuple<std::vector<std::string>, bool, bool> rows[] = {  // options; track names, route name sent
        {{"--tracks", "A300", "--track-layout", "D300", "--routes", "A200", "--route-header", "D200", "--layout",
          "D100"}, false, false},
        {{"--tracks", "A301", "--track-header", "D310", "--track-layout", "D301", "--routes", "A201",
          "--route-header", "D201", "--layout", "D103"}, true, false},
        {{"--tracks", "A301", "--track-header", "D312", "--track-layout", "D302", "--routes", "A201",
          "--route-header", "D202", "--layout", "D108"}, true, true},
        {{"--tracks", "A302", "--track-header", "D311", "--track-layout", "D303", "--layout", "D109"}, false, true},
        {{"--tracks", "A302", "--track-header", "D311", "--track-layout", "D304", "--layout", "D152"}, false, true},
        {{"--no-protocols", "--product", "77", "--version", "320", "--tracks", "A300", "--track-layout", "D300",
          "--routes", "A200", "--route-header", "D201", "--layout", "D103"}, false, false},
    };
    for (const auto& [options, track_names, route_name] : rows) {
        simulator sim(farm, options);
        session s(sim.path());
        s.link.choice = {true, true, true};
        s.link.init_gps();
        s.link.download_gps();
        EXPECT_EQ(s.seen.shown, std::vector<std::string>{}) << joined(options);
        std::string shapes;
        for (const auto& t : s.doc.shapes)
            shapes += t->name + (t->is_path() ? " path " : " shape ") + std::to_string(t->node_count()) + "|";
        const std::string tracks = track_names ? "north-meadow shape 5|long-field shape 4|orchard shape 4|pond shape "
                                                 "6|farm-track path 6|"
                                               : "track-1 shape 5|track-2 shape 4|track-3 shape 4|track-4 shape "
                                                 "6|track-5 path 6|";
        EXPECT_EQ(shapes, tracks + (route_name ? "farm-track" : "route-1") + " path 6|") << joined(options);
        // The route stands on the waypoints the waypoint transfer brought
        // (node 2 on the farmyard); the tracks' nodes on waypoints of their own.
        EXPECT_EQ(s.doc.shapes.back()->nodes[2].waypoint, 0) << joined(options);
        EXPECT_EQ(s.doc.waypoint_count(), 33 + 5 + 4 + 4 + 6 + 6) << joined(options);
    }
}

TEST(simulator, upload_in_each_layout_family)
{
    // The names as the handset stored them, in a map file's words: kept whole, or cut to six letters.
    const std::vector<std::string> kept{"farmyard", "north_gate", "weir_pool"}, cut{"farmya", "north", "weir_p"};
    const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {{"--layout", "D108"}, kept}, {{"--layout", "D109"}, kept}, {{"--layout", "D100"}, cut},
        {{"--layout", "D150"}, cut},  {{"--layout", "D105"}, kept}, {{"--layout", "D106"}, kept},
        {{"--no-protocols", "--product", "77", "--version", "320", "--layout", "D103"}, cut},
        {{"--no-protocols", "--product", "71", "--layout", "D155"}, cut},
    };
    for (const auto& [options, names] : rows) {
        const std::string store = (std::filesystem::temp_directory_path() /
                                   ("wayloom_upload_" + std::to_string(::getpid()) + ".wlm")).string();
        std::filesystem::remove(store);
        std::vector<std::string> args = options;
        args.insert(args.end(), {"--store", store});
        simulator sim(args);
        session s(sim.path());
        for (const char* name : {"farmyard", "north gate", "Weir pool"}) {
            t_waypoint& w = s.doc.create_waypoint();
            std::tie(w.name, w.lat, w.lon) = std::tuple(name, 52.4130L, -4.0520L);
        }
        s.link.init_gps();
        s.link.upload_gps();
        const std::string layout = options.back();
        EXPECT_EQ(s.seen.shown, std::vector<std::string>{}) << layout;
        std::vector<std::string> stored;
        for (const auto& w : stored_waypoints(store)) {
            stored.push_back(w.name);
            EXPECT_NEAR(static_cast<double>(w.lat), 52.4130, 1e-6) << layout;
            EXPECT_NEAR(static_cast<double>(w.lon), -4.0520, 1e-6) << layout;
        }
        EXPECT_EQ(stored, names) << layout;
        std::filesystem::remove(store);
    }
}

TEST(simulator, faults_on_the_line)
{
    struct row {
        const char* name;
        std::vector<std::string> args;
        int waypoints;
        std::vector<std::string> boxes;
        const char* logged = nullptr;
    };
    // The simulator's packets: ACK, product data, protocol array, ACK of the
    // command, records, then one per waypoint (four built-in ones). The
    // download starts the link itself.
    const row rows[] = {
        {"record 3 dropped", {"--drop", "3"}, 3, {"Waypoint Download failed"}, "3 of 4 waypoints received"},
        {"record 2 spoilt once, and asked for again", {"--bad-checksum", "2"}, 4, {}},
        {"record 2 spoilt three times", {"--bad-checksum", "2", "--bad-copies", "3"}, 1, {"Waypoint Download failed"}},
        {"silent after two records", {"--silent-after", "7"}, 2, {"Waypoint Download failed"},
         "2 of 4 waypoints received"},
        {"line broken after two records", {"--hang-up-after", "7"}, 2, {"Waypoint Download failed"},
         "2 of 4 waypoints received"},
        {"product request not acknowledged", {"--no-ack", "1"}, 0, {"Protocol unsupported", "Waypoint Download failed"}},
        {"silent after the product data", {"--silent-after", "2"}, 0, {"Waypoint Download failed"}},
        {"NAK of the product request", {"--nak", "1"}, 0, {"Protocol unsupported", "Waypoint Download failed"}},
    };
    for (const row& r : rows) {
        simulator sim(r.args);
        session s(sim.path());
        s.link.download_gps();
        EXPECT_EQ(s.doc.waypoint_count(), r.waypoints) << r.name;
        EXPECT_EQ(s.seen.shown, r.boxes) << r.name;
        if (r.logged) {
            EXPECT_TRUE(std::any_of(s.seen.lines.begin(), s.seen.lines.end(),
                                    [&](const std::string& l) { return l.find(r.logged) != std::string::npos; }))
                << r.name;
        }
    }
}

} // namespace
} // namespace wayloom::gps::testing
