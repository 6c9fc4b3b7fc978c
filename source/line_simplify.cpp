#include "source/line_simplify.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <queue>

namespace wayloom {

namespace {

// WGS84.
constexpr double semi_major = 6378137.0;
constexpr double flattening = 1 / 298.257223563;
constexpr double e2 = flattening * (2 - flattening);  // first eccentricity squared
constexpr double radians_per_degree = std::numbers::pi / 180;

// Metres along the meridian from the equator to the latitude whose sine
// and cosine are given (the usual series, good to well under a millimetre;
// the multiple angles come from the one sine and cosine).
double meridian_arc(double lat, double s, double c)
{
    constexpr double e4 = e2 * e2, e6 = e4 * e2;
    constexpr double c0 = 1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256;
    constexpr double c2 = 3 * e2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024;
    constexpr double c4 = 15 * e4 / 256 + 45 * e6 / 1024;
    constexpr double c6 = 35 * e6 / 3072;
    const double s2 = 2 * s * c, c2a = c * c - s * s;
    const double s4 = 2 * s2 * c2a, c4a = c2a * c2a - s2 * s2;
    const double s6 = s4 * c2a + c4a * s2;
    return semi_major * (c0 * lat - c2 * s2 + c4 * s4 - c6 * s6);
}

// Square metres: the square of the distance from `p` to the segment from
// `a` to `b`.
double to_segment_squared(ground_plane::metres p, ground_plane::metres a, ground_plane::metres b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return ex * ex + ey * ey;
}

// A stretch of the line between two kept points, with its interior point
// farthest from the segment joining them. `key` is that distance, but never
// more than the key of the stretch it was split from: Douglas–Peucker at a
// tolerance reaches a stretch only when every stretch it came from was
// split, so the key is the largest tolerance at which its point is kept.
struct stretch {
    std::size_t first, last, farthest;
    double key;
    bool operator<(const stretch& other) const { return key < other.key; }
};

} // namespace

ground_plane::metres ground_plane::operator()(geo_point p) const
{
    double lon = std::remainder(p.lon - central_lon_, 360.0);
    const double lat = p.lat * radians_per_degree;
    const double s = std::sin(lat), c = std::cos(lat);
    const double prime_vertical = semi_major / std::sqrt(1 - e2 * s * s);
    return {lon * radians_per_degree * prime_vertical * c, meridian_arc(lat, s, c)};
}

double ground_distance(geo_point a, geo_point b)
{
    const ground_plane plane(a.lon);
    const auto pa = plane(a), pb = plane(b);
    return std::hypot(pa.x - pb.x, pa.y - pb.y);
}

simplified_line simplify_line(std::span<const geo_point> points, double tolerance, std::size_t most)
{
    simplified_line out;
    out.tolerance = std::max(tolerance, 0.0);
    const std::size_t n = points.size();
    most = std::max<std::size_t>(most, 2);
    if (n <= 2 || (out.tolerance == 0 && n <= most)) {
        for (std::size_t i = 0; i < n; ++i) out.kept.push_back(i);
        return out;
    }

    const ground_plane plane(points[n / 2].lon);
    std::vector<ground_plane::metres> at(n);
    for (std::size_t i = 0; i < n; ++i) at[i] = plane(points[i]);

    std::priority_queue<stretch> open;
    const auto push = [&](std::size_t first, std::size_t last, double ceiling) {
        if (last - first < 2) return;
        stretch s{first, last, first + 1, 0};
        double farthest2 = -1;
        for (std::size_t i = first + 1; i < last; ++i) {
            const double d2 = to_segment_squared(at[i], at[first], at[last]);
            if (d2 > farthest2) farthest2 = d2, s.farthest = i;
        }
        s.key = std::min(std::sqrt(farthest2), ceiling);
        open.push(s);
    };
    push(0, n - 1, INFINITY);

    // The stretches are split in falling order of key, so the points taken
    // are those Douglas–Peucker keeps at ever smaller tolerances; the first
    // key that finds no room left is the smallest tolerance that fits.
    struct taken {
        std::size_t index;
        double key;
    };
    std::vector<taken> split;
    const std::size_t room = most - 2;
    while (!open.empty() && open.top().key > out.tolerance) {
        const stretch s = open.top();
        if (split.size() == room) {
            out.tolerance = s.key;
            break;
        }
        open.pop();
        split.push_back({s.farthest, s.key});
        push(s.first, s.farthest, s.key);
        push(s.farthest, s.last, s.key);
    }
    out.kept = {0, n - 1};
    // Points split at exactly the tolerance are dropped again: they lie within it.
    for (const taken& t : split)
        if (t.key > out.tolerance) out.kept.push_back(t.index);
    std::sort(out.kept.begin(), out.kept.end());
    return out;
}

} // namespace wayloom
