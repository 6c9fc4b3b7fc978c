// Ground distances between positions given in degrees, and Douglas–Peucker
// simplification of a walked line in those distances, so that a track of
// thousands of points fits the nodes a map file holds.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace wayloom {

struct geo_point {
    double lon = 0;  // degrees, east positive
    double lat = 0;  // degrees, north positive
};

// Metres east and north of a meridian on the WGS84 ellipsoid: each point is
// placed by its own latitude's scales (a sinusoidal projection), so lengths
// along a parallel and along the meridian are true, and a line of a few
// kilometres is measured to a part in ten thousand. Longitudes are taken
// across the antimeridian the short way.
class ground_plane {
public:
    explicit ground_plane(double central_lon) : central_lon_(central_lon) {}
    struct metres {
        double x = 0, y = 0;
    };
    metres operator()(geo_point p) const;

private:
    double central_lon_;
};

// Metres between two points on the ground, good to a part in ten thousand
// for the short distances of a field or a walk.
double ground_distance(geo_point a, geo_point b);

struct simplified_line {
    std::vector<std::size_t> kept;  // indexes of the points kept, rising; the first and last among them
    double tolerance = 0;           // metres: every dropped point lies within this of the kept line
};

// Keeps the first and the last point and those Douglas–Peucker keeps at the
// smallest tolerance of at least `tolerance` metres that leaves at most
// `most` points (2 at the least). A line that already fits keeps every point
// when no tolerance is asked for (`tolerance` 0). Distances are to the kept
// segment, not to its line, so a track that doubles back is measured right.
simplified_line simplify_line(std::span<const geo_point> points, double tolerance, std::size_t most);

} // namespace wayloom
