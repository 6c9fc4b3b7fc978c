// What a map holds as text, one line per object with every field a map
// file keeps: for comparing a read with what is expected of it.
#pragma once

#include "model/map_document.h"
#include "model/map_units.h"

#include <charconv>
#include <string>

namespace wayloom::testing {

// 15 significant digits, whatever the locale.
inline std::string number_text(long double v)
{
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 15).ptr};
}

inline std::string described(const map_document& doc)
{
    const auto rgb = [](colour_value c) {
        return std::to_string(red_of(c)) + "," + std::to_string(green_of(c)) + "," + std::to_string(blue_of(c));
    };
    const auto at = [](std::int32_t n, long double lon, long double lat) {
        return " " + std::to_string(n) + ":" + number_text(to_degrees(lon)) + "," + number_text(to_degrees(lat));
    };
    const auto classes = [](const t_mapper& item) {
        std::string out;
        for (const std::int32_t c : item.classes) out += " class " + std::to_string(c);
        return out;
    };
    std::string out;
    for (const auto& w : doc.waypoints)
        out += "waypoint " + w->name + " " + number_text(w->lon) + " " + number_text(w->lat) + " " +
               number_text(w->alt) + "\n";
    for (const auto& c : doc.classes) out += "class " + c->name + " " + rgb(c->colour) + " " + rgb(c->border) + "\n";
    for (const auto& s : doc.shapes) {
        out += (s->is_path() ? "path " : "shape ") + s->name + " " + rgb(s->colour) + " " + rgb(s->border) + classes(*s);
        for (const t_node& n : s->nodes) out += at(n.waypoint, n.lon, n.lat);
        out += "\n";
    }
    for (const auto& s : doc.sets) {
        out += "set " + s->name + (s->shape_type == s_points ? "" : " (not points)") + classes(*s) + "\n";
        for (std::int32_t i = 0; i < s->point_count; ++i) {
            const point_record& p = s->points[static_cast<std::size_t>(i)];
            out += "  point " + p.name + (p.marker & p_square ? " square " : p.marker & p_circle ? " circle " : " default ") +
                   number_text(p.size) + (p.show_name ? " named " : " unnamed ") + rgb(p.colour) + " " +
                   rgb(p.border) + at(p.waypoint, p.lon, p.lat) + "\n";
        }
    }
    out += "listed " + std::to_string(doc.waypoints_list.size()) + " " + std::to_string(doc.class_list.size()) +
           " " + std::to_string(doc.shape_list.size()) + "\n";
    return out;
}

} // namespace wayloom::testing
