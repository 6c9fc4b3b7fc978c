// The real port and link on the handset simulator's pseudo-terminal.
#pragma once

#include "gps/gps_link.h"
#include "gps/serial_posix.h"
#include "source/reader.h"

#include "../tools/simulator_process.h"

#include <chrono>
#include <deque>
#include <filesystem>
#include <thread>
#include <string>
#include <unistd.h>
#include <vector>

namespace wayloom::gps::testing {

struct boxes : link_observer {
    std::vector<std::string> shown;
    std::vector<std::string> lines;
    void error_box(std::string_view m) override { shown.emplace_back(m); }
    void status_line(std::string_view l) override { lines.emplace_back(l); }
};

inline const std::string farm = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";

struct session {
    map_document doc;
    boxes seen;
    gps_link link;
    explicit session(const std::string& port)
        : link(doc, std::make_unique<posix_serial>(), seen,
               (std::filesystem::temp_directory_path() /
                ("wayloom_sim_test_" + std::to_string(::getpid()) + ".log")).string())
    {
        link.texts.port = port;
        link.set_status_logging(true);
    }
};

// The waypoints the simulator stored from an upload (it writes them once the
// transfer is complete, so wait a little for the file).
inline std::deque<t_waypoint> stored_waypoints(const std::string& file)
{
    for (int i = 0; i < 40 && !std::filesystem::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    map_document doc;
    if (!read_map(doc, file).ok()) return {};
    return std::move(doc.waypoint_store);
}

} // namespace wayloom::gps::testing
