// Track and route records in the handsets' layouts: track points (D300 to
// D304), track headers (D310, D311, D312) and route headers (D200, D201,
// D202), and the tracks and routes a transfer's records make. Offsets are in
// bytes within the packet data; positions are signed 32-bit little-endian
// semicircles, latitude first.
#pragma once

#include "source/track_shapes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wayloom::gps {

bool is_track_point_layout(int data_type);   // 300 to 304
bool is_track_header_layout(int data_type);  // 310, 311, 312
bool is_route_header_layout(int data_type);  // 200, 201, 202

struct track_point_fields {
    geo_point at;               // degrees
    std::optional<float> alt;   // metres; none in D300, or when the handset sends 1.0e25 (not valid)
    bool new_track = false;     // D300 to D302: the point starts a new track
    bool valid = true;          // false for a position of 0x7FFFFFFF semicircles (no fix)
};

// A point in `data_type`'s layout; nothing when the record is too short.
std::optional<track_point_fields> decode_track_point(int data_type, std::span<const std::uint8_t> data);

// The ident of a D310 or D312 header, up to its NUL (at most 64
// characters); empty for D311, which holds only an index.
std::string decode_track_header(int data_type, std::span<const std::uint8_t> data);

struct route_header_fields {
    std::optional<int> number;  // D200 and D201
    std::string ident;          // D202
};
route_header_fields decode_route_header(int data_type, std::span<const std::uint8_t> data);

// Gathers the tracks of one transfer as their records arrive. A header
// starts a track named after its ident; without headers (or idents) tracks
// are named "track-1", "track-2" ... in order. A point whose new-track flag
// is set starts a new track too: within a header's track its pieces are
// named "NAME-2", "NAME-3" .... Points without a fix are left out.
class track_gatherer {
public:
    void header(const std::string& ident);
    void point(const track_point_fields& p);
    // The tracks so far, in order.
    std::vector<walked_track> take();

private:
    void start(std::string name);

    std::vector<walked_track> tracks_;
    std::string header_name_;  // the name of the header's track; empty when none was given
    int pieces_ = 0;           // pieces of the header's track so far
    int unnamed_ = 0;
};

// The name of a route: its ident by the word rules, else "route-N" for its
// number (counted from 1 in order when it has none).
std::string route_name(const route_header_fields& header, int running_number);

} // namespace wayloom::gps
