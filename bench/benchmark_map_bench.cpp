// The benchmark map through the programs, as a user meets it: wayloom-cli
// areas beside check of the same file (the difference is the area estimate
// and the ellipsoidal areas), and the window opening on it, timed by
// bench/window_open from the start of the program to the window showing.
#include "survey.h"
#include "whole_program.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using namespace wayloom;

std::string map_file()
{
    static const std::string file = (bench::inputs_folder("benchmark_map_bench", [](const auto& folder) {
        map_document doc;
        bench::write_benchmark_map(doc, (folder / "big.wlm").string());
    }) / "big.wlm").string();
    return file;
}

void cli_check(benchmark::State& state) { bench::time_program(state, {WAYLOOM_CLI, "check", map_file()}); }
void cli_areas(benchmark::State& state) { bench::time_program(state, {WAYLOOM_CLI, "areas", map_file()}); }

// The script prints "window shown after S s, P s processor, ...".
void window_open(benchmark::State& state)
{
    double cpu = 0;
    for (auto _ : state) {
        const bench::run_result r = bench::run({WINDOW_OPEN, WAYLOOM, map_file()}, true);
        double shown = 0, processor = 0;
        if (!r.ok || std::sscanf(r.output.c_str(), "window shown after %lf s, %lf s processor", &shown,
                                 &processor) != 2) {
            state.SkipWithError("the window did not show (needs Xvfb and xwininfo)");
            return;
        }
        state.SetIterationTime(shown);
        cpu += processor;
    }
    state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(cli_check)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(cli_areas)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(window_open)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
