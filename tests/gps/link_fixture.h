// A link over a scripted device, with everything it shows collected.
#pragma once

#include "gps/gps_link.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

namespace wayloom::gps::testing {

struct recording_observer : link_observer {
    std::vector<std::string> lines, boxes;
    int clears = 0, steps = 0, resets = 0, range_max = -1;
    void status_line(std::string_view l) override { lines.emplace_back(l); }
    void clear_status() override { ++clears; }
    void progress_range(int, int maximum) override { range_max = maximum; }
    void progress_step() override { ++steps; }
    void progress_reset() override { ++resets; }
    void error_box(std::string_view m) override { boxes.emplace_back(m); }

    bool logged(std::string_view text) const
    {
        for (const auto& l : lines)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
};

struct link_fixture {
    map_document doc;
    scripted_device::shared line;
    recording_observer seen;
    // ctest runs the cases side by side: each process keeps its own log.
    std::string log = (std::filesystem::temp_directory_path() /
                       ("wayloom_gps_test_" + std::to_string(::getpid()) + ".log")).string();
    gps_link link{doc, std::make_unique<scripted_device>(line), seen, log};

    link_fixture()
    {
        link.status_logging = true;
    }
    // Opens the port as a start-up would.
    void ready()
    {
        ASSERT_TRUE(link.set_up_comms());
        line.written.clear();
        seen.lines.clear();
    }
    void reply(std::uint8_t id, std::vector<std::uint8_t> data) { line.replies.push_back(frame(id, std::move(data))); }
    void ack(std::uint8_t id) { reply(6, {id, 0}); }
};

} // namespace wayloom::gps::testing
