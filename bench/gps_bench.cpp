// Downloading 150 D108 waypoints from the simulated handset, paced like a
// real line, with the window's default time-outs (100 ms total, 10 ms between
// bytes): ours at 9600 baud with the read ending on a whole frame and waiting
// out every time-out, GPSBabel on the same simulator at 9600 in the same run,
// ours switching to 115200 for the transfer, and ours on a 1200-baud line. Each figure covers start-up and transfer.
#include "gps/gps_link.h"
#include "gps/serial_posix.h"
#include "source/writer.h"
#include "tests/tools/simulator_process.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using namespace wayloom;

constexpr int waypoint_count = 150;

std::string survey_file()
{
    static const std::string file = [] {
        map_document doc;
        for (int i = 0; i < waypoint_count; ++i) {
            t_waypoint& w = doc.create_waypoint();
            w.name = "post" + std::to_string(i);
            w.lon = -4.05 + (i % 25) * 0.0004;
            w.lat = 52.41 + (i / 25) * 0.0004;
            w.alt = 60 + i % 17;
        }
        const auto name = (std::filesystem::temp_directory_path() / "wayloom_gps_bench.wlm").string();
        std::string error;
        if (!save_map(doc, name, &error)) throw std::runtime_error(error);
        return name;
    }();
    return file;
}

struct quiet : gps::link_observer {
    std::string failure;
    void error_box(std::string_view message) override { failure = message; }
};

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(benchmark::State& state, std::size_t records, double seconds)
{
    state.counters["records"] = static_cast<double>(records);
    state.counters["records/s"] = static_cast<double>(records) / seconds;
}

// Arguments: line speed, whether the read ends on a whole frame, transfer speed (0: none).
void ours(benchmark::State& state)
{
    const std::string baud = std::to_string(state.range(0));
    simulator handset({"--map", survey_file(), "--layout", "D108", "--baud", baud});
    double seconds = 0;
    std::size_t records = 0;
    for (auto _ : state) {
        map_document doc;
        quiet seen;
        gps::gps_link link(doc, std::make_unique<gps::posix_serial>(), seen, "/dev/null");
        link.set_early_frame_end(state.range(1) != 0);
        link.texts.port = handset.path();
        link.texts.speed = baud;
        if (state.range(2) > 0) link.texts.transfer_speed = std::to_string(state.range(2));
        const auto start = std::chrono::steady_clock::now();
        link.init_gps();
        if (seen.failure.empty()) link.download_gps();
        seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        records = static_cast<std::size_t>(doc.waypoint_count());
        link.demolish();
        if (!seen.failure.empty()) state.SkipWithError(seen.failure.c_str());
    }
    report(state, records, seconds);
}

void gpsbabel(benchmark::State& state)
{
    if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0) {
        state.SkipWithError("gpsbabel is not installed (scripts/setup installs it)");
        return;
    }
    simulator handset({"--map", survey_file(), "--layout", "D108", "--baud", "9600"});
    const auto out = (std::filesystem::temp_directory_path() / "wayloom_gps_bench.csv").string();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int code = std::system(("gpsbabel -i garmin -f " + handset.path() + " -o csv -F " + out).c_str());
        seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        if (code != 0) state.SkipWithError("gpsbabel failed");
    }
    report(state, waypoint_count, seconds);
}

BENCHMARK(ours)->ArgNames({"baud", "early_frame_end", "transfer"})->Args({9600, 1, 0})->Args({9600, 0, 0})
    ->Args({9600, 1, 115200})->Args({1200, 1, 0})
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(gpsbabel)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
