// The map as GIS features: what GeoJSON, KML and Shapefile writers write.
// Each waypoint, shape, path and point of a point set becomes one feature in
// longitude/latitude degrees (WGS 84) with the attributes GIS programs show.
#pragma once

#include "model/colour.h"
#include "model/map_document.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

enum class feature_kind { waypoint, shape, path, point };
enum class feature_geometry { point, line, polygon };

struct geo_point {
    double lon = 0;  // degrees, east positive
    double lat = 0;  // degrees, north positive
};

struct map_feature {
    std::string name;                  // UTF-8
    feature_kind kind = feature_kind::waypoint;
    feature_geometry geometry = feature_geometry::point;
    // A polygon's outer ring runs counter-clockwise and is not closed: the
    // first position is not repeated at the end.
    std::vector<geo_point> positions;
    colour_value colour = grey;
    colour_value border = black;
    std::vector<std::string> classes;  // class names, UTF-8
    std::optional<double> area_m2;     // a polygon shape's area on the WGS 84 ellipsoid
    std::optional<double> altitude;    // metres, for waypoints and the points of sets
};

// "waypoint", "shape", "path" or "point".
std::string_view kind_name(feature_kind kind);

// Calls `take` with each feature of that kind, in chain order; the feature
// is reused between calls. A shape or path of one node is a point and one of
// two nodes (a polygon) a line, so every geometry is valid; an item without
// nodes or points gives nothing. A polygon's repeated closing node is left out.
void for_each_feature(const map_document& doc, feature_kind kind,
                      const std::function<void(const map_feature&)>& take);

// Every kind, in the order waypoint, shape, path, point.
inline constexpr feature_kind all_kinds[] = {feature_kind::waypoint, feature_kind::shape,
                                             feature_kind::path, feature_kind::point};

// "#rrggbb", lower case.
std::string colour_text(colour_value colour);
// The colour of "#rrggbb" (either case), or nothing.
std::optional<colour_value> colour_from_text(std::string_view text);

// Text as UTF-8: valid UTF-8 is kept, any other byte is taken as Latin-1.
std::string as_utf8(std::string_view text);
// At most `bytes` bytes of UTF-8 text, never ending inside a character.
std::string_view cut_utf8(std::string_view text, std::size_t bytes);

} // namespace wayloom
