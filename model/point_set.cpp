#include "model/point_set.h"

#include <algorithm>

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

std::size_t used_points(const t_set& set)
{
    return set.point_count <= 0 ? 0 : std::min<std::size_t>(set.point_count, set.points.size());
}

std::span<point_record> t_set::used() { return std::span(points).first(used_points(*this)); }

std::span<const point_record> t_set::used() const { return std::span(points).first(used_points(*this)); }

} // namespace wayloom
