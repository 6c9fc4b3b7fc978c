#include "track_records.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace handset {

namespace {

struct point_shape {
    int layout;
    std::size_t size, alt, new_track;  // offsets; 0: none
};
constexpr point_shape point_shapes[] = {
    {300, 13, 0, 12}, {301, 21, 12, 20}, {302, 25, 12, 24}, {303, 17, 12, 0}, {304, 23, 12, 0},
};

const point_shape* point_shape_of(int layout)
{
    for (const auto& s : point_shapes)
        if (s.layout == layout) return &s;
    return nullptr;
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void put_float(std::vector<std::uint8_t>& out, std::size_t at, float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    put32(out, at, bits);
}

void append_string(std::vector<std::uint8_t>& out, const std::string& s)
{
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

// Metres per degree, near enough for laying out a walk.
constexpr double metres_per_degree = 111320;

} // namespace

bool known_track_point_layout(int layout) { return point_shape_of(layout) != nullptr; }
bool known_track_header_layout(int layout) { return layout >= 310 && layout <= 312; }
bool known_route_header_layout(int layout) { return layout >= 200 && layout <= 202; }

std::vector<std::uint8_t> encode_track_point(const track_point& p, int layout, bool first, std::uint32_t seconds)
{
    const point_shape& s = *point_shape_of(layout);
    std::vector<std::uint8_t> out(s.size, 0);
    put32(out, 0, static_cast<std::uint32_t>(to_semicircles(p.lat)));
    put32(out, 4, static_cast<std::uint32_t>(to_semicircles(p.lon)));
    put32(out, 8, seconds);
    if (s.alt) put_float(out, s.alt, p.alt);
    const float not_valid = 1.0e25f;
    if (layout == 301 || layout == 302) put_float(out, 16, not_valid);  // depth
    if (layout == 302) put_float(out, 20, not_valid);                   // temperature
    if (layout == 304) put_float(out, 16, not_valid);                   // distance
    if (layout == 304) out[21] = 0xFF;                                  // no cadence
    if (s.new_track) out[s.new_track] = first ? 1 : 0;
    return out;
}

std::vector<std::uint8_t> encode_track_header(const track& t, int index, int layout)
{
    if (layout == 311) return {static_cast<std::uint8_t>(index & 0xFF), static_cast<std::uint8_t>(index >> 8)};
    std::vector<std::uint8_t> out{1, static_cast<std::uint8_t>(layout == 312 ? 0xFF : 0)};  // shown, default colour
    append_string(out, t.name);
    return out;
}

std::vector<std::uint8_t> encode_route_header(const route& r, int layout)
{
    std::vector<std::uint8_t> out;
    if (layout == 202) {
        append_string(out, r.name);
        return out;
    }
    out.push_back(static_cast<std::uint8_t>(r.number));
    if (layout == 201) {
        std::string comment = r.name.substr(0, 20);
        comment.resize(20, ' ');
        out.insert(out.end(), comment.begin(), comment.end());
    }
    return out;
}

std::vector<std::uint8_t> encode_route_link()
{
    std::vector<std::uint8_t> out(20, 0);
    out[0] = 3;  // class: a direct line
    std::fill(out.begin() + 8, out.end(), 0xFF);
    out.push_back(0);  // no ident
    return out;
}

std::vector<track_point> walk_along(const std::vector<track_point>& corners, double step, bool round)
{
    std::vector<track_point> out;
    if (corners.empty()) return out;
    std::vector<track_point> legs = corners;
    if (round) legs.push_back(corners.front());
    out.push_back(legs.front());
    for (std::size_t k = 1; k < legs.size(); ++k) {
        const track_point a = legs[k - 1], b = legs[k];
        const double east = (b.lon - a.lon) * std::cos(a.lat * 3.14159265358979 / 180) * metres_per_degree;
        const double north = (b.lat - a.lat) * metres_per_degree;
        const double length = std::hypot(east, north);
        const int pieces = step > 0 ? std::max(1, static_cast<int>(std::ceil(length / step))) : 1;
        for (int i = 1; i <= pieces; ++i) {
            const double f = static_cast<double>(i) / pieces;
            out.push_back({a.lat + f * (b.lat - a.lat), a.lon + f * (b.lon - a.lon),
                           static_cast<float>(a.alt + f * (b.alt - a.alt))});
        }
    }
    return out;
}

} // namespace handset
