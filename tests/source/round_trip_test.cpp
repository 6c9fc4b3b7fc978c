// A random map written and read back into an empty map must come back the
// same, but for what the format does not keep.
#include "source/number_text.h"
#include "source/reader.h"
#include "source/writer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace wayloom {
namespace {

class random_map {
public:
    explicit random_map(unsigned seed) : rng_(seed) {}

    void fill(map_document& doc)
    {
        const int waypoint_count = between(1, 40);
        for (int i = 0; i < waypoint_count; ++i) {
            t_waypoint& w = doc.create_waypoint();
            w.name = name();
            w.lon = decimal(-180, 180);
            w.lat = decimal(-90, 90);
            w.alt = decimal(-400, 9000);
        }
        const int class_count = between(0, 5);
        for (int i = 0; i < class_count; ++i) {
            t_class& c = *doc.create_class();
            c.name = name() + "-c" + std::to_string(i);  // references find the first of a name
            c.colour = make_colour(byte(), byte(), byte());
            c.border = make_colour(byte(), byte(), byte());
            doc.class_list.add(c.name, &c);
        }
        const int shape_count = between(0, 6);
        for (int i = 0; i < shape_count; ++i) {
            t_shape& s = doc.create_shape();
            s.name = name();
            s.shape_type = chance() ? s_path : s_polygon;
            s.colour = make_colour(byte(), byte(), byte());
            s.border = make_colour(byte(), byte(), byte());
            s.classes = classes(doc);
            const int nodes = between(1, 30);
            for (int n = 0; n < nodes; ++n) {
                const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(between(0, waypoint_count - 1))];
                s.nodes.push_back({w.number, w.lon * 360, 0, w.lat * 360, {}});
            }
        }
        const int set_count = between(0, 3);
        for (int i = 0; i < set_count; ++i) {
            t_set& set = doc.create_set();
            set.name = name();
            set.shape_type = s_points;
            set.classes = classes(doc);
            const int points = between(1, 20);
            for (int n = 0; n < points; ++n) {
                point_record& p = set.add_point(doc.new_point);
                const t_waypoint& w = *doc.waypoints[static_cast<std::size_t>(between(0, waypoint_count - 1))];
                p.name = name();
                p.waypoint = w.number;
                p.lon = w.lon * 360;
                p.lat = w.lat * 360;
                p.marker = chance() ? p_square : p_circle;
                p.show_name = chance();
                p.size = decimal(1, 40);
                p.colour = make_colour(byte(), byte(), byte());
                p.border = make_colour(byte(), byte(), byte());
            }
        }
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance() { return between(0, 1) == 1; }
    std::uint32_t byte() { return static_cast<std::uint32_t>(between(0, 255)); }

    // Lower-case names of word characters, some of them numbers.
    std::string name()
    {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789-_.";
        if (between(0, 9) == 0) return std::to_string(between(0, 99999));
        std::string out(1, letters[between(0, 25)]);
        const int length = between(0, 12);
        for (int i = 0; i < length; ++i) out += letters[between(0, sizeof letters - 2)];
        return out;
    }

    // A value with up to 12 significant digits, made the way the reader makes it.
    long double decimal(int low, int high)
    {
        const std::string text = std::to_string(between(low, high - 1)) + "." +
                                 std::to_string(between(0, 999999999));
        return *parse_number(text);
    }

    class_type classes(const map_document& doc)
    {
        class_type out;
        if (doc.classes.empty()) return out;
        const int count = between(0, 3);
        for (int i = 0; i < count; ++i) out.push_back(between(0, doc.class_counter() - 1));
        return out;
    }

    std::mt19937 rng_;
};

void expect_same_map(const map_document& a, const map_document& b, unsigned seed)
{
    SCOPED_TRACE("seed " + std::to_string(seed));
    ASSERT_EQ(a.waypoint_count(), b.waypoint_count());
    for (std::size_t i = 0; i < a.waypoints.size(); ++i) {
        const t_waypoint &x = *a.waypoints[i], &y = *b.waypoints[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.lon, y.lon);
        EXPECT_EQ(x.lat, y.lat);
        EXPECT_EQ(x.alt, y.alt);
    }
    ASSERT_EQ(a.class_counter(), b.class_counter());
    for (std::size_t i = 0; i < a.classes.size(); ++i) {
        EXPECT_EQ(a.classes[i]->name, b.classes[i]->name);
        EXPECT_EQ(a.classes[i]->colour, b.classes[i]->colour);
        EXPECT_EQ(a.classes[i]->border, b.classes[i]->border);
    }
    ASSERT_EQ(a.shape_count(), b.shape_count());
    for (std::size_t i = 0; i < a.shapes.size(); ++i) {
        const t_shape &x = *a.shapes[i], &y = *b.shapes[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.shape_type, y.shape_type);
        EXPECT_EQ(x.colour, y.colour);
        EXPECT_EQ(x.border, y.border);
        EXPECT_EQ(x.classes, y.classes);
        // A polygon whose last node repeats its first comes back without it.
        std::size_t expected = x.nodes.size();
        if (!x.is_path() && expected > 1 && x.nodes.back().lon == x.nodes.front().lon &&
            x.nodes.back().lat == x.nodes.front().lat)
            --expected;
        ASSERT_EQ(y.nodes.size(), expected) << x.name;
        for (std::size_t n = 0; n < expected; ++n) {
            EXPECT_EQ(x.nodes[n].waypoint, y.nodes[n].waypoint);
            EXPECT_EQ(x.nodes[n].lon, y.nodes[n].lon);
            EXPECT_EQ(x.nodes[n].lat, y.nodes[n].lat);
        }
    }
    ASSERT_EQ(a.set_count(), b.set_count());
    for (std::size_t i = 0; i < a.sets.size(); ++i) {
        const t_set &x = *a.sets[i], &y = *b.sets[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.classes, y.classes);
        std::int32_t expected = x.point_count;
        if (expected > 1 && x.points[static_cast<std::size_t>(expected - 1)].lon == x.points[0].lon &&
            x.points[static_cast<std::size_t>(expected - 1)].lat == x.points[0].lat)
            --expected;
        ASSERT_EQ(y.point_count, expected) << x.name;
        for (std::size_t n = 0; n < static_cast<std::size_t>(expected); ++n) {
            const point_record &p = x.points[n], &q = y.points[n];
            EXPECT_EQ(p.name, q.name);
            EXPECT_EQ(p.waypoint, q.waypoint);
            EXPECT_EQ(p.lon, q.lon);
            EXPECT_EQ(p.lat, q.lat);
            EXPECT_EQ(p.marker, q.marker);
            EXPECT_EQ(p.show_name, q.show_name);
            EXPECT_EQ(p.size, q.size);
            EXPECT_EQ(p.colour, q.colour);
            EXPECT_EQ(p.border, q.border);
        }
    }
    // Shapes are listed before sets after a read, whatever order they were made in.
    ASSERT_EQ(b.shape_list.size(), b.shapes.size() + b.sets.size());
    for (std::size_t i = 0; i < b.shapes.size(); ++i)
        EXPECT_EQ(b.shape_list.object_at<t_shape>(i), b.shapes[i].get());
}

TEST(RoundTrip, ARandomMapReadsBackTheSame)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        map_document original;
        random_map(seed).fill(original);
        update_map_source(original);
        map_document back;
        back.source.set_text(original.source.text());
        const read_report report = read_from_file(back);
        ASSERT_TRUE(report.ok()) << "seed " << seed << ": " << report.errors.front();
        expect_same_map(original, back, seed);
        if (HasFatalFailure()) return;
    }
}

} // namespace
} // namespace wayloom
