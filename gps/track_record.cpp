#include "gps/track_record.h"

#include "gps/waypoint_record.h"

#include <cmath>
#include <cstring>

namespace wayloom::gps {

namespace {

constexpr std::size_t longest_ident = 64;
constexpr std::int32_t no_fix = 0x7FFFFFFF;
constexpr float not_valid_from = 1.0e24f;  // handsets send 1.0e25 for "not valid"

struct point_layout {
    int data_type;
    std::size_t size;
    std::size_t alt;        // 0: none
    std::size_t new_track;  // 0: none
};
constexpr point_layout point_layouts[] = {
    {300, 13, 0, 12}, {301, 21, 12, 20}, {302, 25, 12, 24}, {303, 17, 12, 0}, {304, 23, 12, 0},
};

const point_layout* point_layout_of(int data_type)
{
    for (const point_layout& l : point_layouts)
        if (l.data_type == data_type) return &l;
    return nullptr;
}

std::uint32_t u32_at(std::span<const std::uint8_t> r, std::size_t at)
{
    return static_cast<std::uint32_t>(r[at]) | static_cast<std::uint32_t>(r[at + 1]) << 8 |
           static_cast<std::uint32_t>(r[at + 2]) << 16 | static_cast<std::uint32_t>(r[at + 3]) << 24;
}

std::string string_at(std::span<const std::uint8_t> data, std::size_t at)
{
    std::string out;
    for (std::size_t i = at; i < data.size() && out.size() < longest_ident && data[i] != 0; ++i)
        out += static_cast<char>(data[i]);
    return out;
}

} // namespace

bool is_track_point_layout(int data_type) { return point_layout_of(data_type) != nullptr; }
bool is_track_header_layout(int data_type) { return data_type == 310 || data_type == 311 || data_type == 312; }
bool is_route_header_layout(int data_type) { return data_type >= 200 && data_type <= 202; }

std::optional<track_point_fields> decode_track_point(int data_type, std::span<const std::uint8_t> data)
{
    const point_layout* l = point_layout_of(data_type);
    if (!l || data.size() < l->size) return std::nullopt;
    track_point_fields p;
    const auto lat = static_cast<std::int32_t>(u32_at(data, 0));
    const auto lon = static_cast<std::int32_t>(u32_at(data, 4));
    p.valid = lat != no_fix && lon != no_fix;
    p.at = {static_cast<double>(semicircles_to_degrees(lon)), static_cast<double>(semicircles_to_degrees(lat))};
    if (l->alt) {
        const std::uint32_t bits = u32_at(data, l->alt);
        float alt;
        std::memcpy(&alt, &bits, 4);
        if (std::fabs(alt) < not_valid_from) p.alt = alt;  // also false for NaN
    }
    if (l->new_track) p.new_track = data[l->new_track] != 0;
    return p;
}

std::string decode_track_header(int data_type, std::span<const std::uint8_t> data)
{
    // D310 and D312: display flag, colour, then the ident.
    if (data_type == 310 || data_type == 312) return string_at(data, 2);
    return {};
}

route_header_fields decode_route_header(int data_type, std::span<const std::uint8_t> data)
{
    route_header_fields h;
    if ((data_type == 200 || data_type == 201) && !data.empty()) h.number = data[0];
    if (data_type == 202) h.ident = string_at(data, 0);
    return h;
}

void track_gatherer::start(std::string name) { tracks_.push_back({std::move(name), {}, {}}); }

void track_gatherer::header(const std::string& ident)
{
    header_name_ = item_name_of(ident, "");
    pieces_ = 1;
    start(header_name_.empty() ? "track-" + std::to_string(++unnamed_) : header_name_);
}

void track_gatherer::point(const track_point_fields& p)
{
    if (!p.valid) return;
    const bool empty = tracks_.empty() || tracks_.back().points.empty();
    if (tracks_.empty() || (p.new_track && !empty)) {
        if (header_name_.empty()) start("track-" + std::to_string(++unnamed_));
        else start(header_name_ + "-" + std::to_string(++pieces_));
    }
    tracks_.back().points.push_back({p.at, p.alt ? std::optional<double>(*p.alt) : std::nullopt});
}

std::vector<walked_track> track_gatherer::take()
{
    std::vector<walked_track> out = std::move(tracks_);
    tracks_.clear();
    return out;
}

std::string route_name(const route_header_fields& header, int running_number)
{
    if (!header.ident.empty()) {
        const std::string name = item_name_of(header.ident, "");
        if (!name.empty()) return name;
    }
    return "route-" + std::to_string(header.number.value_or(running_number));
}

} // namespace wayloom::gps
