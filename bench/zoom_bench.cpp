// A zoom or pan frame as the map surface makes it: the map laid out under
// the view and painted into an offscreen picture of the surface's size,
// after one zoom step (a wheel notch about the middle) or one pan step (an
// arrow key, a tenth of the view) from a given zoom. The benchmark map
// (200,000 waypoints, 400 polygons of 500 random nodes) and the farm, all
// items selected, fitted into a panel of 1280 × 1024; with the waypoints
// shown as dots or not.
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"
#include "view/geometry/surface_layout.h"
#include "view/map_painter.h"

#include "model/map_document.h"
#include "source/reader.h"
#include "survey.h"
#include "tests/offscreen_application.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace wayloom;

constexpr std::int32_t panel_width = 1280, panel_height = 1024;

struct fitted_map {
    map_document doc;
    view_state state;

    void fit()
    {
        for (list_entry& entry : doc.shape_list.entries) entry.selected = true;
        state.avail_width = panel_width;
        state.avail_height = panel_height;
        correct_nodes(doc.shape_list, nullptr, nullptr);
        update_shapes(state, doc.shape_list, nullptr, nullptr);
    }
};

const fitted_map& benchmark_map()
{
    static const std::unique_ptr<fitted_map> map = [] {
        auto m = std::make_unique<fitted_map>();
        bench::build_benchmark_map(m->doc);
        m->fit();
        return m;
    }();
    return *map;
}

const fitted_map& farm()
{
    static const std::unique_ptr<fitted_map> map = [] {
        auto m = std::make_unique<fitted_map>();
        if (!read_map(m->doc, WAYLOOM_SOURCE_DIR "/examples/farm.wlm").ok()) std::abort();
        m->fit();
        return m;
    }();
    return *map;
}

enum class step { zoom_in, zoom_out, pan };

// range(0): the zoom before the step, in percent; range(1): waypoints shown.
void frame(benchmark::State& run, const fitted_map& shared, step kind)
{
    testing::start_offscreen_application();
    fitted_map& map = const_cast<fitted_map&>(shared);  // painting only reads the items
    const surface_bounds& surface = map.state.surface;
    const std::span<const t_waypoint* const> waypoints =
        run.range(1) ? std::span<const t_waypoint* const>(map.doc.waypoints) : std::span<const t_waypoint* const>();
    view_transform view;
    view.reset(surface.width, surface.height);
    view.zoom_centre(static_cast<long double>(run.range(0)) / 100);
    const view_transform before = view;
    QImage picture(surface.width, surface.height, QImage::Format_RGB32);
    surface_layout layout;  // the surface keeps one from frame to frame
    for (auto _ : run) {
        view = before;
        if (kind == step::pan) view.pan(-surface.width / 10.0L, 0);
        else view.zoom_centre(kind == step::zoom_in ? zoom_step : 1 / zoom_step);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        lay_out(layout, map.state, map.doc.shape_list, view, waypoints);
        draw(painter, map.state, layout);
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
    }
    run.counters["surface_w"] = surface.width;
    run.counters["surface_h"] = surface.height;
}

void benchmark_map_zoom(benchmark::State& run) { frame(run, benchmark_map(), step::zoom_in); }
void benchmark_map_pan(benchmark::State& run) { frame(run, benchmark_map(), step::pan); }
void farm_zoom(benchmark::State& run) { frame(run, farm(), step::zoom_in); }
void farm_pan(benchmark::State& run) { frame(run, farm(), step::pan); }

// In from the fitted drawing (100 %), from 2x and from 800x; a pan needs a zoom.
BENCHMARK(benchmark_map_zoom)->ArgsProduct({{100, 200, 80000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(benchmark_map_pan)->ArgsProduct({{125, 200, 80000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(farm_zoom)->ArgsProduct({{100, 200, 80000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(farm_pan)->ArgsProduct({{125, 200, 80000}, {0, 1}})->Unit(benchmark::kMillisecond);

// Out from 1.25x to the fitted drawing, where the picture's edges hold
// pixels no shape in front takes, so every shape is walked along them.
void benchmark_map_zoom_out(benchmark::State& run) { frame(run, benchmark_map(), step::zoom_out); }
BENCHMARK(benchmark_map_zoom_out)->ArgsProduct({{125}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace
