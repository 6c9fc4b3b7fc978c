// Takes the features a GeoJSON or KML reader found into the map: a point
// becomes a waypoint, a line a path and a polygon a shape (its outer ring).
// A node stands on a waypoint the same read placed at exactly that spot
// (a Point, or a node of an earlier item), else on a new waypoint named
// after the item and the node's place in it ("field-3"). Classes are found by name or
// created; colours are taken when given.
#pragma once

#include "model/colour.h"
#include "model/map_document.h"
#include "source/reader.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace wayloom {

struct read_position {
    double lon = 0;  // degrees
    double lat = 0;  // degrees
    std::optional<double> alt;  // metres
};

enum class read_geometry { none, point, line, polygon, other };

struct read_feature {
    std::string where;  // how messages name it: "GeoJSON feature 3", "KML Placemark at line 12"
    std::string name;   // UTF-8, empty when the feature has none
    read_geometry geometry = read_geometry::none;
    std::vector<read_position> positions;  // a polygon's outer ring
    std::size_t holes = 0;                 // inner rings, which are not read
    std::optional<colour_value> colour, border;
    std::vector<std::string> classes;
    std::optional<double> altitude;        // metres, when the position has none
};

// Most nodes a shape read from a map file may hold.
inline constexpr std::size_t most_read_nodes = max_shape_nodes;

class feature_import {
public:
    feature_import(map_document& doc, read_report& report) : doc_(doc), report_(report) {}

    // Adds the feature to the map, or counts it as skipped when its geometry
    // is none or other. A position that is not on the globe, or too few of
    // them, is an error naming the feature: false, with the message in the
    // report. A polygon with holes keeps its outer ring, with a warning; a
    // line longer than a shape may be is split into paths of most_read_nodes
    // nodes, each starting where the last ended, with a warning; a polygon
    // that long is skipped with a warning.
    bool add(const read_feature& feature);

    // Adds the warning that counts the skipped features, if any were.
    void finish();

    // The error "WHERE (NAME): PROBLEM" in the report; returns false.
    bool fail(const read_feature& feature, const std::string& problem);

private:
    void warn(const read_feature& feature, const std::string& problem);
    t_waypoint& add_waypoint(const read_position& p, std::string name, const read_feature& feature);
    void add_shape(const read_feature& feature, std::span<const std::int32_t> nodes, std::string name);
    std::vector<std::int32_t> class_numbers(const read_feature& feature);

    map_document& doc_;
    read_report& report_;
    std::size_t skipped_ = 0;
    std::size_t count_ = 0;
    std::map<std::pair<double, double>, std::int32_t> placed_;  // waypoints this read added, by place
};

// Runs `read`, which hands the features it finds to the import and puts
// any error of its own in the report. After an error the map keeps only
// what it held before; after a read without one, `after` runs. The held map
// source is left alone.
read_report import_features(map_document& doc, const after_read& after,
                            const std::function<void(feature_import&, read_report&)>& read);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> whole_file(const std::string& file_name);

// The report for a file that cannot be opened: "Cant find : " and its name,
// as for a map file.
read_report missing_file(const std::string& file_name);

} // namespace wayloom
