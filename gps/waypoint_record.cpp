#include "gps/waypoint_record.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace wayloom::gps {

namespace {

constexpr std::size_t longest_ident = 64;

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

} // namespace

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
        // Not-a-number or infinite bits are no altitude: the map file could
        // not hold them, and a saved map would not read back.
        if (std::isfinite(alt)) w.alt = alt;
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
