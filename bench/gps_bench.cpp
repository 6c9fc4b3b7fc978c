// Downloading 500 D108 waypoints from the simulated handset at 9600 baud with
// the window's default time-outs (100 ms total, 10 ms between bytes): once
// with the port read ending at a whole frame, once waiting out every time-out.
#include "gps/gps_link.h"
#include "gps/serial_posix.h"
#include "simulator_process.h"
#include "source/writer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using namespace wayloom;

constexpr int waypoint_count = 500;

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

void download(benchmark::State& state)
{
    const bool early_end = state.range(0) != 0;
    simulator handset({"--map", survey_file(), "--layout", "D108", "--baud", "9600"});
    double seconds = 0;
    std::size_t records = 0;
    for (auto _ : state) {
        map_document doc;
        quiet seen;
        gps::gps_link link(doc, std::make_unique<gps::posix_serial>(), seen, "/dev/null");
        link.set_early_frame_end(early_end);
        link.texts.port = handset.path();
        link.init_gps();
        if (!seen.failure.empty()) {
            state.SkipWithError(seen.failure.c_str());
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        link.download_gps();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        records = doc.waypoint_count();
        link.demolish();
        if (!seen.failure.empty()) state.SkipWithError(seen.failure.c_str());
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["records/s"] = records / seconds;
}

BENCHMARK(download)->ArgName("early_frame_end")->Arg(1)->Arg(0)->Iterations(1)->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace
