// The example farm as vector files: an SVG whose elements carry the items'
// colours and names, a PDF of the paper's size holding no image, and a page
// at 1:5000 whose map and ruler measure true and show the edge's points whole.
#include "model/map_document.h"
#include "print/qt/page_map.h"
#include "print/qt/page_painter.h"
#include "print/qt/vector_export.h"
#include "source/reader.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/projection.h"
#include "tests/offscreen_application.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

namespace wayloom {
namespace {

const std::string farm_file = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";

std::string hex(colour_value c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", red_of(c), green_of(c), blue_of(c));
    return text;
}

QByteArray file_bytes(const std::string& name)
{
    QFile file(QString::fromStdString(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What an SVG draws: its size, every fill colour and every text.
struct svg_content {
    QString width, height;
    std::set<std::string> fills, texts;
};

svg_content read_svg(const QByteArray& bytes)
{
    svg_content out;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"svg") {
            out.width = a.value("width").toString();
            out.height = a.value("height").toString();
        }
        if (a.hasAttribute("fill")) out.fills.insert(a.value("fill").toString().toStdString());
        if (xml.name() == u"text") out.texts.insert(xml.readElementText().toStdString());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

// Every fill colour ("r g b scn", components 0..1) in a PDF's content
// streams, which QPdfWriter compresses with zlib.
std::set<colour_value> pdf_fills(const QByteArray& pdf)
{
    std::set<colour_value> fills;
    const QRegularExpression fill(R"(([0-9.]+) ([0-9.]+) ([0-9.]+) scn)");
    const auto component = [](const QString& c) { return static_cast<std::uint8_t>(std::lround(c.toDouble() * 255)); };
    for (qsizetype end = 0;;) {
        const qsizetype start = pdf.indexOf(">>\nstream\n", end);
        if (start < 0) break;
        end = pdf.indexOf("endstream", start);
        const qsizetype object = pdf.lastIndexOf(" obj", start);
        if (!pdf.mid(object, start - object).contains("/FlateDecode")) continue;
        QByteArray packed = pdf.mid(start + 10, end - start - 10);
        // qUncompress wants the length first; a generous guess will do.
        packed.prepend(QByteArray::fromHex("00100000"));
        for (auto f = fill.globalMatch(QString::fromLatin1(qUncompress(packed))); f.hasNext();) {
            const auto m = f.next();
            fills.insert(make_colour(component(m.captured(1)), component(m.captured(2)), component(m.captured(3))));
        }
    }
    return fills;
}

class vector_page : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::start_offscreen_application(); }

    map_document doc;
    view_state view;
    page_order order;
    std::string folder = ::testing::TempDir();

    void SetUp() override
    {
        view.avail_width = 800;
        view.avail_height = 600;
        ASSERT_TRUE(read_map(doc, farm_file, view_after_read(view)).ok());
        for (list_entry& entry : doc.shape_list.entries) entry.selected = true;
        resize_window(view, doc.shape_list);
        order.title = "farm";
        order.scale = 5000;
        scale_ruler ruler;
        ruler.amount = "200";
        order.ruler = ruler;
        legend_state legend;
        legend.classification = legend_classification::shapes;
        analyse(legend, doc);
        for (legend_list_item& item : legend.legend_list) item.selected = true;
        order.legend = legend;
    }

    page_picture prepared()
    {
        prepared_page page = prepare_page(doc, view, order);
        EXPECT_TRUE(page.page) << page.error;
        return page.page ? *page.page : page_picture{};
    }

    // Every shape's area colour and every point's marker colour.
    std::vector<colour_value> item_colours() const
    {
        std::vector<colour_value> colours;
        for (const auto& shape : doc.shapes) colours.push_back(shape->colour);
        for (const auto& set : doc.sets)
            for (const point_record& point : set->points) colours.push_back(point.colour);
        return colours;
    }
};

TEST_F(vector_page, svg_page_holds_the_items_colours_names_ruler_and_legend)
{
    page_picture page = prepared();
    const std::string file = folder + "farm-page.svg";
    std::string error;
    ASSERT_TRUE(save_page(file, page, doc, &error)) << error;
    const svg_content svg = read_svg(file_bytes(file));
    // Whole page pixels: 794 × 1123 at 96 to the inch.
    EXPECT_EQ(svg.width, "210.079mm");
    EXPECT_EQ(svg.height, "297.127mm");
    for (colour_value c : item_colours()) EXPECT_TRUE(svg.fills.count(hex(c))) << hex(c);
    for (const auto& set : doc.sets)
        for (const point_record& point : set->points)
            EXPECT_EQ(svg.texts.count(point.name), point.show_name ? 1u : 0u) << point.name;
    for (const auto& shape : doc.shapes) EXPECT_TRUE(svg.texts.count(shape->name)) << "legend: " << shape->name;
    EXPECT_TRUE(svg.texts.count("farm   1:5000"));
    EXPECT_TRUE(svg.texts.count("200 Metres"));
}

TEST_F(vector_page, pdf_is_the_paper_with_vectors_and_no_image)
{
    struct row {
        const char* name;
        bool landscape;
        std::int64_t scale;
        const char* media_box;
    };
    // A4 in points, rounded to whole points by the writer. The farm is
    // taller than wide: on its side it fits at 1:10000.
    const row rows[] = {{"portrait", false, 5000, "/MediaBox [0 0 595.000000 842.000000]"},
                        {"landscape", true, 10000, "/MediaBox [0 0 842.000000 595.000000]"}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        order.landscape = r.landscape;
        order.scale = r.scale;
        page_picture page = prepared();
        const std::string file = folder + "farm-page-" + r.name + ".pdf";
        std::string error;
        ASSERT_TRUE(save_page(file, page, doc, &error)) << error;
        const QByteArray pdf = file_bytes(file);
        EXPECT_TRUE(pdf.contains(r.media_box));
        EXPECT_EQ(pdf.count("/MediaBox"), 1) << "one page";
        EXPECT_FALSE(pdf.contains("/Subtype /Image")) << "the map is vectors, not a picture";
        const auto fills = pdf_fills(pdf);
        for (colour_value c : item_colours()) EXPECT_TRUE(fills.count(c)) << hex(c);
    }
}

// At 1:5000 a millimetre on paper is 5 metres: the map's box and the fitted
// drawing are the ground over 5000, and a 500-foot ruler's ticks stand
// 30.48 mm apart in the file, not on a whole-pixel grid.
TEST_F(vector_page, true_scale_measures_on_the_page)
{
    order.unit.system = measurement_system::imperial;
    order.unit.imperial = imperial_unit::feet;
    order.ruler->amount = "500";
    page_picture page = prepared();
    const ground_size ground = ground_of(page.view.lon_range, page.view.lat_range, order.unit);
    EXPECT_NEAR(page.plan.map.width, ground.width / 5000, 1e-6L);
    EXPECT_NEAR(page.plan.map.height, ground.height / 5000, 1e-6L);
    EXPECT_NEAR(page.view.fit_width / page_detail / page_pixels(page.plan.map.width), 1, 0.0005);
    EXPECT_NEAR(page.view.fit_height / page_detail / page_pixels(page.plan.map.height), 1, 0.0005);
    const std::string file = folder + "farm-ruler.svg";
    std::string error;
    ASSERT_TRUE(save_page(file, page, doc, &error)) << error;
    // The ticks: the file's only lines straight down, one bar's thickness long.
    std::vector<double> ticks;
    const QRegularExpression line(R"(points="([-0-9.]+),([-0-9.]+) ([-0-9.]+),([-0-9.]+) ")");
    for (auto m = line.globalMatch(QString::fromUtf8(file_bytes(file))); m.hasNext();) {
        const auto l = m.next();
        if (l.captured(1) == l.captured(3) && l.captured(4).toDouble() - l.captured(2).toDouble() == ruler_thickness)
            ticks.push_back(l.captured(1).toDouble());
    }
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_NEAR(static_cast<double>(page_millimetres(ticks[1] - ticks[0])), 30.48, 0.02);

    order.scale = 1000;
    const prepared_page too_small = prepare_page(doc, view, order);
    EXPECT_FALSE(too_small.page);
    EXPECT_EQ(too_small.error.rfind("at 1:1000 the map needs ", 0), 0u) << too_small.error;
}

// Nothing on a page is cut at the map's edge, on any device: the fence's
// last post lies on the map's east edge, its marker and label past it.
TEST_F(vector_page, markers_and_labels_on_the_map_edge_are_whole)
{
    page_picture page = prepared();
    QImage image(794, 1123, QImage::Format_RGB32);  // a4 at 96 dots to the inch
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint_page(painter, page, doc);
    painter.end();
    const page_box& map = page.plan.map;
    int dark = 0;
    for (int x = static_cast<int>(page_pixels(map.x + map.width)) + 2, end = x + 30; x < end; ++x)
        for (int y = static_cast<int>(page_pixels(map.y)); y < page_pixels(map.y + map.height); ++y)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 3);
}

} // namespace
} // namespace wayloom
