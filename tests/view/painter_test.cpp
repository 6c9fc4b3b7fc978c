// Painting on a QImage with the offscreen platform: pixels land where the
// projection puts them.
#include "view/geometry/area_estimate.h"
#include "view/geometry/correction.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include "source/reader.h"
#include "test_maps.h"
#include "tests/offscreen_application.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace wayloom {
namespace {

using test::add_set;
using test::add_shape;
using test::select_all;

class painter_test : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::start_offscreen_application(); }
};

constexpr colour_value fill = make_colour(200, 40, 40);
constexpr colour_value outline = make_colour(0, 0, 160);
constexpr colour_value paper = make_colour(255, 255, 255);

colour_value at(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return make_colour(c.red(), c.green(), c.blue());
}

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(to_qcolor(paper));
    return image;
}

QImage painted(int width, int height, const std::function<void(QPainter&)>& paint)
{
    QImage image = blank(width, height);
    QPainter painter(&image);
    paint(painter);
    return image;
}

TEST_F(painter_test, a_read_map_is_drawn_where_the_projection_puts_it)
{
    map_document doc;
    view_state state;
    state.avail_width = 400;
    state.avail_height = 300;
    state.background = make_colour(250, 250, 240);
    const read_report report =
        read_map(doc, WAYLOOM_TEST_DATA "/view/squares.wlm", view_after_read(state));
    ASSERT_TRUE(report.ok());
    // Nothing is selected after a read: the surface fills the panel.
    EXPECT_EQ(state.surface, (surface_bounds{0, 0, 400, 300}));
    doc.shape_list.entries[0].selected = true;  // the square
    resize_window(state, doc.shape_list);

    const QImage image = render_map(state, doc.shape_list);
    ASSERT_EQ(image.size(), QSize(state.surface.width, state.surface.height));
    const t_shape& square = *doc.shape_list.object_at<t_shape>(0);
    const pixel_pos nw = square.nodes[3].pixel;  // top-left corner
    const pixel_pos se = square.nodes[1].pixel;
    EXPECT_EQ(nw, (pixel_pos{0, 0}));
    EXPECT_EQ(at(image, nw.x, nw.y), outline);
    EXPECT_EQ(at(image, nw.x + 1, nw.y + 1), fill);
    EXPECT_EQ(at(image, (nw.x + se.x) / 2, (nw.y + se.y) / 2), fill);
    // The east and south sides lie on x = width and y = height, just past
    // the surface: they are outlined on its last column and row.
    EXPECT_EQ(se, (pixel_pos{image.width(), image.height()}));
    EXPECT_EQ(at(image, se.x - 1, se.y - 1), outline);
    EXPECT_EQ(at(image, se.x - 1, se.y / 2), outline);
    EXPECT_EQ(at(image, se.x / 2, se.y - 1), outline);
    EXPECT_EQ(at(image, se.x - 2, se.y - 2), fill);
}

// A line along the southern limit, or down the eastern one, projects to
// y = height or x = width; it is drawn on the last row or column, while a
// line one step inside stays where it was.
TEST_F(painter_test, lines_on_the_far_edges_are_drawn_on_the_last_row_and_column)
{
    enum edge { south, east, west };
    struct row { const char* name; std::initializer_list<test::degrees> nodes; edge probe; };
    const row rows[] = {
        {"one parallel", {{10, 45}, {11, 45}}, south},
        {"south side", {{0, 0}, {3, 0}, {3, 1}}, south},
        {"east side", {{0, 0}, {3, 0}, {3, 1}}, east},
        {"one meridian, on the west edge", {{10, 44}, {10, 45}}, west},
    };
    for (const row& r : rows) {
        map_document doc;
        add_shape(doc, r.name, r.nodes, s_path).border = outline;
        select_all(doc);
        view_state state;
        state.background = paper;
        const surface_bounds surface = test::draw(doc, state, 200, 100);
        const QImage image = render_map(state, doc.shape_list);
        const QPoint probe = r.probe == south  ? QPoint(surface.width / 2, surface.height - 1)
                             : r.probe == east ? QPoint(surface.width - 1, surface.height / 2)
                                               : QPoint(0, surface.height / 2);
        EXPECT_EQ(at(image, probe.x(), probe.y()), outline) << r.name;
    }
    // A lone point sits on the bottom-left corner; its name's label starts
    // on the last row.
    map_document doc;
    point_record& lone = add_set(doc, "lone", {{3, 4}}).points[0];
    lone.colour = fill;
    lone.size = 1;
    lone.marker = 0;
    lone.name = "Gate";
    lone.show_name = true;
    select_all(doc);
    view_state state;
    state.background = paper;
    test::draw(doc, state, 200, 100);
    EXPECT_EQ(lone.pixel, (pixel_pos{0, 100}));
    EXPECT_EQ(at(render_map(state, doc.shape_list), 4, 99), fill);
}

