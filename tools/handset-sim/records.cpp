#include "records.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace handset {

namespace {

constexpr std::array layouts{100, 101, 102, 103, 104, 107, 150, 151, 152, 154, 105, 106, 155, 108, 109};

// Where each layout keeps what a waypoint needs. Offsets in bytes.
struct layout_shape {
    int number;
    std::size_t fixed;          // the fixed part of the record
    std::size_t position;       // latitude, then longitude, int32 semicircles
    int ident_field;            // > 0: fixed-width ident of this many bytes at offset 0
    std::size_t string_at;      // where the NUL-terminated strings start (0: none)
    int strings;                // how many strings follow the fixed part
    std::size_t altitude;       // float altitude at this offset (0: none)
};

// D105 and D106 carry a NUL-terminated ident after the fixed part; D155 has
// a six-byte ident like D100 but is read by hosts as a numbered record.
constexpr std::array<layout_shape, 15> shapes{{
    {100, 58, 6, 6, 0, 0, 0},    {101, 63, 6, 6, 0, 0, 0},   {102, 64, 6, 6, 0, 0, 0},
    {103, 60, 6, 6, 0, 0, 0},    {104, 65, 6, 6, 0, 0, 0},   {107, 65, 6, 6, 0, 0, 0},
    {150, 115, 9, 6, 0, 0, 0},   {151, 124, 6, 6, 0, 0, 0},  {152, 124, 6, 6, 0, 0, 0},
    {154, 126, 6, 6, 0, 0, 0},   {105, 10, 0, 0, 10, 1, 0},  {106, 24, 14, 0, 24, 2, 0},
    {155, 127, 6, 6, 0, 0, 0},   {108, 48, 24, 0, 48, 6, 32}, {109, 52, 24, 0, 52, 6, 32},
}};

const layout_shape* shape_of(int layout)
{
    for (const auto& s : shapes)
        if (s.number == layout) return &s;
    return nullptr;
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t get32(std::span<const std::uint8_t> in, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[at + static_cast<std::size_t>(i)]) << (8 * i);
    return v;
}

} // namespace

bool known_layout(int layout) { return shape_of(layout) != nullptr; }

std::span<const int> all_layouts() { return layouts; }

std::int32_t to_semicircles(double degrees)
{
    const double s = std::round(degrees * 2147483648.0 / 180.0);
    return static_cast<std::int32_t>(std::clamp(s, -2147483648.0, 2147483647.0));
}

double to_degrees(std::int32_t semicircles) { return semicircles * (180.0 / 2147483648.0); }

std::vector<std::uint8_t> encode_waypoint(const waypoint& w, int layout)
{
    const layout_shape& s = *shape_of(layout);
    std::vector<std::uint8_t> out(s.fixed, 0);
    if (s.ident_field > 0) {
        // Fixed-width idents are upper case, padded with spaces.
        for (int i = 0; i < s.ident_field; ++i) {
            const auto k = static_cast<std::size_t>(i);
            out[k] = static_cast<std::uint8_t>(k < w.name.size() ? w.name[k] : ' ');
        }
    }
    if (layout == 108) {
        out[3] = 0x60;  // attributes
        std::fill(out.begin() + 6, out.begin() + 24, 0xFF);  // subclass unused
    }
    if (layout == 109) {
        out[0] = 0x01;  // data packet type
        out[3] = 0x70;  // attributes
        std::fill(out.begin() + 6, out.begin() + 24, 0xFF);
    }
    put32(out, s.position, static_cast<std::uint32_t>(to_semicircles(w.lat)));
    put32(out, s.position + 4, static_cast<std::uint32_t>(to_semicircles(w.lon)));
    if (s.altitude) {
        std::uint32_t bits;
        std::memcpy(&bits, &w.alt, 4);
        put32(out, s.altitude, bits);
        const float unknown = 1.0e25f;  // depth and distance "not valid"
        std::memcpy(&bits, &unknown, 4);
        put32(out, s.altitude + 4, bits);
        put32(out, s.altitude + 8, bits);
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(s.altitude + 12),
                  out.begin() + static_cast<std::ptrdiff_t>(s.altitude + 16), ' ');
    }
    for (int i = 0; i < s.strings; ++i) {
        if (i == 0) out.insert(out.end(), w.name.begin(), w.name.end());
        out.push_back(0);
    }
    return out;
}

std::optional<waypoint> decode_waypoint(std::span<const std::uint8_t> data, int layout)
{
    const layout_shape* s = shape_of(layout);
    if (!s || data.size() < s->fixed) return std::nullopt;
    waypoint w;
    w.lat = to_degrees(static_cast<std::int32_t>(get32(data, s->position)));
    w.lon = to_degrees(static_cast<std::int32_t>(get32(data, s->position + 4)));
    if (s->altitude) {
        const std::uint32_t bits = get32(data, s->altitude);
        std::memcpy(&w.alt, &bits, 4);
        if (!(std::fabs(w.alt) < 1.0e24f)) w.alt = 0;
    }
    if (s->ident_field > 0) {
        w.name.assign(data.begin(), data.begin() + s->ident_field);
        while (!w.name.empty() && (w.name.back() == ' ' || w.name.back() == '\0')) w.name.pop_back();
    } else if (s->strings > 0) {
        const auto start = data.begin() + static_cast<std::ptrdiff_t>(s->string_at);
        w.name.assign(start, std::find(start, data.end(), std::uint8_t{0}));
    }
    return w;
}

} // namespace handset
