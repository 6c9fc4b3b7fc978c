// Tracks and routes as a Garmin handset holds and sends them: track points
// (D300 to D304), track headers (D310 to D312), route headers (D200 to
// D202) and route links (D210), and walks laid along a line of corners.
#pragma once

#include "records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace handset {

struct track_point {
    double lat = 0, lon = 0;  // degrees
    float alt = 0;            // metres
};

struct track {
    std::string name;
    std::vector<track_point> points;
};

struct route {
    std::string name;
    int number = 0;
    std::vector<waypoint> waypoints;
};

bool known_track_point_layout(int layout);   // 300 to 304
bool known_track_header_layout(int layout);  // 310, 311, 312
bool known_route_header_layout(int layout);  // 200, 201, 202

// The point in `layout`; `first` sets the new-track flag where the layout
// has one; `seconds` is its time.
std::vector<std::uint8_t> encode_track_point(const track_point& p, int layout, bool first, std::uint32_t seconds);
// A header for track number `index` (from 0).
std::vector<std::uint8_t> encode_track_header(const track& t, int index, int layout);
std::vector<std::uint8_t> encode_route_header(const route& r, int layout);
// The link between two route waypoints: a direct line, no ident.
std::vector<std::uint8_t> encode_route_link();

// The points of a walk along `corners` in order, one every `step` metres
// or nearer (each corner is a point); `round` walks back to the first
// corner too. A step of 0 gives the corners alone.
std::vector<track_point> walk_along(const std::vector<track_point>& corners, double step, bool round);

} // namespace handset
