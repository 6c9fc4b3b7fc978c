// The legend painted on images with the offscreen platform: the block, the
// swatches and the text land where the layout says.
#include "annotations/qt/legend_painter.h"
#include "model/map_document.h"
#include "view/map_painter.h"
#include "tests/offscreen_application.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace wayloom {
namespace {

constexpr colour_value outside = make_colour(100, 100, 100);
constexpr colour_value meadow = make_colour(10, 200, 10);

class legend_painter : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::start_offscreen_application(); }

    map_document doc;
    legend_state legend;
    QImage image{300, 200, QImage::Format_RGB32};

    void SetUp() override
    {
        for (const auto& [name, colour] : {std::pair{"meadow", meadow}, {"North_Field", make_colour(0, 0, 250)}}) {
            t_shape& shape = doc.create_shape();
            shape.name = name;
            shape.colour = colour;
            doc.add_item(name, &shape, nullptr);
        }
        legend.classification = legend_classification::shapes;
        analyse(legend, doc);
        for (legend_list_item& item : legend.legend_list) item.selected = true;
        image.fill(to_qcolor(outside));
        update_legend_on(legend, doc, &image);
    }

    colour_value at(int x, int y) const
    {
        const QColor c = image.pixelColor(x, y);
        return make_colour(c.red(), c.green(), c.blue());
    }
    bool text_in(colour_value text, int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (at(x, y) == text) return true;
        return false;
    }
};

TEST_F(legend_painter, block_swatches_and_white_text_on_black)
{
    const std::int32_t h = legend.layout.entries[0].text_height;
    ASSERT_GT(h, 4);
    EXPECT_EQ(legend.layout.height, 2 * h - 1);
    const int x = 20, y = 30;
    QPainter painter(&image);
    draw_legend(painter, legend, x, y, black);
    painter.end();
    EXPECT_FALSE(legend.busy);

    const int right = x + legend.layout.width, bottom = y + legend.layout.height;
    EXPECT_EQ(at(right - 1, y), black);
    EXPECT_EQ(at(right, y), outside) << "the block ends at its width";
    EXPECT_EQ(at(x, bottom), outside) << "the block ends at its height";
    // First swatch: h wide, from h/4 below the line top to h/4 above its bottom.
    EXPECT_EQ(at(x, y + h / 4), meadow);
    EXPECT_EQ(at(x + h - 1, y + h - h / 4 - 1), meadow);
    EXPECT_EQ(at(x, y + h / 4 - 1), black);
    EXPECT_EQ(at(x + h, y + h / 4), black);
    EXPECT_EQ(at(x, y + h + h / 4), make_colour(0, 0, 250)) << "second line";
    // White text after the swatch and its gap, none over the swatch.
    EXPECT_TRUE(text_in(make_colour(255, 255, 255), x + h + h / 2, y, right, bottom));
    EXPECT_FALSE(text_in(make_colour(255, 255, 255), x, y, x + h + h / 2, bottom));
}

TEST_F(legend_painter, nothing_is_drawn_inside_a_drawing)
{
    legend.busy = true;
    QPainter painter(&image);
    draw_legend(painter, legend, 0, 0, black);
    painter.end();
    EXPECT_EQ(at(0, 0), outside);
    EXPECT_TRUE(legend.busy) << "the outer drawing clears it";
}

TEST_F(legend_painter, the_legend_alone_is_its_own_size)
{
    const QImage alone = legend_image(legend, make_colour(255, 255, 255));
    EXPECT_EQ(alone.size(), QSize(legend.layout.width, legend.layout.height));
    EXPECT_EQ(alone.pixelColor(0, legend.layout.entries[0].text_height / 4), to_qcolor(meadow));

    for (legend_list_item& item : legend.legend_list) item.selected = false;
    update_legend_on(legend, doc, &image);
    EXPECT_TRUE(legend_image(legend, black).isNull()) << "no entries, nothing to save";
}

TEST_F(legend_painter, the_font_takes_name_size_and_bold)
{
    const QFont base("DejaVu Sans", 9);
    const QFont plain = legend_qfont({"", 14, false}, base);
    EXPECT_EQ(std::tuple(plain.family(), plain.pointSize(), plain.bold()),
              std::tuple(QString("DejaVu Sans"), 14, false));
    const QFont bold = legend_qfont({"DejaVu Serif", 0, true}, base);
    EXPECT_EQ(std::tuple(bold.family(), bold.pointSize(), bold.bold()),
              std::tuple(QString("DejaVu Serif"), 9, true));
}

} // namespace
} // namespace wayloom
