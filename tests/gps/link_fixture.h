// The packet port and the whole link over a scripted device, with
// everything they show collected.
#pragma once

#include "gps/gps_link.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

namespace wayloom::gps::testing {

using bytes = std::vector<std::uint8_t>;

struct recording_observer : link_observer {
    std::vector<std::string> lines, boxes;
    int clears = 0, steps = 0, resets = 0, range_min = -1, range_max = -1;
    std::function<void()> on_step;  // what the user does as the bar moves
    void status_line(std::string_view l) override { lines.emplace_back(l); }
    void clear_status() override { ++clears; }
    void progress_range(int minimum, int maximum) override { range_min = minimum, range_max = maximum; }
    void progress_step() override
    {
        ++steps;
        if (on_step) on_step();
    }
    void progress_reset() override { ++resets; }
    void error_box(std::string_view m) override { boxes.emplace_back(m); }

    bool logged(std::string_view text) const
    {
        for (const auto& l : lines)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
};

// ctest runs the cases side by side: each process keeps its own log.
inline std::string test_log_name()
{
    return (std::filesystem::temp_directory_path() / ("wayloom_gps_test_" + std::to_string(::getpid()) + ".log"))
        .string();
}

// The scripted line with the handset's replies queued, and what is shown.
struct scripted_line {
    scripted_device::shared line;
    recording_observer seen;

    void reply(std::uint8_t id, bytes data) { line.replies.push_back(frame(id, std::move(data))); }
    void ack(std::uint8_t id) { reply(6, {id, 0}); }
};

struct port_fixture : scripted_line {
    std::string log_name = test_log_name();
    link_log log{seen, log_name};
    packet_port port{std::make_unique<scripted_device>(line), log};

    port_fixture() { log.set_status_logging(true); }
    // Opens the port as a start-up would.
    void ready()
    {
        ASSERT_TRUE(port.set_up(port_texts{}));
        line.written.clear();
        seen.lines.clear();
    }
};

struct link_fixture : scripted_line {
    map_document doc;
    gps_link link{doc, std::make_unique<scripted_device>(line), seen, test_log_name()};

    link_fixture() { link.set_status_logging(true); }
    // The handset's answer to the product request.
    void product(std::uint16_t id, std::uint16_t version)
    {
        ack(254);
        reply(255, {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                    static_cast<std::uint8_t>(version), static_cast<std::uint8_t>(version >> 8), 'e', 'T', 0});
    }
};

} // namespace wayloom::gps::testing
