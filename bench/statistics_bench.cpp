// The area report of a map of 1,000 shapes in three classes: the areas are
// kept on the shapes, so the report only converts and sums them (goal: well
// under 10 ms). With the ellipsoidal areas asked for, each shape's ring (here
// twelve nodes) is measured on the ellipsoid as the report is made.
#include "model/map_document.h"
#include "statistics/area_report.h"
#include "view/geometry/ellipsoidal_area.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

using namespace wayloom;

void report_of_a_thousand_shapes(benchmark::State& state, report_mode mode, bool ellipsoid = false)
{
    map_document doc;
    std::vector<const t_class*> classes;
    for (int c = 0; c < 3; ++c) {
        t_class* cls = doc.create_class();
        cls->name = "class-" + std::to_string(c);
        classes.push_back(cls);
    }
    report_choice choice;
    choice.mode = mode;
    choice.classes = classes;
    for (int i = 0; i < 1000; ++i) {
        t_shape& shape = doc.create_shape();
        shape.name = "shape-" + std::to_string(i);
        shape.area = 10 + i;
        shape.classes = {i % 3, (i + 1) % 3};
        for (int k = 0; k < 12; ++k) {
            const double angle = k * std::numbers::pi / 6;
            t_node node;
            node.lon = (i % 40 + 0.4 * std::cos(angle)) * 0.01L * 360;
            node.lat = (52 + i / 40 * 0.01 + 0.4 * 0.01 * std::sin(angle)) * 360;
            shape.nodes.push_back(node);
        }
        doc.add_item(shape.name, &shape, nullptr);
        choice.shapes.push_back(&shape);
    }
    choice.perimeter = doc.shapes.front().get();
    if (ellipsoid) choice.ellipsoidal_area = ellipsoidal_area;
    for (auto _ : state) benchmark::DoNotOptimize(report_text(report_lines(doc, choice)));
}

void shapes_report(benchmark::State& state) { report_of_a_thousand_shapes(state, report_mode::shapes); }
void classes_report(benchmark::State& state) { report_of_a_thousand_shapes(state, report_mode::classes); }
void shapes_report_on_the_ellipsoid(benchmark::State& state)
{
    report_of_a_thousand_shapes(state, report_mode::shapes, true);
}

BENCHMARK(shapes_report)->Unit(benchmark::kMillisecond);
BENCHMARK(classes_report)->Unit(benchmark::kMillisecond);
BENCHMARK(shapes_report_on_the_ellipsoid)->Unit(benchmark::kMillisecond);

} // namespace
