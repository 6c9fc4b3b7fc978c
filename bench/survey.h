// The benchmark survey: 200,000 waypoints on a jittered grid, polygons of 3
// to 511 nodes walking all of them, four classes and a set of 100,000 points.
// Made in code, the items are not listed: write and read it to list them.
// The same map for every benchmark that needs a large real-looking survey.
#pragma once

#include "model/map_document.h"

#include <string>

namespace wayloom::bench {

constexpr int survey_waypoints = 200'000;
constexpr int survey_points = 100'000;

void build_survey(map_document& doc);

constexpr int benchmark_polygons = 400;
constexpr int benchmark_polygon_nodes = 500;

// The benchmark map: 200,000 waypoints spread at random over the degree
// square north-east of 52° N 4.5° W, and 400 polygons of 500 nodes, each node
// a random one of the waypoints, so that every polygon crosses itself all
// over and each raster row meets about 170 of its edges. Listed as a read
// lists them.
void build_benchmark_map(map_document& doc);

// Builds the benchmark map into `doc` and saves it as `file`; throws with
// the writer's message when it cannot.
void write_benchmark_map(map_document& doc, const std::string& file);

// The survey as map source text, made once.
const std::string& survey_text();

} // namespace wayloom::bench
