// The legend window on the offscreen platform: its list, Plonk and the
// drawing on the map, the boxes, the font and colour choosers and Save.
#include "annotations/qt/legend_form.h"
#include "tests/annotations/legend_map.h"
#include "tests/find_control.h"
#include "tests/settings_map.h"
#include "view/map_painter.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace wayloom;
using wayloom::testing::control;

namespace {

constexpr colour_value pasture = testing::pasture_colour;
constexpr colour_value red = make_colour(255, 0, 0);
constexpr colour_value white = make_colour(255, 255, 255);

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

    QListWidget* list() { return control<QListWidget>(*form, "legend_list"); }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(*form, name); }
    QAbstractButton* button(const char* name) { return control<QAbstractButton>(*form, name); }
    const legend_state& legend() { return form->legend(); }

    // The legend drawn on a white map of 400 × 300.
    QImage map()
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        form->draw_on_map(painter);
        return image;
    }

private slots:
    void init()
    {
        doc.demolish();
        testing::make_legend_map(doc);
        view = {};
        view.fit_width = 400;
        view.fit_height = 300;
        form = std::make_unique<Tlegend_form>(doc, view, &canvas);
        form->show();
    }
    void cleanup() { form.reset(); }

    void showing_lists_classes_and_the_radio_lists_shapes()
    {
        QCOMPARE(list()->count(), 2);
        QCOMPARE(list()->item(1)->text(), QString("water"));
        button("shapes_radio")->click();
        QCOMPARE(list()->count(), 3);
        QCOMPARE(list()->item(2)->text(), QString("North_Field"));
        QCOMPARE(form->windowTitle(), QString("legend_form"));
        QVERIFY(!button("change_colour_button")->isEnabled());
        QCOMPARE(edit("font_test_edit")->cursorPosition(), 0);  // the sample shows its start
    }

    void plonk_draws_the_legend_on_the_map_and_takes_it_off()
    {
        const testing::settings_map at = {{"x", "30"}, {"y", "40"}};
        form->load_settings(testing::reader_of(at));
        list()->item(0)->setSelected(true);
        QSignalSpy resized(form.get(), &Tlegend_form::resize_map);
        button("plonk_button")->click();
        QVERIFY(button("plonk_button")->isChecked() && legend().on_map);
        QCOMPARE(resized.count(), 1);
        QCOMPARE(legend().count(), 1);
        // The preview shows the legend Plonk measured.
        QWidget* preview = control<QWidget>(*form, "legend_paintbox");
        QCOMPARE(preview->size(), QSize(legend().layout.width, legend().layout.height));
        const std::int32_t h = legend().layout.entries[0].text_height;
        QCOMPARE(preview->grab().toImage().pixelColor(0, h / 2), to_qcolor(pasture));
        QCOMPARE(pixel(map(), 30, 40 + h / 4), pasture);
        QCOMPARE(pixel(map(), 29, 40 + h / 4), white);

        button("plonk_button")->click();
        QVERIFY(!button("plonk_button")->isChecked() && !legend().on_map);
        QCOMPARE(pixel(map(), 30, 40 + h / 4), white);

        // A shape taken off the map unreadies the list: Plonk only releases.
        doc.unlink(*doc.shapes[1]);
        button("plonk_button")->click();
        QVERIFY(!button("plonk_button")->isChecked() && !legend().on_map);
    }

    // The boxes show the step and size in use: read from the settings, or
    // put back when what was typed cannot be used.
    void the_boxes_show_the_values_in_use()
    {
        const testing::settings_map stored = {{"step", "50"}, {"font_size", "30"}};
        form->load_settings(testing::reader_of(stored));
        QCOMPARE(edit("step_edit")->text(), QString("50"));
        QCOMPARE(edit("font_size_edit")->text(), QString("30"));
        button("update_button")->click();
        QCOMPARE(legend().font.size, 30);

        edit("font_size_edit")->setText("100000");
        button("update_button")->click();
        QCOMPARE(edit("font_size_edit")->text(), QString("500"));
        QTest::keyClicks(edit("step_edit"), "x");
        QCOMPARE(edit("step_edit")->text(), QString("1"));

        // The arrows move by the step typed.
        edit("step_edit")->clear();
        QTest::keyClicks(edit("step_edit"), "25");
        QSignalSpy repainted(form.get(), &Tlegend_form::repaint_map);
        button("right_button")->click();
        button("down_button")->click();
        QCOMPARE(std::pair(legend().x, legend().y), std::pair(25, 25));
        QCOMPARE(repainted.count(), 2);
    }

    // Which styles are bold is legend_test's; here the dialog's answer
    // reaches the legend and the size box, and a cancel changes nothing.
    void the_font_dialog_sets_the_legend_font()
    {
        QFont chosen("DejaVu Sans", 15);
        chosen.setBold(true);
        form->choose_font = [&](const QFont&) { return std::optional<QFont>(chosen); };
        button("font_button")->click();
        QVERIFY(legend().font.bold);
        QCOMPARE(edit("font_size_edit")->text(), QString("15"));
        form->choose_font = [](const QFont&) { return std::optional<QFont>(); };
        button("font_button")->click();
        QVERIFY(legend().font.bold && legend().font.size == 15);
    }

    void a_new_class_colour_recolours_its_shapes_and_modifies_the_map()
    {
        form->choose_colour = [](colour_value) { return std::optional<colour_value>(red); };
        button("change_colour_check")->click();
        QVERIFY(button("change_colour_button")->isEnabled());
        list()->item(0)->setSelected(true);
        QSignalSpy changed(form.get(), &Tlegend_form::map_changed);
        button("change_colour_button")->click();
        QCOMPARE(changed.count(), 1);
        // Which shapes take the colour is the core's rule; here the wiring.
        QCOMPARE(doc.shapes[0]->colour, red);
        QCOMPARE(legend().layout.entries.at(0).colour, red);
    }

    void save_exports_the_preview_as_new_legend_bmp()
    {
        list()->selectAll();
        std::string name;
        QSize size;
        form->export_bitmap = [&](const QImage& picture, std::int32_t w, std::int32_t h,
                                  const std::string& file) {
            name = file;
            size = QSize(w, h);
            QCOMPARE(picture.size(), size);
        };
        button("save_legend_button")->click();
        QCOMPARE(name, std::string("new-legend.bmp"));
        QCOMPARE(size, QSize(legend().layout.width, legend().layout.height));
        QCOMPARE(control<QWidget>(*form, "legend_paintbox")->size(), size);
    }

    void a_large_legend_scrolls_in_its_preview()
    {
        button("shapes_radio")->click();
        edit("font_size_edit")->setText("120");
        list()->selectAll();
        button("update_button")->click();
        QCOMPARE(legend().font.size, 120);
        form->legend_draw(false);
        const auto* scroll = control<QScrollArea>(*form, "legend_scroll");
        QVERIFY(scroll->widget()->height() > scroll->viewport()->height());
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(legend_form_test)
#include "legend_form_test.moc"
