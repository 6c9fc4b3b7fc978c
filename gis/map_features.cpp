#include "gis/map_features.h"

#include "model/map_units.h"
#include "view/geometry/ellipsoidal_area.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wayloom {

namespace {

double degrees(long double map_units) { return static_cast<double>(to_degrees(map_units)); }

bool same_place(const geo_point& a, const geo_point& b) { return a.lon == b.lon && a.lat == b.lat; }

// Twice the ring's area in square degrees, positive when it runs counter-clockwise.
double signed_area(const std::vector<geo_point>& ring)
{
    double sum = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        sum += (ring[j].lon - ring[i].lon) * (ring[j].lat + ring[i].lat);
    return sum;
}

void set_classes(const map_document& doc, const t_mapper& item, map_feature& f)
{
    f.classes.clear();
    for (const std::int32_t number : item.classes)
        if (const t_class* c = doc.class_by_number(number)) f.classes.push_back(as_utf8(c->name));
}

std::optional<double> altitude_of(const t_waypoint* w)
{
    if (!w || !has_altitude(w->alt)) return std::nullopt;
    return static_cast<double>(w->alt);
}

void shape_feature(const map_document& doc, const t_shape& shape, map_feature& f)
{
    f.name = as_utf8(shape.name.empty() ? "No-Name-" + std::to_string(shape.number) : shape.name);
    f.kind = shape.is_path() ? feature_kind::path : feature_kind::shape;
    f.positions.clear();
    for (const t_node& node : shape.nodes) f.positions.push_back({degrees(node.lon), degrees(node.lat)});
    const bool polygon = !shape.is_path();
    if (polygon && f.positions.size() > 1 && same_place(f.positions.front(), f.positions.back()))
        f.positions.pop_back();
    f.geometry = f.positions.size() == 1              ? feature_geometry::point
                 : polygon && f.positions.size() >= 3 ? feature_geometry::polygon
                                                      : feature_geometry::line;
    f.area_m2.reset();
    if (f.geometry == feature_geometry::polygon) {
        if (signed_area(f.positions) < 0) std::reverse(f.positions.begin(), f.positions.end());
        f.area_m2 = ellipsoidal_area(shape);
    }
    f.colour = shape.colour;
    f.border = shape.border;
    f.altitude.reset();
    set_classes(doc, shape, f);
}

} // namespace

std::string_view kind_name(feature_kind kind)
{
    switch (kind) {
    case feature_kind::waypoint: return "waypoint";
    case feature_kind::shape: return "shape";
    case feature_kind::path: return "path";
    case feature_kind::point: return "point";
    }
    return {};
}

void for_each_feature(const map_document& doc, feature_kind kind,
                      const std::function<void(const map_feature&)>& take)
{
    map_feature f;
    f.kind = kind;
    switch (kind) {
    case feature_kind::waypoint:
        for (const t_waypoint* w : doc.waypoints) {
            f.name = as_utf8(w->name);
            f.positions.assign(1, {static_cast<double>(w->lon), static_cast<double>(w->lat)});
            f.colour = w->colour;
            f.border = w->border;
            f.altitude = altitude_of(w);
            take(f);
        }
        return;
    case feature_kind::shape:
    case feature_kind::path:
        for (const auto& shape : doc.shapes) {
            if (shape->nodes.empty() || shape->is_path() != (kind == feature_kind::path)) continue;
            shape_feature(doc, *shape, f);
            take(f);
        }
        return;
    case feature_kind::point:
        for (const auto& set : doc.sets) {
            set_classes(doc, *set, f);
            for (const point_record& p : set->used()) {
                const t_waypoint* w = doc.waypoint(p.waypoint);
                f.name = as_utf8(p.name.empty() && w ? w->name : p.name);
                f.positions.assign(1, {degrees(p.lon), degrees(p.lat)});
                f.colour = p.colour;
                f.border = p.border;
                f.altitude = altitude_of(w);
                take(f);
            }
        }
        return;
    }
}

std::string colour_text(colour_value colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", red_of(colour), green_of(colour), blue_of(colour));
    return text;
}

std::optional<colour_value> colour_from_text(std::string_view text)
{
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t rgb = 0;
    for (const char c : text.substr(1)) {
        const int digit = c >= '0' && c <= '9' ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return std::nullopt;
        rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
    }
    return make_colour(rgb >> 16, rgb >> 8, rgb);
}

namespace {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t utf8_length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    const std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

} // namespace

std::string as_utf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = utf8_length(text, i)) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i++]);
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string_view cut_utf8(std::string_view text, std::size_t bytes)
{
    if (text.size() <= bytes) return text;
    // Back off the continuation bytes of a character the cut would split.
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    return text.substr(0, bytes);
}

} // namespace wayloom
