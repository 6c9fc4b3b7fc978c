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

TEST(simulator, tracks_and_routes_in_every_protocol_and_layout)
{
    // The farm's four shapes and its path are the handset's tracks; its path its route.
    const std::vector<std::pair<std::string, bool>> named{
        {"north-meadow", false}, {"long-field", false}, {"orchard", false}, {"pond", false}, {"farm-track", true}};
    struct row {
        std::vector<std::string> options;
        bool track_names, route_name;  // the protocol carries them
    };
    const row rows[] = {
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
    for (const row& r : rows) {
        const std::string name = joined(r.options);
        simulator sim(farm, r.options);
        session s(sim.path());
        s.link.choice = {true, true, true};
        s.link.init_gps();
        s.link.download_gps();
        EXPECT_TRUE(s.seen.shown.empty()) << name << s.seen.shown.front();
        ASSERT_EQ(s.doc.shape_count(), 6) << name;
        for (std::size_t i = 0; i < named.size(); ++i) {
            const t_shape& track = *s.doc.shapes[i];
            EXPECT_EQ(track.name, r.track_names ? named[i].first : "track-" + std::to_string(i + 1)) << name;
            EXPECT_EQ(track.is_path(), named[i].second) << name << track.name;
        }
        EXPECT_EQ(s.doc.shapes[0]->node_count(), 5) << name;
        const t_shape& route = *s.doc.shapes[5];
        EXPECT_EQ(route.name, r.route_name ? "farm-track" : "route-1") << name;
        EXPECT_EQ(route.node_count(), 6) << name;
        // The route's waypoints are the ones the waypoint transfer brought;
        // the tracks' nodes stand on waypoints of their own.
        EXPECT_EQ(route.nodes[2].waypoint, 0) << name << ": the farmyard";
        EXPECT_EQ(s.doc.waypoint_count(), 33 + 5 + 4 + 4 + 6 + 6) << name;
    }
}

TEST(simulator, without_a_protocol_array_the_product_table_is_used)
{
    simulator sim({"--no-protocols", "--product", "77", "--version", "320", "--layout", "D103", "--map", farm});
    session s(sim.path());
    s.link.init_gps();
    EXPECT_TRUE(s.seen.shown.empty());
    EXPECT_EQ(s.link.waypoint_reader().size, 60);
    s.link.download_gps();
    EXPECT_EQ(s.doc.waypoint_count(), 33);
}

TEST(simulator, a_spoilt_record_is_asked_for_again)
{
    struct row {
        const char* copies;
        std::vector<std::string> names;
        std::vector<std::string> boxes;
    };
    const row rows[] = {
        {"1", {"gate", "barn", "well", "post-7"}, {}},
        {"3", {"gate"}, {"Waypoint Download failed"}},
    };
    for (const row& r : rows) {
        simulator sim({"--bad-checksum", "2", "--bad-copies", r.copies});
        session s(sim.path());
        s.link.init_gps();
        s.link.download_gps();
        std::vector<std::string> names;
        for (const auto& w : s.doc.waypoints) names.push_back(w->name);
        EXPECT_EQ(names, r.names) << r.copies;
        EXPECT_EQ(s.seen.shown, r.boxes) << r.copies;
    }
}

TEST(simulator, upload_in_each_layout_family)
{
    struct row {
        std::vector<std::string> args;
        std::vector<std::string> names;  // as the handset stored them, in a map file's words
    };
    const std::vector<std::string> kept{"farmyard", "north_gate", "weir_pool"};
    const std::vector<std::string> cut{"farmya", "north", "weir_p"};
    const row rows[] = {
        {{"--layout", "D108"}, kept},
        {{"--layout", "D109"}, kept},
        {{"--layout", "D100"}, cut},
        {{"--layout", "D150"}, cut},
        {{"--layout", "D105"}, kept},
        {{"--layout", "D106"}, kept},
        {{"--no-protocols", "--product", "77", "--version", "320", "--layout", "D103"}, cut},
        {{"--no-protocols", "--product", "71", "--layout", "D155"}, cut},
    };
    for (const row& r : rows) {
        const std::string store = (std::filesystem::temp_directory_path() /
                                   ("wayloom_upload_" + std::to_string(::getpid()) + ".wlm")).string();
        std::filesystem::remove(store);
        std::vector<std::string> args = r.args;
        args.insert(args.end(), {"--store", store});
        simulator sim(args);
        session s(sim.path());
        for (const std::string& name : {std::string("farmyard"), std::string("north gate"), std::string("Weir pool")}) {
            t_waypoint& w = s.doc.create_waypoint();
            w.name = name;
            w.lat = 52.4130;
            w.lon = -4.0520;
        }
        s.link.init_gps();
        s.link.upload_gps();
        const std::string layout = r.args.back();
        EXPECT_TRUE(s.seen.shown.empty()) << layout << ": " << (s.seen.shown.empty() ? "" : s.seen.shown.front());
        const auto stored = stored_waypoints(store);
        std::vector<std::string> names;
        for (const auto& w : stored) names.push_back(w.name);
        EXPECT_EQ(names, r.names) << layout;
        for (const auto& w : stored) {
            EXPECT_NEAR(static_cast<double>(w.lat), 52.4130, 1e-6) << layout;
            EXPECT_NEAR(static_cast<double>(w.lon), -4.0520, 1e-6) << layout;
        }
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
        {"silent after two records", {"--silent-after", "7"}, 2, {"Waypoint Download failed"},
         "2 of 4 waypoints received"},
        {"line broken after two records", {"--hang-up-after", "7"}, 2, {"Waypoint Download failed"},
         "2 of 4 waypoints received"},
        {"product request not acknowledged", {"--no-ack", "1"}, 0, {"Protocol unsupported", "Waypoint Download failed"}},
        {"silent after the product data", {"--silent-after", "2"}, 0, {"Waypoint Download failed"}},
        {"NAK of the product request", {"--nak", "1"}, 0, {"Protocol unsupported", "Waypoint Download failed"}},
    };
    for (const row& r : rows) {
        std::vector<std::string> args = r.args;
        simulator sim(args);
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
