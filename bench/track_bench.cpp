// A walk of 100,000 track points simplified to what a map file holds (511
// nodes) at the smallest tolerance that fits, as a download or a GPX read
// does for a long track log. The goal is under 50 ms.
#include "source/line_simplify.h"
#include "source/track_shapes.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using namespace wayloom;

// A day's walk: a few kilometres of wandering with a metre of jitter.
std::vector<geo_point> day_walk(std::size_t n)
{
    std::vector<geo_point> out(n);
    double heading = 0, lon = -4.05, lat = 52.41;
    for (std::size_t i = 0; i < n; ++i) {
        heading += 0.05 * std::sin(static_cast<double>(i) * 0.013) + 0.02 * std::sin(static_cast<double>(i) * 0.31);
        lon += 1.5e-5 * std::cos(heading) + 5e-6 * std::sin(static_cast<double>(i) * 7.1);
        lat += 1.0e-5 * std::sin(heading) + 4e-6 * std::cos(static_cast<double>(i) * 5.3);
        out[i] = {lon, lat};
    }
    return out;
}

void simplify_day_walk(benchmark::State& state)
{
    const auto walk = day_walk(static_cast<std::size_t>(state.range(0)));
    double tolerance = 0;
    for (auto _ : state) {
        const simplified_line s = simplify_line(walk, 0, static_cast<std::size_t>(max_shape_nodes));
        tolerance = s.tolerance;
        benchmark::DoNotOptimize(s.kept.data());
    }
    state.counters["tolerance_m"] = tolerance;
}
BENCHMARK(simplify_day_walk)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
