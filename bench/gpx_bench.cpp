// GPX and map files through wayloom-cli beside GPSBabel, as whole programs:
// wall time, processor time and peak memory of each run on the benchmark map's 200,000
// waypoints (big.gpx) and on the benchmark map itself (big.wlm).
#include "source/gpx_writer.h"
#include "source/writer.h"
#include "survey.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace wayloom;
namespace fs = std::filesystem;

// Writes big.wlm and big.gpx. Done in a child process so that this one stays
// small: a program it starts would otherwise have this one's pages counted
// in its peak memory.
void write_inputs(const fs::path& p)
{
    map_document doc;
    bench::build_benchmark_map(doc);
    std::string error;
    if (!save_map(doc, (p / "big.wlm").string(), &error)) throw std::runtime_error(error);
    map_document points;
    for (const auto& w : doc.waypoints) {
        t_waypoint& copy = points.create_waypoint();
        copy.name = w->name;
        copy.lon = w->lon;
        copy.lat = w->lat;
        copy.alt = w->alt;
    }
    if (!save_gpx(points, (p / "big.gpx").string(), &error)) throw std::runtime_error(error);
}

const fs::path& folder()
{
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / ("wayloom_gpx_bench_" + std::to_string(::getpid()));
        fs::create_directories(p);
        const pid_t pid = ::fork();
        if (pid == 0) {
            write_inputs(p);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("inputs not written");
        std::atexit([] { fs::remove_all(folder()); });
        return p;
    }();
    return path;
}

struct run_result {
    bool ok = false;
    double seconds = 0;
    double peak_mib = 0;
    double cpu_seconds = 0;  // user and system, the figure a busy machine disturbs least
};

// Runs the program to its end, its output thrown away. What the runs before
// wrote goes to the disk first, so that no run waits for another's writing.
run_result run(std::vector<std::string> args)
{
    ::sync();
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) ::_exit(126);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run_result result;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.peak_mib = static_cast<double>(usage.ru_maxrss) / 1024;  // reported in KiB
    const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    result.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return result;
}

void program(benchmark::State& state, const std::vector<std::string>& args, const char* input)
{
    double peak = 0, cpu = 0;
    for (auto _ : state) {
        const run_result r = run(args);
        if (!r.ok) {
            state.SkipWithError(("failed or missing: " + args[0]).c_str());
            return;
        }
        state.SetIterationTime(r.seconds);
        peak = std::max(peak, r.peak_mib);
        cpu += r.cpu_seconds;
    }
    state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
    state.counters["peak_MiB"] = peak;
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
