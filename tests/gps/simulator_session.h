// The real port and link on the handset simulator's pseudo-terminal.
#pragma once

#include "gps/gps_link.h"
#include "gps/serial_posix.h"

#include "../tools/simulator_process.h"

#include <filesystem>
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

} // namespace wayloom::gps::testing
