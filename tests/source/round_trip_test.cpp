// A random map written and read back into an empty map must come back the
// same, but for what the format does not keep.
#include "model/map_units.h"
#include "source/number_text.h"
#include "source/reader.h"
#include "source/writer.h"
#include "tests/read_text.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <concepts>
#include <random>
#include <string>
#include <tuple>

namespace wayloom {
namespace {

// What the format keeps of each record, for comparing.
auto kept(const t_waypoint& w) { return std::tie(w.name, w.lon, w.lat, w.alt); }
auto kept(const t_class& c) { return std::tie(c.name, c.colour, c.border); }
auto kept(const t_node& n) { return std::tie(n.waypoint, n.lon, n.lat); }
template <class Point> auto kept(Point& p)
    requires std::same_as<std::remove_const_t<Point>, point_record>
{
    return std::tie(p.name, p.waypoint, p.lon, p.lat, p.marker, p.show_name, p.size, p.colour, p.border);
}

class random_map {
public:
    explicit random_map(unsigned seed) : rng_(seed) {}

    void fill(map_document& doc)
    {
        for (int i = between(1, 40); i > 0; --i) {
            t_waypoint& w = doc.create_waypoint();
            std::tie(w.name, w.lon, w.lat, w.alt) =
                std::tuple{name(), decimal(-180, 180), decimal(-90, 90), decimal(-400, 9000)};
        }
        for (int i = between(0, 5); i > 0; --i) {
            t_class& c = *doc.create_class();
            // References find the first class of a name.
            std::tie(c.name, c.colour, c.border) = std::tuple{name() + "-c" + std::to_string(i), colour(), colour()};
            doc.class_list.add(c.name, &c);
        }
        for (int i = between(0, 6); i > 0; --i) {
            t_shape& s = doc.create_shape();
            std::tie(s.name, s.shape_type, s.colour, s.border, s.classes) =
                std::tuple{name(), chance() ? s_path : s_polygon, colour(), colour(), classes(doc)};
            for (int n = between(1, 30); n > 0; --n) {
                const t_waypoint& w = any_waypoint(doc);
                s.nodes.emplace_back(w.number, to_map_units(w.lon), to_map_units(w.lat));
            }
        }
        for (int i = between(0, 3); i > 0; --i) add_set(doc, between(1, 20));
    }

    void add_set(map_document& doc, int points)
    {
        t_set& set = doc.create_set();
        std::tie(set.name, set.shape_type, set.classes) = std::tuple{name(), s_points, classes(doc)};
        for (int n = points; n > 0; --n) {
            point_record& p = set.add_point(doc.new_point);
            const t_waypoint& w = any_waypoint(doc);
            kept(p) = std::tuple{name(), w.number, w.lon * 360, w.lat * 360, point_type(chance() ? p_square : p_circle),
                                 chance(), decimal(1, 40), colour(), colour()};
        }
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance() { return between(0, 1) == 1; }
    colour_value colour()
    {
        const auto byte = [this] { return static_cast<std::uint32_t>(between(0, 255)); };
        return make_colour(byte(), byte(), byte());
    }
    const t_waypoint& any_waypoint(const map_document& doc)
    {
        return *doc.waypoints[static_cast<std::size_t>(between(0, doc.waypoint_count() - 1))];
    }

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
        for (int i = between(0, 3); i > 0; --i) out.push_back(between(0, doc.class_counter() - 1));
        return out;
    }

    std::mt19937 rng_;
};

// A polygon or set whose last position repeats its first comes back without it.
template <class Record> std::size_t expected_count(const std::vector<Record>& records, std::size_t count, bool path)
{
    return !path && count > 1 && records[count - 1].lon == records[0].lon && records[count - 1].lat == records[0].lat
               ? count - 1
               : count;
}

void expect_same_map(const map_document& a, const map_document& b)
{
    ASSERT_EQ(a.waypoint_count(), b.waypoint_count());
    for (std::size_t i = 0; i < a.waypoints.size(); ++i) EXPECT_EQ(kept(*a.waypoints[i]), kept(*b.waypoints[i]));
    ASSERT_EQ(a.class_counter(), b.class_counter());
    for (std::size_t i = 0; i < a.classes.size(); ++i) EXPECT_EQ(kept(*a.classes[i]), kept(*b.classes[i]));
    ASSERT_EQ(a.shape_count(), b.shape_count());
    for (std::size_t i = 0; i < a.shapes.size(); ++i) {
        const t_shape &x = *a.shapes[i], &y = *b.shapes[i];
        EXPECT_EQ(std::tie(x.name, x.shape_type, x.colour, x.border, x.classes),
                  std::tie(y.name, y.shape_type, y.colour, y.border, y.classes));
        const std::size_t count = expected_count(x.nodes, x.nodes.size(), x.is_path());
        ASSERT_EQ(y.nodes.size(), count) << x.name;
        for (std::size_t n = 0; n < count; ++n) EXPECT_EQ(kept(x.nodes[n]), kept(y.nodes[n]));
    }
    ASSERT_EQ(a.set_count(), b.set_count());
    for (std::size_t i = 0; i < a.sets.size(); ++i) {
        const t_set &x = *a.sets[i], &y = *b.sets[i];
        EXPECT_EQ(std::tie(x.name, x.classes), std::tie(y.name, y.classes));
        const std::size_t count = expected_count(x.points, static_cast<std::size_t>(x.point_count), false);
        ASSERT_EQ(static_cast<std::size_t>(y.point_count), count) << x.name;
        for (std::size_t n = 0; n < count; ++n) EXPECT_EQ(kept(x.points[n]), kept(y.points[n]));
    }
    // Shapes are listed before sets after a read, whatever order they were made in.
    ASSERT_EQ(b.shape_list.size(), b.shapes.size() + b.sets.size());
    for (std::size_t i = 0; i < b.shapes.size(); ++i)
        EXPECT_EQ(b.shape_list.object_at<t_shape>(i), b.shapes[i].get());
}

TEST(round_trip, a_random_map_reads_back_the_same)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        map_document original;
        random_map(seed).fill(original);
        update_map_source(original);
        map_document back;
        back.source.set_text(original.source.text());
        const read_report report = read_from_file(back);
        ASSERT_TRUE(report.ok()) << report.errors.front();
        expect_same_map(original, back);
        if (HasFatalFailure()) return;
    }
}

// The command line writes a map straight from the model, the window from
// the regenerated held source: the files must be the same, byte for byte,
// also where the text crosses the blocks it is written in and where a large
// map is made in pieces (thousands of waypoints, shapes and set points).
TEST(round_trip, a_map_written_straight_from_the_model_is_the_saved_text)
{
    const testing::temp_folder folder;
    map_document doc;
    for (unsigned seed = 1; seed <= 400; ++seed) random_map(seed).fill(doc);
    random_map(401).add_set(doc, 5000);
    doc.source.set_text("held");
    std::string error;
    ASSERT_TRUE(write_map_file(doc, folder / "straight.wlm", &error)) << error;
    EXPECT_EQ(doc.source.text(), "held\r\n") << "the held source is left as it was";
    ASSERT_TRUE(save_map(doc, folder / "saved.wlm", &error)) << error;
    const std::string saved = testing::read_text(folder / "saved.wlm");
    EXPECT_GT(saved.size(), std::size_t{4} << 16);
    EXPECT_EQ(saved, doc.source.text());
    EXPECT_TRUE(testing::read_text(folder / "straight.wlm") == saved);
}

} // namespace
} // namespace wayloom
