#include "gps/waypoint_record.h"

#include "gps/handset_idents.h"
#include "model/waypoint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace wayloom::gps {

namespace {

constexpr std::size_t longest_ident = 64;
constexpr float not_valid = 1.0e25f;  // an altitude, depth or proximity distance left unset
// The plain waypoint dot in the symbol numbers most layouts use (0 there is
// an anchor). D103 and D107 number their few symbols from the dot, 0.
constexpr std::uint16_t dot_symbol = 18;
constexpr std::uint8_t d108_default_colour = 0xFF;
constexpr std::uint8_t d109_default_colour = 0x1F;  // bits 0-4; the display bits 5-6 stay 0

std::int32_t int32_at(std::span<const std::uint8_t> r, std::size_t at)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(r[at]) | static_cast<std::uint32_t>(r[at + 1]) << 8 |
                                     static_cast<std::uint32_t>(r[at + 2]) << 16 |
                                     static_cast<std::uint32_t>(r[at + 3]) << 24);
}

struct position_at {
    std::size_t lat, lon;
};

position_at position_of(const record_reader& reader)
{
    if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109) return {24, 28};
    switch (reader.data_type) {
    case 150: return {9, 13};
    case 105: return {0, 4};
    case 106: return {14, 18};
    default: return {6, 10};
    }
}

// Where a layout keeps the symbol number, and in how many bytes (0: it has none).
struct symbol_field {
    std::size_t at, width;
};

symbol_field symbol_of(const record_reader& reader)
{
    if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109) return {4, 2};
    switch (reader.data_type) {
    case 101: return {62, 1};
    case 102:
    case 104: return {62, 2};
    case 105: return {8, 2};
    case 106: return {22, 2};
    case 154:
    case 155: return {124, 2};
    default: return {0, 0};
    }
}

void put32(std::vector<std::uint8_t>& r, std::size_t at, std::uint32_t v)
{
    for (std::size_t i = 0; i < 4; ++i) r[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void put_float(std::vector<std::uint8_t>& r, std::size_t at, float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    put32(r, at, bits);
}

} // namespace

std::int32_t degrees_to_semicircles(long double degrees)
{
    const long double s = std::round(degrees * 2147483648.0L / 180.0L);
    return static_cast<std::int32_t>(std::clamp(s, -2147483648.0L, 2147483647.0L));
}

long double semicircles_to_degrees(std::int32_t semicircles)
{
    const float factor = 180.0f / 2147483648.0f;
    return static_cast<long double>(semicircles) * static_cast<long double>(factor);
}

waypoint_fields decode_waypoint(const record_reader& reader, std::span<const std::uint8_t> data, int running_number)
{
    waypoint_fields w;
    const auto holds = [&](std::size_t offset, std::size_t length) { return offset + length <= data.size(); };
    const position_at at = position_of(reader);
    if (holds(at.lat, 4)) w.lat = semicircles_to_degrees(int32_at(data, at.lat));
    if (holds(at.lon, 4)) w.lon = semicircles_to_degrees(int32_at(data, at.lon));
    switch (reader.kind) {
    case reader_kind::d100:
        w.name.assign(reinterpret_cast<const char*>(data.data()), std::min<std::size_t>(6, data.size()));
        return w;
    case reader_kind::d105:
        w.name = std::to_string(running_number);
        return w;
    default:
        break;
    }
    if (holds(32, 4)) {
        float alt;
        std::memcpy(&alt, data.data() + 32, 4);
        // Handsets send 1e25 for no altitude; not-a-number or infinite bits
        // are none either (a saved map could not hold them).
        if (has_altitude(alt)) w.alt = alt;
    }
    const auto fixed = static_cast<std::size_t>(reader.size);
    if (data.size() <= fixed) {
        w.complete = false;
        return w;
    }
    // The ident and the comment, each ended by a NUL; the name is the ident.
    const std::span<const std::uint8_t> strings = data.subspan(fixed);
    for (std::size_t i = 0; i < strings.size() && i < longest_ident && strings[i] != 0; ++i)
        w.name += static_cast<char>(strings[i]);
    w.complete = std::count(strings.begin(), strings.end(), std::uint8_t{0}) >= 2;
    return w;
}

} // namespace wayloom::gps

namespace wayloom::gps {

std::vector<std::uint8_t> encode_waypoint(const record_reader& reader, const waypoint_fields& w)
{
    if (reader.kind == reader_kind::empty || reader.kind == reader_kind::ignore) return {};
    std::vector<std::uint8_t> r(static_cast<std::size_t>(reader.size), 0);
    const position_at at = position_of(reader);
    put32(r, at.lat, static_cast<std::uint32_t>(degrees_to_semicircles(w.lat)));
    put32(r, at.lon, static_cast<std::uint32_t>(degrees_to_semicircles(w.lon)));
    if (const symbol_field symbol = symbol_of(reader); symbol.width > 0) {
        r[symbol.at] = static_cast<std::uint8_t>(dot_symbol);
        if (symbol.width == 2) r[symbol.at + 1] = static_cast<std::uint8_t>(dot_symbol >> 8);
    }
    const std::string ident = handset_ident(reader, w.name);
    if (has_fixed_ident(reader)) {
        std::copy(ident.begin(), ident.end(), r.begin());
        return r;
    }
    int strings = 2;  // D106: ident and link ident
    if (reader.data_type == 105) strings = 1;
    if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109) {
        // ident, comment, facility, city, address, cross road
        strings = 6;
        if (reader.kind == reader_kind::d109) r[0] = 0x01;  // data packet type
        r[reader.kind == reader_kind::d108 ? 1 : 2] =
            reader.kind == reader_kind::d108 ? d108_default_colour : d109_default_colour;
        r[3] = reader.kind == reader_kind::d108 ? 0x60 : 0x70;  // attributes
        std::fill(r.begin() + 6, r.begin() + 24, 0xFF);        // no subclass
        put_float(r, 32, w.alt.value_or(not_valid));
        put_float(r, 36, not_valid);
        put_float(r, 40, not_valid);
        std::fill(r.begin() + 44, r.begin() + 48, ' ');  // state and country codes
        if (reader.kind == reader_kind::d109) put32(r, 48, 0xFFFFFFFF);  // no time en route
    }
    r.insert(r.end(), ident.begin(), ident.end());
    r.insert(r.end(), static_cast<std::size_t>(strings), 0);
    return r;
}

} // namespace wayloom::gps
