// Timing whole programs from a benchmark: wall time, processor time and peak
// memory of each run, the way a user meets them.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace wayloom::bench {

struct run_result {
    bool ok = false;
    double seconds = 0;
    double peak_mib = 0;
    double cpu_seconds = 0;  // user and system, the figure a busy machine disturbs least
    std::string output;      // what it printed, when asked for
};

// Runs the program to its end; its output is kept when `keep_output`, else
// thrown away. What the runs before wrote goes to the disk first, so that no
// run waits for another's writing.
run_result run(std::vector<std::string> args, bool keep_output = false);

// Times each iteration by one run of the program (use with UseManualTime),
// and reports its processor time and peak memory as counters.
void time_program(benchmark::State& state, const std::vector<std::string>& args);

// A new folder for the inputs, which `write` puts there; removed when the
// benchmark program ends. `write` runs in a child process so that this one
// stays small: a program it starts would otherwise have this one's pages
// counted in its peak memory. Throws when the inputs were not written.
std::filesystem::path inputs_folder(const std::string& name, void (*write)(const std::filesystem::path&));

} // namespace wayloom::bench
