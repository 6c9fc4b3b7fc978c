// The link against the simulator paced at a line's speed. These cases run
// alone (their time-outs are those of a real line), see CMakeLists.txt.
#include "simulator_session.h"

#include <gtest/gtest.h>

namespace wayloom::gps::testing {
namespace {

TEST(LineSpeed, SlowLinesWithTheDefaultTimeOuts)
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

} // namespace
} // namespace wayloom::gps::testing
