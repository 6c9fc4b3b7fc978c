// Reading and writing a large survey: 200,000 waypoints, polygons of up to
// 511 nodes over all of them, and a set of 100,000 points.
#include "source/reader.h"
#include "source/writer.h"
#include "survey.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace wayloom;
using bench::survey_text;

void read_survey(benchmark::State& state)
{
    const std::string& text = survey_text();
    for (auto _ : state) {
        map_document doc;
        doc.source.set_text(text);
        const read_report report = read_from_file(doc);
        if (!report.ok() || doc.waypoint_count() != bench::survey_waypoints) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.shapes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void write_survey(benchmark::State& state)
{
    map_document doc;
    doc.source.set_text(survey_text());
    read_from_file(doc);
    for (auto _ : state) {
        update_map_source(doc);
        benchmark::DoNotOptimize(doc.source.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * survey_text().size()));
}

// Both ends through the disk, as Open then Save do it.
void open_and_save_survey(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string in = (folder / "wayloom_bench_in.wlm").string();
    const std::string out = (folder / "wayloom_bench_out.wlm").string();
    {
        std::FILE* f = std::fopen(in.c_str(), "wb");
        std::fwrite(survey_text().data(), 1, survey_text().size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        map_document doc;
        if (!read_map(doc, in).ok()) state.SkipWithError("read failed");
        std::string error;
        if (!save_map(doc, out, &error)) state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
}

} // namespace

BENCHMARK(read_survey)->Unit(benchmark::kMillisecond);
BENCHMARK(write_survey)->Unit(benchmark::kMillisecond);
BENCHMARK(open_and_save_survey)->Unit(benchmark::kMillisecond);
