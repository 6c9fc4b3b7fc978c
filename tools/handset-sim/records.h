// Waypoint records in the layouts Garmin handsets use, both ways.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace handset {

struct waypoint {
    std::string name;
    double lat = 0, lon = 0;  // degrees
    float alt = 0;            // metres; only some layouts carry it
};

// Layout numbers as in the protocol array: 100 for D100 and so on.
bool known_layout(int layout);
// All of them, in the order the help lists them.
std::span<const int> all_layouts();

std::int32_t to_semicircles(double degrees);
double to_degrees(std::int32_t semicircles);

std::vector<std::uint8_t> encode_waypoint(const waypoint& w, int layout);
// Reads a record sent by a host; nothing when it is too short for the layout.
std::optional<waypoint> decode_waypoint(std::span<const std::uint8_t> data, int layout);

} // namespace handset
