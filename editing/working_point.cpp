#include "editing/working_point.h"

#include "model/point_set.h"

#include <algorithm>

namespace wayloom {

working_point working_point_from(const point_record& record)
{
    return {record.name,   record.hint,      record.marker,   record.size,
            record.colour, record.border,    record.show_name, record.waypoint,
            false};
}

void match_working_points(std::vector<working_point>& working, const t_set& set)
{
    const std::size_t count = used_points(set);
    if (working.size() > count) working.resize(count);
    while (working.size() < count) working.push_back(working_point_from(set.points[working.size()]));
}

} // namespace wayloom
