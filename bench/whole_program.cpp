#include "whole_program.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wayloom::bench {

run_result run(std::vector<std::string> args, bool keep_output)
{
    ::sync();
    std::FILE* output = keep_output ? std::tmpfile() : nullptr;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool to_file = output && ::dup2(::fileno(output), STDOUT_FILENO) >= 0;
        if ((!to_file && !freopen("/dev/null", "w", stdout)) || !freopen("/dev/null", "w", stderr))
            ::_exit(126);
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
    if (output) {
        std::rewind(output);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, output)) > 0;) result.output.append(buffer, n);
        std::fclose(output);
    }
    return result;
}

void time_program(benchmark::State& state, const std::vector<std::string>& args)
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
}

std::filesystem::path inputs_folder(const std::string& name, void (*write)(const std::filesystem::path&))
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("wayloom_" + name + "_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    static std::vector<fs::path> made;
    if (made.empty()) std::atexit([] {
        for (const fs::path& p : made) fs::remove_all(p);
    });
    made.push_back(folder);
    const pid_t pid = ::fork();
    if (pid == 0) {
        write(folder);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(name + ": inputs not written");
    return folder;
}

} // namespace wayloom::bench
