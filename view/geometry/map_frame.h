// Where map positions fall on the fitted drawing of the last projection, and
// back: what lets the surface draw at any zoom, put a waypoint that belongs
// to no drawn item where it belongs, and tell the position under the cursor.
#pragma once

#include "view/geometry/view_state.h"
#include "view/geometry/view_transform.h"

namespace wayloom {

struct item_list;
struct t_mapper;

struct map_frame {
    // The longitude correction the framed items carry, map units:
    // corrected = lon_offset + lon_factor × lon.
    long double lon_offset = 0, lon_factor = 1;
    // The projection's extent, ranges and fitted size (view_state).
    long double min_lon = 0, min_lat = 0, lon_range = 1, lat_range = 1;
    long double fit_width = 0, fit_height = 0;

    long double corrected(long double lon) const { return lon_offset + lon_factor * lon; }
    // The fitted-drawing pixel of a corrected longitude and a latitude.
    real_point fitted(long double corrected_lon, long double lat) const;
    // The longitude and latitude (map units) at a fitted-drawing pixel.
    struct position {
        long double lon = 0, lat = 0;
    };
    position at(real_point fitted) const;

    friend bool operator==(const map_frame&, const map_frame&) = default;
};

// The frame of the state's last projection. The correction is read back
// from the first framed item with two different longitudes; without one,
// the items' own correction rule gives it (a lone meridian keeps its
// longitude either way).
map_frame frame_of(const view_state& state, const item_list& shape_list);

} // namespace wayloom
