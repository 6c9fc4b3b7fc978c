#include "view/geometry/map_frame.h"

#include "model/map_units.h"
#include "view/geometry/correction.h"
#include "view/geometry/drawn_items.h"

#include <cmath>

namespace wayloom {

real_point map_frame::fitted(long double corrected_lon, long double lat) const
{
    return {(corrected_lon - min_lon) / lon_range * fit_width,
            fit_height - (lat - min_lat) / lat_range * fit_height};
}

map_frame::position map_frame::at(real_point fitted) const
{
    position p;
    const long double corrected_lon = min_lon + fitted.x / fit_width * lon_range;
    p.lon = lon_factor != 0 ? (corrected_lon - lon_offset) / lon_factor : corrected_lon;
    p.lat = min_lat + (fit_height - fitted.y) / fit_height * lat_range;
    return p;
}

namespace {

// The correction an item carries, when two of its positions differ in
// longitude: the pair furthest apart gives it most closely.
bool read_correction(const t_mapper& item, map_frame& frame)
{
    const const_position_span at = item.positions();
    const map_position* west = &at[0];
    const map_position* east = &at[0];
    for (const map_position& p : at) {
        if (p.lon < west->lon) west = &p;
        if (p.lon > east->lon) east = &p;
    }
    if (east->lon == west->lon) return false;
    frame.lon_factor = (east->corrected_lon - west->corrected_lon) / (east->lon - west->lon);
    frame.lon_offset = west->corrected_lon - frame.lon_factor * west->lon;
    return true;
}

} // namespace

map_frame frame_of(const view_state& state, const item_list& shape_list)
{
    map_frame frame;
    frame.min_lon = state.min_lon;
    frame.min_lat = state.min_lat;
    frame.lon_range = state.lon_range > 0 ? state.lon_range : 1;
    frame.lat_range = state.lat_range > 0 ? state.lat_range : 1;
    frame.fit_width = state.fit_width > 0 ? state.fit_width : 1;
    frame.fit_height = state.fit_height > 0 ? state.fit_height : 1;

    bool found = false;
    const map_position* first = nullptr;
    long double low_lat = 0, high_lat = 0;
    for_each_framed_item(state, shape_list, [&](const t_mapper& item, std::size_t) {
        if (found) return;
        found = read_correction(item, frame);
        for (const map_position& p : item.positions()) {
            if (!first) {
                first = &p;
                low_lat = high_lat = p.lat;
            }
            low_lat = std::fmin(low_lat, p.lat);
            high_lat = std::fmax(high_lat, p.lat);
        }
    });
    if (!found && first) {
        // Every framed position on one meridian: it keeps its longitude, and
        // the squeeze is the one at the items' middle latitude.
        const long double middle = low_lat + (high_lat - low_lat) / 2;
        frame.lon_factor = correction_polynomial(std::fabs(to_degrees(middle))) / 100;
        frame.lon_offset = first->corrected_lon - frame.lon_factor * first->lon;
    }
    return frame;
}

} // namespace wayloom
