#include "gis/feature_import.h"

#include "model/map_units.h"
#include "source/word_values.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace wayloom {

namespace {

std::string label(const read_feature& f) { return f.name.empty() ? f.where : f.where + " (" + f.name + ")"; }

bool on_globe(const read_position& p)
{
    return std::isfinite(p.lon) && std::isfinite(p.lat) && std::fabs(p.lon) <= 180 && std::fabs(p.lat) <= 90;
}

bool same_place(const read_position& a, const read_position& b) { return a.lon == b.lon && a.lat == b.lat; }

std::string counted(std::size_t n, std::string_view one, std::string_view many)
{
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

} // namespace

bool feature_import::fail(const read_feature& feature, const std::string& problem)
{
    report_.errors.push_back(label(feature) + ": " + problem);
    return false;
}

void feature_import::warn(const read_feature& feature, const std::string& problem)
{
    report_.warnings.push_back(label(feature) + ": " + problem);
}

bool feature_import::add(const read_feature& feature)
{
    ++count_;
    const read_geometry geometry = feature.geometry;
    if (geometry == read_geometry::none || geometry == read_geometry::other) {
        ++skipped_;
        return true;
    }
    for (const read_position& p : feature.positions)
        if (!on_globe(p)) return fail(feature, "a position lies off the globe (longitude -180 to 180, latitude -90 to 90)");
    std::size_t end = feature.positions.size();
    // A ring's closing position is its first node again.
    if (geometry == read_geometry::polygon && end > 1 && same_place(feature.positions.front(), feature.positions[end - 1]))
        --end;
    if (geometry == read_geometry::point && end < 1) return fail(feature, "a Point needs a position");
    if (geometry == read_geometry::line && end < 2) return fail(feature, "a LineString needs at least 2 positions");
    if (geometry == read_geometry::polygon && end < 3)
        return fail(feature, "a Polygon's outer ring needs at least 3 positions");

    const std::string name = feature.name.empty() ? "Feature-" + std::to_string(count_) : feature.name;
    if (geometry == read_geometry::point) {
        t_waypoint& w = add_waypoint(feature.positions.front(), name, feature);
        if (feature.colour) w.colour = *feature.colour;
        if (feature.border) w.border = *feature.border;
        return true;
    }
    if (feature.holes > 0) warn(feature, counted(feature.holes, "hole", "holes") + " dropped; only the outer ring is read");
    if (geometry == read_geometry::polygon && end > most_read_nodes) {
        warn(feature, counted(end, "node", "nodes") + ", more than the " + std::to_string(most_read_nodes) +
                          " a shape holds: skipped");
        return true;
    }
    // A node stands on the waypoint this read placed there already, if any.
    std::vector<std::int32_t> nodes;
    for (std::size_t i = 0; i < end; ++i) {
        const read_position& p = feature.positions[i];
        const auto known = placed_.find({p.lon, p.lat});
        nodes.push_back(known != placed_.end() ? known->second
                                                : add_waypoint(p, name + "-" + std::to_string(i + 1), feature).number);
    }
    std::size_t pieces = 0;
    std::size_t first = 0;
    do {
        const std::size_t stop = std::min(end, first + most_read_nodes);
        ++pieces;
        add_shape(feature, std::span(nodes).subspan(first, stop - first), pieces == 1 ? name : name + "-part" + std::to_string(pieces));
        first = stop - 1;
    } while (first + 1 < end);
    if (pieces > 1)
        warn(feature, counted(end, "node", "nodes") + " split into " + std::to_string(pieces) + " paths of at most " +
                          std::to_string(most_read_nodes) + " nodes");
    return true;
}

void feature_import::finish()
{
    if (skipped_ > 0)
        report_.warnings.push_back(counted(skipped_, "feature", "features") +
                                   " skipped: only Points, LineStrings and Polygons are read");
}

t_waypoint& feature_import::add_waypoint(const read_position& p, std::string name, const read_feature& feature)
{
    t_waypoint& w = doc_.create_waypoint();
    w.name = std::move(name);
    w.lon = p.lon;
    w.lat = p.lat;
    if (p.alt && std::isfinite(*p.alt)) w.alt = *p.alt;
    else if (feature.altitude && std::isfinite(*feature.altitude)) w.alt = *feature.altitude;
    else w.alt = no_altitude;  // none in the file, rather than sea level
    doc_.list_waypoint(w);
    placed_.try_emplace({p.lon, p.lat}, w.number);
    return w;
}

void feature_import::add_shape(const read_feature& feature, std::span<const std::int32_t> nodes, std::string name)
{
    t_shape& shape = doc_.create_shape();
    shape.name = name;
    shape.shape_type = feature.geometry == read_geometry::line ? s_path : s_polygon;
    for (const std::int32_t number : nodes) {
        const t_waypoint& w = *doc_.waypoint(number);
        shape.nodes.emplace_back(number, to_map_units(w.lon), to_map_units(w.lat));
    }
    if (feature.colour) shape.colour = shape.default_colour = *feature.colour;
    if (feature.border) shape.border = shape.default_border = *feature.border;
    shape.classes = class_numbers(feature);
    doc_.add_item(std::move(name), &shape, nullptr);
}

std::vector<std::int32_t> feature_import::class_numbers(const read_feature& feature)
{
    std::vector<std::int32_t> numbers;
    for (const std::string& wanted : feature.classes) {
        if (wanted.empty()) continue;
        const auto& entries = doc_.class_list.entries;
        const auto known = std::find_if(entries.begin(), entries.end(), [&](const list_entry& entry) {
            return same_text_ignoring_case(entry.text, wanted);
        });
        if (known != entries.end()) {
            numbers.push_back(std::get<t_class*>(known->object)->number);
            continue;
        }
        t_class* c = doc_.create_class();
        if (!c) continue;  // the class counter is used up: the item stays without it
        c->name = wanted;
        doc_.class_list.add(wanted, c);
        numbers.push_back(c->number);
    }
    return numbers;
}

read_report import_features(map_document& doc, const after_read& after,
                            const std::function<void(feature_import&, read_report&)>& read)
{
    read_report report;
    const map_mark start = doc.mark();
    feature_import import(doc, report);
    read(import, report);
    if (!report.ok()) {
        doc.roll_back(start);
        return report;
    }
    import.finish();
    report.completed = true;
    if (after) after(doc);
    return report;
}

std::optional<std::string> whole_file(const std::string& file_name)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file_name, ec)) return std::nullopt;
    std::ifstream in(file_name, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(text).str();
}

read_report missing_file(const std::string& file_name)
{
    read_report report;
    report.errors.push_back("Cant find : " + file_name);
    report.missing = true;
    return report;
}

} // namespace wayloom
