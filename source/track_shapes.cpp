#include "source/track_shapes.h"

#include "model/map_units.h"
#include "source/number_text.h"
#include "source/writer.h"

#include <algorithm>
#include <cmath>

namespace wayloom {

namespace {

constexpr std::size_t shape_least = 3, path_least = 2;
// Route points repeat a waypoint to the precision files and handsets keep.
constexpr double same_place_degrees = 1e-6;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lower_case(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}

// A name as route points are matched by: without the blanks a fixed-width
// ident is padded with, in lower case.
std::string match_key(std::string_view name)
{
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return lower_case(name);
}

bool same_point(geo_point a, geo_point b) { return a.lon == b.lon && a.lat == b.lat; }

t_waypoint& new_waypoint(map_document& doc, std::string name, const walked_point& p)
{
    t_waypoint& w = doc.create_waypoint();
    w.name = std::move(name);
    w.lon = p.at.lon;
    w.lat = p.at.lat;
    w.alt = p.alt && std::isfinite(*p.alt) ? static_cast<long double>(*p.alt) : no_altitude;
    doc.list_waypoint(w);
    return w;
}

t_shape& new_shape(map_document& doc, const std::string& name, bool polygon)
{
    t_shape& shape = doc.create_shape();
    shape.name = name;
    shape.shape_type = polygon ? s_polygon : s_path;
    doc.add_item(name, &shape, nullptr);
    doc.analyses_outdated();
    return shape;
}

void add_node(t_shape& shape, const t_waypoint& w)
{
    shape.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
}

// The indexes of the points a shape keeps, simplified by the rules.
std::vector<std::size_t> kept_points(std::span<const walked_point> points, double tolerance)
{
    std::vector<geo_point> line(points.size());
    std::transform(points.begin(), points.end(), line.begin(), [](const walked_point& p) { return p.at; });
    return simplify_line(line, tolerance, static_cast<std::size_t>(max_shape_nodes)).kept;
}

} // namespace

std::optional<double> read_metres(std::string_view text)
{
    const auto value = parse_real(text);
    if (!value || *value < 0 || *value > most_metres) return std::nullopt;
    return static_cast<double>(*value);
}

track_rules read_track_rules(std::string_view close_within, std::string_view simplify)
{
    track_rules rules;
    rules.close_within = read_metres(close_within).value_or(rules.close_within);
    rules.simplify = read_metres(simplify).value_or(rules.simplify);
    return rules;
}

std::string item_name_of(std::string_view name, std::string_view fallback)
{
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name.empty()) return std::string(fallback);
    const std::string out = written_name(name);
    return parse_decimal(out) ? out : lower_case(out);
}

bool closes(const walked_track& track, const track_rules& rules)
{
    if (track.closed) return *track.closed;
    if (rules.close_within <= 0 || track.points.size() < 2) return false;
    return ground_distance(track.points.front().at, track.points.back().at) <= rules.close_within;
}

void placed_waypoints::add(const t_waypoint& w)
{
    by_place_.try_emplace({static_cast<double>(w.lon), static_cast<double>(w.lat)}, w.number);
}

std::optional<std::int32_t> placed_waypoints::at(geo_point p) const
{
    const auto found = by_place_.find({p.lon, p.lat});
    if (found == by_place_.end()) return std::nullopt;
    return found->second;
}

t_shape* add_track(map_document& doc, const walked_track& track, const track_rules& rules,
                   const placed_waypoints* placed)
{
    const bool polygon = closes(track, rules);
    std::span<const walked_point> points(track.points);
    if (polygon && points.size() > 1 && same_point(points.front().at, points.back().at))
        points = points.first(points.size() - 1);
    if (points.size() < (polygon ? shape_least : path_least)) return nullptr;

    t_shape& shape = new_shape(doc, track.name, polygon);
    const std::vector<std::size_t> kept = kept_points(points, rules.simplify);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const walked_point& p = points[kept[i]];
        const auto there = placed ? placed->at(p.at) : std::nullopt;
        add_node(shape, there ? *doc.waypoint(*there) : new_waypoint(doc, track.name + "-" + std::to_string(i + 1), p));
    }
    return &shape;
}

std::optional<std::int32_t> waypoint_finder::find(const map_document& doc, std::string_view name, geo_point at)
{
    for (; seen_ < doc.waypoints.size(); ++seen_)
        by_name_.emplace(match_key(doc.waypoints[seen_]->name), static_cast<std::int32_t>(seen_));
    const auto [first, last] = by_name_.equal_range(match_key(name));
    for (auto it = first; it != last; ++it) {
        const t_waypoint* w = doc.waypoint(it->second);
        if (w && std::fabs(static_cast<double>(w->lon) - at.lon) <= same_place_degrees &&
            std::fabs(static_cast<double>(w->lat) - at.lat) <= same_place_degrees)
            return it->second;
    }
    return std::nullopt;
}

t_shape* add_route(map_document& doc, const std::string& name, const std::vector<route_point>& points,
                   waypoint_finder& finder)
{
    std::vector<std::int32_t> numbers;
    std::vector<walked_point> places;
    for (const route_point& p : points) {
        const auto known = p.name.empty() ? std::nullopt : finder.find(doc, p.name, p.place.at);
        const std::string own = p.name.empty() ? name + "-" + std::to_string(numbers.size() + 1) : p.name;
        numbers.push_back(known ? *known : new_waypoint(doc, own, p.place).number);
        places.push_back(p.place);
    }
    if (numbers.size() < path_least) return nullptr;
    t_shape& shape = new_shape(doc, name, false);
    for (const std::size_t i : kept_points(places, 0)) add_node(shape, *doc.waypoint(numbers[i]));
    return &shape;
}

} // namespace wayloom
