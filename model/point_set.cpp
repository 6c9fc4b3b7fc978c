#include "model/point_set.h"

namespace wayloom {

point_record& t_set::add_point(const point_defaults& defaults)
{
    if (point_count == capacity()) points.emplace_back();
    point_record& p = points[static_cast<std::size_t>(point_count++)];
    p = point_record{};
    p.marker = defaults.marker;
    p.show_name = defaults.show_name;
    p.size = defaults.size;
    return p;
}

} // namespace wayloom
