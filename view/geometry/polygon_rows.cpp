#include "view/geometry/polygon_rows.h"

namespace wayloom::detail {

void edge_table::build(std::span<const pixel_pos> corners, bool closed, std::int32_t height)
{
    edges.clear();
    first_row = 0;
    last_row = -1;
    if (corners.empty() || height <= 0) return;
    // A lone corner is a dot: an edge of no length.
    const std::size_t count = closed || corners.size() == 1 ? corners.size() : corners.size() - 1;
    for (std::size_t i = 0; i < count; ++i)
        edges.push_back(make_edge(corners[i], corners[(i + 1) % corners.size()]));
    std::sort(edges.begin(), edges.end(), [](const pixel_edge& a, const pixel_edge& b) { return a.y0 < b.y0; });
    double bottom = edges.front().y0;
    for (const pixel_edge& e : edges) bottom = std::max(bottom, e.y1);
    first_row = std::max<std::int64_t>(0, static_cast<std::int64_t>(edges.front().y0));
    last_row = std::min<std::int64_t>(height - 1, static_cast<std::int64_t>(bottom));
}

} // namespace wayloom::detail
