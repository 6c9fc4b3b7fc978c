// Small maps built in code for the view tests. Positions are given in
// degrees and stored in map units, as the reader stores them.
#pragma once

#include "model/map_document.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"
#include "view/geometry/view_state.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace wayloom::test {

using degrees = std::pair<long double, long double>;  // longitude, latitude

inline t_shape& add_shape(map_document& doc, const std::string& name,
                          std::initializer_list<degrees> corners, shape_kind kind = s_polygon)
{
    t_shape& shape = doc.create_shape();
    shape.name = name;
    shape.shape_type = kind;
    for (const auto& [lon, lat] : corners) {
        t_node node;
        node.lon = node.corrected_lon = lon * 360;
        node.lat = lat * 360;
        shape.nodes.push_back(node);
    }
    doc.add_item(name, &shape, nullptr);
    return shape;
}

inline t_set& add_set(map_document& doc, const std::string& name,
                      std::initializer_list<degrees> points)
{
    t_set& set = doc.create_set();
    set.name = name;
    set.shape_type = s_points;
    for (const auto& [lon, lat] : points) {
        point_record& p = set.add_point(point_defaults{});
        p.lon = p.corrected_lon = lon * 360;
        p.lat = lat * 360;
    }
    doc.add_item(name, nullptr, &set);
    return set;
}

inline void select_all(map_document& doc)
{
    for (list_entry& entry : doc.shape_list.entries) entry.selected = true;
}

// Correction and projection as after a read, in a panel of the given size.
inline surface_bounds draw(map_document& doc, view_state& state, std::int32_t width = 800,
                           std::int32_t height = 600, std::int32_t border = 0)
{
    state.avail_width = width;
    state.avail_height = height;
    state.set_map_border(border);
    correct_nodes(doc.shape_list, nullptr, nullptr);
    update_shapes(state, doc.shape_list, nullptr, nullptr);
    return state.surface;
}

// Every item selected, then drawn as draw() draws it, on a fresh view.
struct drawing {
    view_state state;
    surface_bounds surface;
};
inline drawing draw_all(map_document& doc, std::int32_t width = 800, std::int32_t height = 600,
                        std::int32_t border = 0)
{
    select_all(doc);
    drawing out;
    out.surface = draw(doc, out.state, width, height, border);
    return out;
}

} // namespace wayloom::test
