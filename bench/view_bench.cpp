// The map view on large maps: the area estimate beside the plain reference
// count (the benchmark map, the survey, 1,000 fields of 100 nodes and 10,000
// of 20), and painting 10,000 nodes and 10,000 points into a 2000 × 2000 image.
#include "view/geometry/area_estimate.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include "model/map_document.h"
#include "model/map_units.h"
#include "source/reader.h"
#include "tests/view/reference_pixel_count.h"
#include "survey.h"
#include "tests/offscreen_application.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace wayloom;

// A field of star-shaped polygons near 52° N, each a few hundred metres wide.
void add_fields(map_document& doc, int shapes, int nodes, std::mt19937& rng)
{
    std::uniform_real_distribution<double> unit(0, 1);
    for (int s = 0; s < shapes; ++s) {
        t_shape& shape = doc.create_shape();
        shape.name = "field" + std::to_string(s);
        shape.colour = make_colour(100 + s % 100, 160, 80);
        const double lon = -4.5 + (s % 40) * 0.01, lat = 52 + (s / 40) * 0.01;
        std::vector<double> angles(static_cast<std::size_t>(nodes));
        for (double& a : angles) a = unit(rng) * 2 * M_PI;
        std::sort(angles.begin(), angles.end());
        for (double a : angles) {
            const double reach = 0.002 + 0.003 * unit(rng);
            t_node node;
            node.lon = to_map_units(lon + std::cos(a) * reach);
            node.lat = to_map_units(lat + std::sin(a) * reach);
            shape.nodes.push_back(node);
        }
        doc.add_item(shape.name, &shape, nullptr);
    }
}

void add_posts(map_document& doc, int points, bool names, std::mt19937& rng)
{
    std::uniform_real_distribution<double> unit(0, 1);
    t_set& set = doc.create_set();
    set.name = "posts";
    for (int i = 0; i < points; ++i) {
        point_record& p = set.add_point(point_defaults{});
        p.name = "p" + std::to_string(i);
        p.show_name = names;
        p.size = 3;
        p.marker = i % 2 ? p_circle : p_square;
        p.lon = to_map_units(-4.5 + unit(rng) * 0.4);
        p.lat = to_map_units(52 + unit(rng) * 0.25);
    }
    doc.add_item(set.name, nullptr, &set);
}

// The estimate as it was before it ran on all cores with the edge table:
// one shape after another, each counted by the plain row-by-row reference.
void estimate_with_reference(map_document& doc)
{
    for (const auto& shape : doc.shapes) {
        correct_nodes(doc.shape_list, shape.get(), nullptr);
        view_state raster;
        surface_bounds fitted;
        update_shapeses(raster, doc.shape_list, area_raster_size, area_raster_size, fitted,
                        shape.get(), nullptr, 0);
        std::vector<pixel_pos> corners;
        for (const t_node& node : shape->nodes) corners.push_back(node.pixel);
        shape->coverage = static_cast<long double>(test::reference_polygon_pixels(
            corners, std::min(fitted.width, area_raster_size), std::min(fitted.height, area_raster_size)));
    }
}

// Argument 0 runs the product's break_up, 1 the reference before it.
void estimate_all(benchmark::State& state, map_document& doc)
{
    const bool reference = state.range(0) != 0;
    for (auto _ : state) {
        if (reference) estimate_with_reference(doc);
        else break_up(doc.shape_list, nullptr);
        benchmark::DoNotOptimize(doc.shapes.back()->coverage);
    }
    state.SetLabel(reference ? "before: reference count, one core" : "break_up");
    state.counters["shapes"] = static_cast<double>(doc.shapes.size());
}

// Fields of `range(1)` star-shaped polygons of `range(2)` nodes.
void area_estimate_fields(benchmark::State& state)
{
    map_document doc;
    std::mt19937 rng(3);
    add_fields(doc, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), rng);
    estimate_all(state, doc);
}
BENCHMARK(area_estimate_fields)
    ->ArgsProduct({{0, 1}, {1000}, {100}})
    ->ArgsProduct({{0, 1}, {10000}, {20}})
    ->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// 200,000 waypoints and 400 polygons of 500 nodes, each a random waypoint.
void area_estimate_benchmark_map(benchmark::State& state)
{
    map_document doc;
    bench::build_benchmark_map(doc);
    estimate_all(state, doc);
}
BENCHMARK(area_estimate_benchmark_map)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The survey of the source benchmark, read as the window reads it.
void area_estimate_survey(benchmark::State& state)
{
    map_document doc;
    doc.source.set_text(bench::survey_text());
    if (!read_from_file(doc).ok()) state.SkipWithError("read failed");
    estimate_all(state, doc);
}
BENCHMARK(area_estimate_survey)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// 100 shapes of 100 nodes and one set of 10,000 points, all selected.
void drawing(benchmark::State& state, bool names)
{
    wayloom::testing::start_offscreen_application();
    map_document doc;
    std::mt19937 rng(5);
    add_fields(doc, 100, 100, rng);
    add_posts(doc, 10000, names, rng);
    for (list_entry& entry : doc.shape_list.entries) entry.selected = true;
    view_state view;
    view.avail_width = view.avail_height = 2000;
    correct_nodes(doc.shape_list, nullptr, nullptr);
    update_shapes(view, doc.shape_list, nullptr, nullptr);
    view.surface = {0, 0, 2000, 2000};
    QImage image(2000, 2000, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        draw(painter, view, doc.shape_list);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void draw_markers(benchmark::State& state) { drawing(state, false); }
void draw_markers_and_names(benchmark::State& state) { drawing(state, true); }
BENCHMARK(draw_markers)->Unit(benchmark::kMillisecond);
BENCHMARK(draw_markers_and_names)->Unit(benchmark::kMillisecond);

} // namespace