TEST_F(painter_test, a_path_is_open_and_a_polygon_closed_and_filled)
{
    for (shape_kind kind : {s_path, s_polygon}) {
        map_document doc;
        t_shape& s = add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, kind);
        s.colour = fill;
        s.border = outline;
        select_all(doc);
        view_state state;
        state.background = paper;
        test::draw(doc, state, 100, 100);
        const QImage image = render_map(state, doc.shape_list);
        const bool path = kind == s_path;
        EXPECT_EQ(at(image, 50, 50), path ? paper : fill) << int(kind);
        // The closing leg runs down the west side, x = 0.
        EXPECT_EQ(at(image, 0, 50), path ? paper : outline) << int(kind);
        EXPECT_EQ(at(image, 50, 0), outline) << int(kind);  // north side, a leg of both
    }
}

struct marker_case {
    const char* name;
    point_type marker;
    std::vector<std::pair<QPoint, colour_value>> pixels;
};

TEST_F(painter_test, markers_of_size_ten_at_100_50)
{
    const marker_case cases[] = {
        {"square", p_square,
         {{{100, 50}, fill}, {{90, 40}, outline}, {{109, 59}, outline}, {{109, 40}, outline},
          {{91, 41}, fill}, {{110, 50}, paper}, {{100, 60}, paper}, {{89, 50}, paper},
          {{100, 39}, paper}}},
        {"circle", p_circle,
         {{{100, 50}, fill}, {{90, 40}, paper}, {{109, 59}, paper}, {{90, 50}, outline},
          {{89, 50}, paper}, {{110, 50}, paper}, {{100, 39}, paper}, {{100, 60}, paper}}},
        {"both is a circle", p_circle | p_square, {{{100, 50}, fill}, {{90, 40}, paper}}},
        {"neither", 0, {{{100, 50}, paper}, {{90, 40}, paper}}},
    };
    point_record point;
    point.size = 10;
    point.colour = fill;
    point.border = outline;
    for (const marker_case& c : cases) {
        const QImage image = painted(200, 100, [&](QPainter& p) { draw_point(p, 100, 50, c.marker, &point); });
        for (const auto& [where, colour] : c.pixels)
            EXPECT_EQ(at(image, where.x(), where.y()), colour)
                << c.name << " at " << where.x() << "," << where.y();
    }
}

TEST_F(painter_test, a_huge_marker_covers_the_surface_without_overflow)
{
    // Sizes the reader accepts, up to 2^31: the marker's rectangle must not
    // overflow (the sanitizers stop the test if it does).
    for (const long double size : {1e9L, 2147483647.0L}) {
        point_record point;
        point.size = size;
        point.colour = fill;
        point.border = outline;
        point.pixel = {100, 50};
        point.name = "big";
        const QImage image = painted(200, 100, [&](QPainter& p) {
            draw_point(p, 100, 50, p_square, &point);
            draw_label(p, point);
        });
        EXPECT_EQ(at(image, 0, 0), fill) << static_cast<double>(size);
        EXPECT_EQ(at(image, 199, 99), fill) << static_cast<double>(size);
    }
}

int label_pixels_in_column(const QImage& image, int x, colour_value label)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) count += at(image, x, y) == label;
    return count;
}

TEST_F(painter_test, labels_start_at_twice_the_size_and_stand_without_a_marker)
{
    constexpr colour_value label = make_colour(10, 220, 10);
    map_document doc;
    t_set& set = add_set(doc, "set", {{0, 0}});
    point_record& p = set.points[0];
    p.name = "Gate";
    p.size = 7.9L;
    p.marker = 0;
    p.show_name = true;
    p.colour = label;
    p.pixel = {100, 50};
    const auto paint_set = [&](QPainter& painter) { draw_set(painter, set, {0, 0, 200, 100}); };
    const QImage image = painted(200, 100, paint_set);
    EXPECT_EQ(label_pixels_in_column(image, 114, label), 0);
    EXPECT_GT(label_pixels_in_column(image, 115, label), 5);
    EXPECT_EQ(at(image, 100, 50), paper);  // no marker
    EXPECT_EQ(at(image, 130, 49), paper);  // the label's top is the point's row
    EXPECT_NE(at(image, 130, 50), paper);

    p.show_name = false;
    EXPECT_EQ(label_pixels_in_column(painted(200, 100, paint_set), 115, label), 0);
}

TEST_F(painter_test, nothing_is_painted_while_painting_or_reading)
{
    map_document doc;
    add_shape(doc, "s", {{0, 0}, {1, 0}, {1, 1}});
    select_all(doc);
    for (int guard = 0; guard < 3; ++guard) {
        view_state state;
        state.surface = {0, 0, 50, 50};
        state.background = fill;
        if (guard < 2) (guard ? state.reading_map : state.drawing) = true;
        bool drew = false;
        const QImage image = painted(50, 50, [&](QPainter& p) { drew = draw(p, state, doc.shape_list); });
        EXPECT_EQ(drew, guard == 2) << guard;
        EXPECT_EQ(at(image, 25, 25), guard == 2 ? fill : paper) << guard;
        EXPECT_TRUE(guard < 2 || !state.drawing) << "the guard is let go";
    }
}

