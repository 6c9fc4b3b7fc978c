// The legend window on the offscreen platform: its list, Plonk and the
// drawing on the map, the nudges, the font and colour choosers and Save.
#include "annotations/qt/legend_form.h"
#include "model/map_document.h"
#include "view/map_painter.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace wayloom;

namespace {

constexpr colour_value pasture = make_colour(20, 180, 20);
constexpr colour_value red = make_colour(255, 0, 0);

colour_value pixel(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return make_colour(c.red(), c.green(), c.blue());
}

} // namespace

class legend_form_test : public QObject {
    Q_OBJECT

    map_document doc;
    view_state view;
    QWidget canvas;
    std::unique_ptr<Tlegend_form> form;

private slots:
    void init()
    {
        doc.demolish();
        for (const auto& [name, colour] : {std::pair{"pasture", pasture}, {"water", make_colour(0, 0, 200)}}) {
            t_class& c = *doc.create_class();
            c.name = name;
            c.colour = colour;
            doc.class_list.add(name, &c);
        }
        for (const auto& [name, in] : {std::pair{"meadow", 0}, {"pond", 1}, {"North_Field", 0}}) {
            t_shape& shape = doc.create_shape();
            shape.name = name;
            shape.classes = {in};
            doc.add_item(name, &shape, nullptr);
        }
        view = {};
        view.fit_width = 400;
        view.fit_height = 300;
        form = std::make_unique<Tlegend_form>(doc, view, &canvas);
        form->show();
    }
    void cleanup() { form.reset(); }

    void showing_lists_classes_and_the_radio_lists_shapes()
    {
        QCOMPARE(form->legend_list->count(), 2);
        QCOMPARE(form->legend_list->item(1)->text(), QString("water"));
        form->shapes_radio->click();
        QCOMPARE(form->legend_list->count(), 3);
        QCOMPARE(form->legend_list->item(2)->text(), QString("North_Field"));
        QCOMPARE(form->windowTitle(), QString("legend_form"));
        QVERIFY(!form->change_colour_button->isEnabled());
    }

    void plonk_draws_the_legend_on_the_map()
    {
        form->legend_list->item(0)->setSelected(true);
        form->legend.x = 30;
        form->legend.y = 40;
        QSignalSpy resized(form.get(), &Tlegend_form::resize_map);
        form->plonk_button->click();
        QVERIFY(form->plonk_button->isChecked() && form->legend.on_map);
        QCOMPARE(resized.count(), 1);
        QCOMPARE(form->legend.count(), 1);
        // The preview shows the legend Plonk measured.
        QCOMPARE(form->legend_paintbox->size(), QSize(form->legend.layout.width, form->legend.layout.height));
        const QImage preview = form->legend_paintbox->grab().toImage();
        QCOMPARE(preview.pixelColor(0, form->legend.layout.entries[0].text_height / 2), to_qcolor(pasture));

        QImage map(400, 300, QImage::Format_RGB32);
        map.fill(Qt::white);
        QPainter painter(&map);
        form->draw_on_map(painter);
        painter.end();
        const std::int32_t h = form->legend.layout.entries[0].text_height;
        QCOMPARE(pixel(map, 30, 40 + h / 4), pasture);
        QCOMPARE(pixel(map, 29, 40 + h / 4), make_colour(255, 255, 255));

        // Plonk again takes it off; nothing more is drawn.
        form->plonk_button->click();
        QVERIFY(!form->plonk_button->isChecked() && !form->legend.on_map);
        map.fill(Qt::white);
        QPainter again(&map);
        form->draw_on_map(again);
        again.end();
        QCOMPARE(pixel(map, 30, 40 + h / 4), make_colour(255, 255, 255));
    }

    void plonk_without_a_ready_list_only_releases_the_button()
    {
        doc.unlink(*doc.shapes[1]);
        form->plonk_button->click();
        QVERIFY(!form->plonk_button->isChecked() && !form->legend.on_map);
    }

    void the_step_box_and_the_arrows()
    {
        QTest::keyClicks(form->step_edit, "x");
        QCOMPARE(form->step_edit->text(), QString("1"));
        form->step_edit->clear();
        QTest::keyClicks(form->step_edit, "25");
        QCOMPARE(form->legend.step, 25);
        QSignalSpy repainted(form.get(), &Tlegend_form::repaint_map);
        form->right_button->click();
        form->down_button->click();
        QCOMPARE(std::pair(form->legend.x, form->legend.y), std::pair(25, 25));
        QCOMPARE(repainted.count(), 2);
    }

    void a_bold_italic_font_is_not_bold()
    {
        QFont chosen("DejaVu Sans", 15);
        chosen.setBold(true);
        chosen.setItalic(true);
        form->choose_font = [&](const QFont&) { return std::optional<QFont>(chosen); };
        form->font_button->click();
        QVERIFY(!form->legend.font.bold);
        QCOMPARE(form->legend.font.size, 15);
        QCOMPARE(form->font_size_edit->text(), QString("15"));
        chosen.setItalic(false);
        form->font_button->click();
        QVERIFY(form->legend.font.bold);
        // A cancelled dialog changes nothing.
        form->choose_font = [](const QFont&) { return std::optional<QFont>(); };
        form->legend.font.bold = false;
        form->font_button->click();
        QVERIFY(!form->legend.font.bold);
    }

    void a_new_class_colour_recolours_its_shapes_and_modifies_the_map()
    {
        form->choose_colour = [](colour_value) { return std::optional<colour_value>(red); };
        form->change_colour_check->click();
        QVERIFY(form->change_colour_button->isEnabled());
        form->legend_list->item(0)->setSelected(true);
        QSignalSpy changed(form.get(), &Tlegend_form::map_changed);
        form->change_colour_button->click();
        QCOMPARE(changed.count(), 1);
        // Which shapes take the colour is the core's rule; here the wiring.
        QCOMPARE(doc.shapes[0]->colour, red);
        QCOMPARE(form->legend.layout.entries.at(0).colour, red);
    }

    void save_exports_the_preview_as_new_legend_bmp()
    {
        form->legend_list->item(0)->setSelected(true);
        form->legend_list->item(1)->setSelected(true);
        std::string name;
        QSize size;
        form->export_bitmap = [&](const QImage& picture, std::int32_t w, std::int32_t h,
                                  const std::string& file) {
            name = file;
            size = QSize(w, h);
            QCOMPARE(picture.size(), size);
        };
        form->save_legend_button->click();
        QCOMPARE(name, std::string("new-legend.bmp"));
        QCOMPARE(size, QSize(form->legend.layout.width, form->legend.layout.height));
        QCOMPARE(form->legend_paintbox->size(), size);
    }

    void a_large_legend_scrolls_in_its_preview()
    {
        form->shapes_radio->click();
        form->font_size_edit->setText("120");
        form->legend_list->selectAll();
        form->update_button->click();
        QCOMPARE(form->legend.font.size, 120);
        form->legend_draw(false);
        QVERIFY(form->legend_paintbox->height() > form->legend_scroll->viewport()->height());
        QVERIFY(form->legend_scroll->verticalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(legend_form_test)
#include "legend_form_test.moc"
