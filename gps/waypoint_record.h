// Waypoint records in the handsets' layouts (D100 to D155, D108, D109):
// what the link reads from one record packet. Offsets are in bytes within
// the packet data; positions are signed 32-bit little-endian semicircles,
// latitude first.
#pragma once

#include "gps/capabilities.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wayloom::gps {

// Semicircles from degrees, to the nearest, within the 32-bit range.
std::int32_t degrees_to_semicircles(long double degrees);

// Degrees from semicircles, with the factor 180 / 2^31 held as a float as
// handsets' own software does (the float holds it exactly).
long double semicircles_to_degrees(std::int32_t semicircles);

struct waypoint_fields {
    std::string name;
    long double lat = 0, lon = 0;  // degrees; 0 when the record is too short to hold them
    std::optional<float> alt;      // metres, in D108 and D109 only; none for not valid (1e25)
    bool complete = true;          // D108/D109: the record held its fixed part and both strings whole
};

// One record read with `reader`. Fields are taken only from bytes the record
// holds. Names: D100 family the 6 bytes at 0 as they are; D105 family
// `running_number`; D108/D109 the ident after the fixed part up to its NUL,
// at most 64 characters.
waypoint_fields decode_waypoint(const record_reader& reader, std::span<const std::uint8_t> data,
                                int running_number);

// The record a host sends for a waypoint in `reader`'s layout: what
// decode_waypoint reads, at the same offsets, the name as handset_ident
// makes it. What the map has no value for goes out as handsets read "none":
// the waypoint dot as symbol, the layout's default colour, and a missing
// altitude as not valid (1e25). Empty for a reader that reads no waypoints.
std::vector<std::uint8_t> encode_waypoint(const record_reader& reader, const waypoint_fields& w);

} // namespace wayloom::gps
