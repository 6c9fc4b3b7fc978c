// Walking the items an operation works on: the given shape, else the given
// set, else the entries of the shape list. Internal to the view.
#pragma once

#include "model/item_list.h"
#include "model/point_set.h"
#include "model/shape.h"

namespace wayloom::detail {

// Calls visit(item) for every item in scope that has at least one node or
// point. List entries that hold neither a shape nor a set are passed over.
template <class Visit>
void for_each_item(const item_list& shape_list, t_shape* shape, t_set* set, bool selected_only,
                   Visit&& visit)
{
    if (t_mapper* given = shape ? static_cast<t_mapper*>(shape) : set) {
        if (!given->positions().empty()) visit(*given);
        return;
    }
    for (const list_entry& entry : shape_list.entries) {
        if (selected_only && !entry.selected) continue;
        t_mapper* item = mapper_of(entry);
        if (item && !item->positions().empty()) visit(*item);
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
