#include "view/geometry/correction.h"

#include "model/map_units.h"
#include "view/geometry/item_scope.h"

#include <cmath>

namespace wayloom {

namespace {

constexpr long double c0 = 99.834586L;
constexpr long double c1 = 0.043221L;
constexpr long double c2 = -0.017952L;
constexpr long double c3 = 5.71035432e-05L;

} // namespace

long double correction_polynomial(long double a)
{
    return c0 + a * (c1 + a * (c2 + a * c3));
}

void correct_nodes(const item_list& shape_list, t_shape* shape, t_set* set)
{
    detail::running_extent extent;
    detail::for_each_item(shape_list, shape, set, false, [&](t_mapper& item) {
        for (const map_position& p : item.positions()) extent.add(p.lon, p.lat);
    });
    if (!extent.started) return;

    const long double lon_ref = extent.min_lon + (extent.max_lon - extent.min_lon) / 2;
    const long double lat_ref = extent.min_lat + (extent.max_lat - extent.min_lat) / 2;
    const long double factor = correction_polynomial(std::fabs(to_degrees(lat_ref))) / 100;
    detail::for_each_item(shape_list, shape, set, false, [&](t_mapper& item) {
        for (map_position& p : item.positions()) p.corrected_lon = lon_ref + factor * (p.lon - lon_ref);
    });
}

} // namespace wayloom
