// Tracks and routes into the map. A walked track becomes a path through its
// points, or a polygon shape when it ends where it began (the field walked
// round); a route becomes a path through its waypoints. Every node stands on
// a waypoint, as the nodes of a map file do.
#pragma once

#include "model/map_document.h"
#include "source/line_simplify.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace wayloom {

// Metres as the user types them: a decimal from 0 to most_metres (blanks
// around allowed); nothing for any other text.
inline constexpr double most_metres = 1'000'000;
std::optional<double> read_metres(std::string_view text);

// The GPS window's "Close tracks within" and "Simplify" texts as rules; a
// text that is no distance keeps that rule's default.
track_rules read_track_rules(std::string_view close_within, std::string_view simplify);

struct walked_point {
    geo_point at;
    std::optional<double> alt;  // metres; nothing: the waypoint made there has none
};

struct walked_track {
    std::string name;  // as the map will hold it (see item_name_of)
    std::vector<walked_point> points;
    // Whether the track is a path or a shape whatever its ends; nothing:
    // the rules decide.
    std::optional<bool> closed;
};

// A name from a handset or a file as reading it from a map file gives it:
// trimmed of blanks, every character that is not a word character "_", and
// in lower case unless it is a number; `fallback` when nothing is left.
std::string item_name_of(std::string_view name, std::string_view fallback);

// Whether the rules make the track a shape: its last point within
// `close_within` metres of its first.
bool closes(const walked_track& track, const track_rules& rules);

// Waypoints a read placed, by their exact place, so that a track point
// there stands on the waypoint (a file that holds a map's waypoints and its
// shapes as tracks reads back with one waypoint for each).
class placed_waypoints {
public:
    void add(const t_waypoint& w);
    std::optional<std::int32_t> at(geo_point p) const;

private:
    std::map<std::pair<double, double>, std::int32_t> by_place_;
};

// Adds the track: simplified when it holds more points than a shape may,
// or as much as the rules ask (keeping its first and last point); a shape
// leaves out a last point that repeats its first. Each node stands on the
// waypoint `placed` holds at its place, else on a new waypoint "NAME-1",
// "NAME-2" ... (by node). Nothing is added for fewer than 2 points (3 for a
// shape): the result is then null.
t_shape* add_track(map_document& doc, const walked_track& track, const track_rules& rules,
                   const placed_waypoints* placed = nullptr);

// The waypoints of the map by name and position, for route points that
// repeat a waypoint: the same name (ignoring case and the blanks a handset
// pads a short ident with) within a millionth of a degree. Sees the
// waypoints added after it was made, too.
class waypoint_finder {
public:
    std::optional<std::int32_t> find(const map_document& doc, std::string_view name, geo_point at);

private:
    std::unordered_multimap<std::string, std::int32_t> by_name_;
    std::size_t seen_ = 0;
};

struct route_point {
    std::string name;  // empty for a point without one: it is named "ROUTE-N"
    walked_point place;
};

// Adds a route: each point the waypoint it repeats, or a new one under its
// name, and a path through them named `name`, simplified only when it
// holds more points than a shape may. Nothing is added for fewer than 2
// points: the waypoints are then still added, and the result is null.
t_shape* add_route(map_document& doc, const std::string& name, const std::vector<route_point>& points,
                   waypoint_finder& finder);

} // namespace wayloom