TEST_F(painter_test, the_shape_being_built_is_drawn_alone)
{
    map_document doc;
    t_shape& other = add_shape(doc, "other", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    other.colour = outline;
    t_shape& building = add_shape(doc, "building", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    building.colour = fill;
    select_all(doc);
    view_state state;
    state.building_shape = &building;
    test::draw(doc, state, 100, 100);
    resize_window(state, doc.shape_list);
    const QImage image = render_map(state, doc.shape_list);
    EXPECT_EQ(at(image, 50, 50), fill);
}

TEST_F(painter_test, annotations_are_painted_after_the_items)
{
    map_document doc;
    view_state state;
    state.surface = {0, 0, 20, 20};
    int order = 0, ruler = 0, legend = 0;
    map_annotations extras{[&](QPainter&) { ruler = ++order; }, [&](QPainter&) { legend = ++order; }};
    render_map(state, doc.shape_list, extras);
    EXPECT_EQ(ruler, 1);
    EXPECT_EQ(legend, 2);
}

TEST_F(painter_test, cls_fills_the_surface_only)
{
    view_state state;
    state.surface = {5, 5, 30, 20};
    state.background = fill;
    const QImage image = painted(50, 50, [&](QPainter& p) { cls(p, state); });
    EXPECT_EQ(at(image, 29, 19), fill);
    EXPECT_EQ(at(image, 30, 10), paper);
    EXPECT_EQ(at(image, 10, 20), paper);
}

// The count is what the painter produces, filled and outlined on a raster,
// whatever the order of the corners: simple polygons (corners sorted by
// angle round the centre), corners in a random order, whose edges cross all
// over, and stars drawn in one stroke. The two differ by a pixel here and
// there along the outline, so a polygon may be off by a hundredth and a few
// pixels, one whose edges cross also by a tenth of its pen's pixels (thin
// slivers between crossing edges come close), and all of a kind together by
// a thousandth.
TEST_F(painter_test, area_count_agrees_with_the_painted_raster)
{
    std::mt19937 random(7);
    const auto real = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    using ring = std::vector<std::pair<double, double>>;  // on the unit disc
    const auto polar = [](double angle, double reach) { return std::pair(std::cos(angle) * reach, std::sin(angle) * reach); };
    struct kind {
        const char* name;
        double pen_share;  // of the pen's pixels the count may be off by
        std::function<ring(int)> make;
    };
    const kind kinds[] = {
        {"simple", 0, [&](int n) {
             std::vector<double> angles(static_cast<std::size_t>(n));
             for (double& a : angles) a = real(0, 2 * M_PI);
             std::sort(angles.begin(), angles.end());
             ring r;
             for (double a : angles) r.push_back(polar(a, real(0.2, 1)));
             return r;
         }},
        {"random order", 0.1, [&](int n) {
             ring r(static_cast<std::size_t>(n));
             for (auto& [x, y] : r) x = real(-1, 1), y = real(-1, 1);
             return r;
         }},
        // {5/2}, {7/3} .. {13/6}: each point joined to the nearly opposite ones.
        {"self-crossing star", 0.1, [&](int n) {
             const int points = 5 + 2 * (n % 5);
             const double turn = real(0, 2 * M_PI);
             ring r;
             for (int i = 0; i < points; ++i) r.push_back(polar(turn + 2 * M_PI * (i * (points / 2) % points) / points, 1));
             return r;
         }},
    };
    for (const auto& [name, pen_share, make] : kinds) {
        long long painted_total = 0, counted_total = 0;
        for (int round = 0; round < 40; ++round) {
            const int w = 100 + static_cast<int>(random() % 300);
            const int h = 100 + static_cast<int>(random() % 300);
            std::vector<pixel_pos> corners;
            QPolygon polygon;
            for (const auto& [x, y] : make(3 + static_cast<int>(random() % 60))) {
                corners.push_back({static_cast<std::int32_t>(w / 2 + x * w / 2), static_cast<std::int32_t>(h / 2 + y * h / 2)});
                polygon << QPoint(corners.back().x, corners.back().y);
            }
            const QImage image = painted(w + 2, h + 2, [&](QPainter& p) {
                p.setPen(QPen(to_qcolor(fill), 1));
                p.setBrush(to_qcolor(fill));
                p.drawPolygon(polygon, Qt::OddEvenFill);
            });
            long long painted = 0, pen = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) painted += at(image, x, y) == fill;
            for (std::size_t i = 0; i < corners.size(); ++i) {
                const pixel_pos a = corners[i], b = corners[(i + 1) % corners.size()];
                pen += std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)) + 1;
            }
            const long long counted = count_polygon_pixels(corners, w, h);
            EXPECT_NEAR(static_cast<double>(counted), static_cast<double>(painted),
                        0.01 * painted + 4 + pen_share * pen)
                << name << ", round " << round;
            painted_total += painted;
            counted_total += counted;
        }
        EXPECT_NEAR(static_cast<double>(counted_total), static_cast<double>(painted_total),
                    0.001 * painted_total) << name;
    }
}

} // namespace
} // namespace wayloom
