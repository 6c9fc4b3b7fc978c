#include "survey.h"

#include "model/map_units.h"
#include "source/writer.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace wayloom::bench {

namespace {

// 500 waypoints a row on a jittered 0.001° grid, and four classes.
void add_waypoints_and_classes(map_document& doc, std::mt19937& rng)
{
    std::uniform_real_distribution<double> jitter(-0.0005, 0.0005);
    for (int i = 0; i < survey_waypoints; ++i) {
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
}

// Polygons walking the waypoint table, `size` nodes each.
template <class Size>
void add_polygons(map_document& doc, Size size)
{
    int next = 0;
    while (next < survey_waypoints) {
        t_shape& s = doc.create_shape();
        s.name = "field" + std::to_string(s.number);
        s.classes = {s.number % 4};
        const int n = std::min(size(), survey_waypoints - next);
        for (int k = 0; k < n; ++k, ++next) {
            const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(next)];
            s.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
        }
    }
}

} // namespace

void build_benchmark_map(map_document& doc)
{
    std::mt19937 rng(52);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < survey_waypoints; ++i) {
        t_waypoint& w = doc.create_waypoint();
        w.name = "wp" + std::to_string(i);
        w.lon = -4.5 + unit(rng);
        w.lat = 52 + unit(rng);
        w.alt = 50 + (i % 97) * 0.5;
    }
    std::uniform_int_distribution<std::size_t> any(0, doc.waypoints.size() - 1);
    for (int p = 0; p < benchmark_polygons; ++p) {
        t_shape& s = doc.create_shape();
        s.name = "field" + std::to_string(s.number);
        s.colour = make_colour(60 + p % 150, 160, 90);
        for (int k = 0; k < benchmark_polygon_nodes; ++k) {
            const t_waypoint& w = *doc.waypoints[any(rng)];
            s.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
        }
        doc.add_item(s.name, &s, nullptr);
    }
}

void write_benchmark_map(map_document& doc, const std::string& file)
{
    build_benchmark_map(doc);
    std::string error;
    if (!save_map(doc, file, &error)) throw std::runtime_error(error);
}

void build_survey(map_document& doc)
{
    std::mt19937 rng(7);
    add_waypoints_and_classes(doc, rng);
    std::uniform_int_distribution<int> size(3, 511);
    add_polygons(doc, [&] { return size(rng); });
    t_set& posts = doc.create_set();
    posts.name = "posts";
    posts.shape_type = s_points;
    for (int i = 0; i < survey_points; ++i) {
        point_record& p = posts.add_point(doc.new_point);
        const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(i * 2)];
        p.name = "post" + std::to_string(i);
        p.waypoint = w.number;
        p.lon = to_map_units(w.lon);
        p.lat = to_map_units(w.lat);
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

} // namespace wayloom::bench
