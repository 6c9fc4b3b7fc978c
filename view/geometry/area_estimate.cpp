#include "view/geometry/area_estimate.h"

#include "view/geometry/correction.h"
#include "view/geometry/item_scope.h"
#include "view/geometry/projection.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <variant>
#include <vector>

namespace wayloom {

namespace {

// The buffers of one thread's estimates, reused from shape to shape.
struct estimator {
    polygon_pixel_counter counter;
    std::vector<pixel_pos> corners;
};

void estimate(const item_list& shape_list, t_shape& shape, estimator& work)
{
    shape.area = 0;
    shape.coverage = 0;
    if (shape.nodes.empty()) return;

    correct_nodes(shape_list, &shape, nullptr);
    view_state raster;
    surface_bounds fitted;
    update_shapeses(raster, shape_list, area_raster_size, area_raster_size, fitted, &shape,
                    nullptr, 0);
    const std::int32_t w = std::min(fitted.width, area_raster_size);
    const std::int32_t h = std::min(fitted.height, area_raster_size);
    if (w <= 0 || h <= 0) return;  // nothing to measure against

    work.corners.clear();
    for (const t_node& node : shape.nodes) work.corners.push_back(node.pixel);
    const long double count = static_cast<long double>(work.counter.count(work.corners, w, h));
    const long double cells = static_cast<long double>(w) * h;
    shape.area = (shape.max_lon - shape.min_lon) * (shape.max_lat - shape.min_lat) * count /
                 (cells + 1e-12L);
    shape.coverage = count / cells * 100;
}

} // namespace

void break_up(const item_list& shape_list, t_shape* shape)
{
    if (shape) {
        estimator work;
        estimate(shape_list, *shape, work);
        return;
    }
    // Shapes are measured independently, each writing only its own fields,
    // so they are spread over the machine's cores. A shape listed twice is
    // measured once: two workers must never write the same shape.
    std::vector<t_shape*> shapes;
    for (const list_entry& entry : shape_list.entries)
        if (t_shape* const* s = std::get_if<t_shape*>(&entry.object); s && *s) shapes.push_back(*s);
    std::sort(shapes.begin(), shapes.end());
    shapes.erase(std::unique(shapes.begin(), shapes.end()), shapes.end());

    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        estimator buffers;
        for (std::size_t i = next++; i < shapes.size(); i = next++)
            estimate(shape_list, *shapes[i], buffers);
    };
    const std::size_t workers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), shapes.size());
    std::vector<std::jthread> helpers;
    for (std::size_t i = 1; i < workers; ++i) helpers.emplace_back(work);
    work();
}

} // namespace wayloom
