// GPX and map files through wayloom-cli beside GPSBabel, as whole programs:
// wall time, processor time and peak memory of each run on the benchmark map's 200,000
// waypoints (big.gpx) and on the benchmark map itself (big.wlm).
#include "source/gpx_writer.h"
#include "survey.h"
#include "whole_program.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace wayloom;
namespace fs = std::filesystem;

// Writes big.wlm and big.gpx.
void write_inputs(const fs::path& p)
{
    map_document doc;
    bench::write_benchmark_map(doc, (p / "big.wlm").string());
    map_document points;
    for (const auto& w : doc.waypoints) {
        t_waypoint& copy = points.create_waypoint();
        copy.name = w->name;
        copy.lon = w->lon;
        copy.lat = w->lat;
        copy.alt = w->alt;
    }
    std::string error;
    if (!save_gpx(points, (p / "big.gpx").string(), &error)) throw std::runtime_error(error);
}

const fs::path& folder()
{
    static const fs::path path = bench::inputs_folder("gpx_bench", write_inputs);
    return path;
}

void program(benchmark::State& state, const std::vector<std::string>& args, const char* input)
{
    bench::time_program(state, args);
    state.counters["input_MiB"] = static_cast<double>(fs::file_size(folder() / input)) / (1 << 20);
}

std::string in(const char* name) { return (folder() / name).string(); }

void wayloom_gpx_to_gpx(benchmark::State& state)
{
    program(state, {WAYLOOM_CLI, "save", in("big.gpx"), "-o", in("out.gpx")}, "big.gpx");
}

void gpsbabel_gpx_to_gpx(benchmark::State& state)
{
    program(state, {"gpsbabel", "-i", "gpx", "-f", in("big.gpx"), "-o", "gpx", "-F", in("babel.gpx")},
            "big.gpx");
}

void wayloom_wlm_to_wlm(benchmark::State& state)
{
    program(state, {WAYLOOM_CLI, "save", in("big.wlm"), "-o", in("out.wlm")}, "big.wlm");
}

void wayloom_wlm_to_gpx(benchmark::State& state)
{
    program(state, {WAYLOOM_CLI, "save", in("big.wlm"), "-o", in("map.gpx")}, "big.wlm");
}

} // namespace

BENCHMARK(wayloom_gpx_to_gpx)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(gpsbabel_gpx_to_gpx)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(wayloom_wlm_to_wlm)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(wayloom_wlm_to_gpx)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
