// Reading and writing a large survey: 200,000 waypoints, polygons of up to
// 511 nodes over all of them, and a set of 100,000 points.
#include "source/reader.h"
#include "source/writer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

using namespace wayloom;

constexpr int waypoint_count = 200'000;
constexpr int point_count = 100'000;

void build_survey(map_document& doc)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> jitter(-0.0005, 0.0005);
    for (int i = 0; i < waypoint_count; ++i) {
        t_waypoint& w = doc.create_waypoint();
        w.name = "wp" + std::to_string(i);
        w.lon = -4.1 + (i % 500) * 0.001 + jitter(rng);
        w.lat = 52.3 + (i / 500) * 0.001 + jitter(rng);
        w.alt = 50 + (i % 97) * 0.5;
    }
    for (int c = 0; c < 4; ++c) {
        t_class& k = *doc.create_class();
        k.name = "class" + std::to_string(c);
        k.colour = make_colour(40 * c, 200 - 30 * c, 90);
    }
    // Polygons of 3 to 511 nodes walking the waypoint table.
    int next = 0;
    std::uniform_int_distribution<int> size(3, 511);
    while (next < waypoint_count) {
        t_shape& s = doc.create_shape();
        s.name = "field" + std::to_string(s.number);
        s.classes = {s.number % 4};
        const int n = std::min(size(rng), waypoint_count - next);
        for (int k = 0; k < n; ++k, ++next) {
            const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(next)];
            s.nodes.push_back({w.number, w.lon * 360, 0, w.lat * 360, {}});
        }
    }
    t_set& posts = doc.create_set();
    posts.name = "posts";
    posts.shape_type = s_points;
    for (int i = 0; i < point_count; ++i) {
        point_record& p = posts.add_point(doc.new_point);
        const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(i * 2)];
        p.name = "post" + std::to_string(i);
        p.waypoint = w.number;
        p.lon = w.lon * 360;
        p.lat = w.lat * 360;
        p.marker = i % 3 ? p_circle : p_square;
    }
}

const std::string& survey_text()
{
    static const std::string text = [] {
        map_document doc;
        build_survey(doc);
        update_map_source(doc);
        return doc.source.text();
    }();
    return text;
}

void read_survey(benchmark::State& state)
{
    const std::string& text = survey_text();
    for (auto _ : state) {
        map_document doc;
        doc.source.set_text(text);
        const read_report report = read_from_file(doc);
        if (!report.ok() || doc.waypoint_count() != waypoint_count) state.SkipWithError("read failed");
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
