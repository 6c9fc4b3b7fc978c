// Walking the items an operation works on: the given shape, else the given
// set, else the entries of the shape list. Internal to the view.
#pragma once

#include "model/item_list.h"
#include "model/point_set.h"
#include "model/shape.h"

#include <algorithm>
#include <cstddef>
#include <variant>

namespace wayloom::detail {

// Records in use; a set keeps spare records past point_count for reuse.
inline std::size_t used_points(const t_set& set)
{
    return set.point_count <= 0 ? 0 : std::min<std::size_t>(set.point_count, set.points.size());
}

inline bool has_positions(const t_shape& shape) { return !shape.nodes.empty(); }
inline bool has_positions(const t_set& set) { return used_points(set) > 0; }

// Calls visit(shape, set), exactly one of them non-null, for every item in
// scope that has at least one node or point. List entries that hold neither
// a shape nor a set are passed over.
template <class Visit>
void for_each_item(const item_list& shape_list, t_shape* shape, t_set* set, bool selected_only,
                   Visit&& visit)
{
    if (shape) {
        if (has_positions(*shape)) visit(shape, static_cast<t_set*>(nullptr));
        return;
    }
    if (set) {
        if (has_positions(*set)) visit(static_cast<t_shape*>(nullptr), set);
        return;
    }
    for (const list_entry& entry : shape_list.entries) {
        if (selected_only && !entry.selected) continue;
        if (t_shape* const* s = std::get_if<t_shape*>(&entry.object)) {
            if (*s && has_positions(**s)) visit(*s, static_cast<t_set*>(nullptr));
        } else if (t_set* const* p = std::get_if<t_set*>(&entry.object)) {
            if (*p && has_positions(**p)) visit(static_cast<t_shape*>(nullptr), *p);
        }
    }
}

// Extent grown from a first value on strictly greater and strictly smaller ones.
struct running_extent {
    bool started = false;
    long double min_lon = 0, max_lon = 0, min_lat = 0, max_lat = 0;

    void add(long double lon, long double lat)
    {
        if (!started) {
            started = true;
            min_lon = max_lon = lon;
            min_lat = max_lat = lat;
            return;
        }
        if (lon > max_lon) max_lon = lon;
        else if (lon < min_lon) min_lon = lon;
        if (lat > max_lat) max_lat = lat;
        else if (lat < min_lat) min_lat = lat;
    }
};

} // namespace wayloom::detail
