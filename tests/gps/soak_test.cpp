// Downloads against the handset simulator, each with a fault picked at
// random: a spoilt record (asked for again, up to three times), a dropped
// record, a packet of the link's not acknowledged or answered with a NAK,
// silence, a line cut in the middle. Every download must either bring every
// waypoint exactly or say it failed and keep the waypoints that came, in
// order, none twice and none spoilt; none may take much past its time-outs;
// and every ">>" of the log is closed again.
//
// WAYLOOM_SOAK_SECONDS bounds the run (default 15), WAYLOOM_SOAK_DOWNLOADS
// caps it (default 1000) and WAYLOOM_SOAK_SEED picks the faults (default:
// the time); scripts/soak runs a long one.
#include "simulator_session.h"

#include "source/reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace wayloom::gps::testing {
namespace {

long setting(const char* name, long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

struct fault {
    std::string kind;  // the simulator's option, or "none"
    std::vector<std::string> args;
};

fault pick_fault(std::mt19937& random, int waypoints)
{
    // The simulator's packets: ACK, product data, protocol array, ACK of the
    // command, records, one per waypoint, transfer complete. The host's:
    // product request, two ACKs, the command, then an ACK per record.
    const int host_packets = waypoints + 6;
    const int sent_packets = waypoints + 6;
    auto in = [&](int low, int high) { return std::to_string(std::uniform_int_distribution<int>(low, high)(random)); };
    switch (std::uniform_int_distribution<int>(0, 6)(random)) {
    case 0: return {"none", {}};
    case 1: return {"--bad-checksum", {"--bad-checksum", in(1, waypoints), "--bad-copies", in(1, 3)}};
    case 2: return {"--drop", {"--drop", in(1, waypoints)}};
    case 3: return {"--no-ack", {"--no-ack", in(1, host_packets)}};
    case 4: return {"--nak", {"--nak", in(1, host_packets)}};
    case 5: return {"--silent-after", {"--silent-after", in(1, sent_packets)}};
    default: return {"--hang-up-after", {"--hang-up-after", in(1, sent_packets)}};
    }
}

// The waypoints a layout carries: D100 names are six characters, space-padded.
std::string sent_name(const std::string& layout, const std::string& name)
{
    if (layout != "D100") return name;
    std::string six = name.substr(0, 6);
    six.resize(6, ' ');
    return six;
}

TEST(soak, downloads_with_random_faults_end_complete_or_failed_with_what_came)
{
    const auto seconds = std::chrono::seconds(setting("WAYLOOM_SOAK_SECONDS", 15));
    const long most = setting("WAYLOOM_SOAK_DOWNLOADS", 1000);
    const auto seed = static_cast<std::uint32_t>(
        setting("WAYLOOM_SOAK_SEED", std::chrono::system_clock::now().time_since_epoch().count() % 1000000));
    std::mt19937 random(seed);
    std::cout << "seed " << seed << '\n';

    map_document farm_map;
    ASSERT_TRUE(read_map(farm_map, farm).ok());
    const int count = farm_map.waypoint_count();

    std::map<std::string, std::map<std::string, int>> outcomes;  // fault kind → outcome → downloads
    const auto start = std::chrono::steady_clock::now();
    long downloads = 0;
    for (; downloads < most && std::chrono::steady_clock::now() - start < seconds; ++downloads) {
        const std::string layout = std::vector<std::string>{"D108", "D109", "D100"}[downloads % 3];
        const fault f = pick_fault(random, count);
        std::vector<std::string> args{"--map", farm, "--layout", layout};
        args.insert(args.end(), f.args.begin(), f.args.end());
        std::string described = layout;
        for (const auto& a : f.args) described += " " + a;
        SCOPED_TRACE(described + " (seed " + std::to_string(seed) + ")");

        simulator sim(args);
        ASSERT_FALSE(sim.path().empty());
        session s(sim.path());
        const auto began = std::chrono::steady_clock::now();
        s.link.init_gps();
        s.link.download_gps();
        const auto took = std::chrono::steady_clock::now() - began;
        EXPECT_LT(took, std::chrono::seconds(10)) << "a download hung";

        // What came: in order, none twice, each exactly as sent.
        const auto same = [&](const t_waypoint& sent, const t_waypoint& got) {
            return sent_name(layout, sent.name) == got.name &&
                   std::abs(static_cast<double>(sent.lat - got.lat)) < 1e-6 &&
                   std::abs(static_cast<double>(sent.lon - got.lon)) < 1e-6;
        };
        std::size_t next = 0;
        bool exact = true;
        for (const auto& w : s.doc.waypoints) {
            while (next < farm_map.waypoints.size() && !same(*farm_map.waypoints[next], *w)) ++next;
            exact = exact && next < farm_map.waypoints.size();
            ++next;
        }
        EXPECT_TRUE(exact) << "a waypoint came twice, out of order or spoilt";

        const bool failed = !s.seen.shown.empty();
        if (!failed) {
            EXPECT_EQ(s.doc.waypoint_count(), count) << "waypoints lost without a failure";
        }
        for (const std::string& box : s.seen.shown)
            EXPECT_TRUE(box == "Waypoint Download failed" || box == "Protocol unsupported") << box;

        // The log indents what each ">>" opens until its "<<": with every one
        // closed, the port's closing line stands at the margin.
        s.link.demolish();
        ASSERT_FALSE(s.seen.lines.empty());
        EXPECT_EQ(s.seen.lines.back(), sim.path() + " : closed") << "a \">>\" is never closed";

        const std::string outcome = failed ? (s.doc.waypoint_count() == 0 ? "failed, none kept"
                                                                        : "failed, some kept")
                                           : "complete";
        ++outcomes[f.kind][outcome];
        if (::testing::Test::HasFailure()) break;
    }
    std::cout << downloads << " downloads in "
              << std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count()
              << " s\n";
    for (const auto& [kind, results] : outcomes)
        for (const auto& [outcome, n] : results) std::cout << "  " << kind << ": " << n << " " << outcome << '\n';
}

} // namespace
} // namespace wayloom::gps::testing
