// The secondary windows from the main window on the offscreen platform:
// their order, their toggles, and the scale ruler drawn on the surface.
#include "annotations/qt/scale_form.h"
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "app/map_surface.h"
#include "app/preferences_form.h"
#include "app/window_position.h"
#include "editing/qt/attributes_form.h"
#include "statistics/qt/statistics_form.h"
#include "window_test_support.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <string>
#include <vector>

using namespace wayloom;
using namespace wayloom::testing;

class secondary_windows_test : public QObject, window_fixture {
    Q_OBJECT

private slots:
    void init() { fresh(); }

    void secondary_windows_are_created_and_written_in_their_orders()
    {
        auto form = make_form();
        QCOMPARE(form->windows().created(),
                 (std::vector<secondary>{secondary::preferences, secondary::gps, secondary::attributes,
                                         secondary::scale, secondary::statistics, secondary::legend}));
        control<QSlider>(*form->attributes(), "point_track_bar")->setValue(7);
        QVERIFY(form->close());
        // Each section after "main", in the settings file's order.
        const std::string text = read_text(ini());
        std::vector<std::size_t> at;
        for (const char* section : {"[main]", "[attributes]", "[scale]", "[gps]", "[preferences]", "[statistics]",
                                    "[legend]"}) {
            at.push_back(text.find(section));
            QVERIFY2(at.back() != std::string::npos, section);
        }
        QVERIFY(std::is_sorted(at.begin(), at.end()));
        const ini_file settings(ini());
        QCOMPARE(settings.read_integer("attributes", "point_size", 0), std::int64_t{7});
        for (const char* section : {"attributes", "scale", "gps", "preferences", "statistics", "legend"})
            for (const char* key : {"monitor", "left", "top"}) QVERIFY(settings.contains(section, key));
        for (const char* key : {"x", "y", "step", "font_size", "font_bold", "legend_image"})
            QVERIFY2(settings.contains("legend", key), key);
    }

    // Each toggle shows and hides its window; a window shows centred by the
    // size it shows with, not the size it had before it was first shown.
    void each_toggle_shows_and_hides_its_window()
    {
        auto form = make_form();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const auto centred = [&](const QWidget* w) {
            const placement at = place_window(present_monitors(), screen.width(), screen.height(), {}, w->width(),
                                              w->height());
            return w->pos() == QPoint(at.left, at.top);
        };
        struct toggle {
            secondary which;
            const char* menu;
            const char* caption;
            const char* hint;
        };
        const toggle toggles[] = {
            {secondary::scale, "&View", "Scale ruler...", "The Scale Ruler"},
            {secondary::statistics, "&View", "Statistics...", "The Stastics Page"},
            {secondary::legend, "&View", "Legend...", "Place legend on map"},
            {secondary::gps, "&GPS", "&Show/Hide GPS dialog", "Hide/Show GPS configuration"},
        };
        for (const toggle& t : toggles) {
            QWidget* window = form->windows().window(t.which);
            QVERIFY(!window->isVisible());
            item(form, t.menu, t.caption)->trigger();
            QVERIFY2(window->isVisible() && (t.which == secondary::gps || centred(window)), t.caption);
            button(ui(form).main_toolbar, t.hint)->trigger();
            QVERIFY2(!window->isVisible(), t.hint);
        }
        item(form, "&File", "Pre&ferences...")->trigger();
        QVERIFY(form->preferences()->isVisible() && centred(form->preferences()));
        form->attributes()->show();
        QVERIFY(centred(form->attributes()));
    }

    void a_plonked_ruler_is_drawn_on_the_surface_in_the_unit_chosen()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        Tscale_form* scale = form->scale();
        auto* amount = control<QLineEdit>(*scale, "amount_edit");
        auto* plonk = control<QAbstractButton>(*scale, "plonk_button");
        amount->setText("100");
        plonk->click();
        QVERIFY(plonk->isChecked());
        const QImage drawn = ui(form).shape_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The left tick runs down from the corner, ten pixels.
        QCOMPARE(QColor(drawn.pixel(0, 0)), QColor(Qt::black));
        QCOMPARE(QColor(drawn.pixel(0, 9)), QColor(Qt::black));
        const std::int32_t w = scale->ruler().w;
        QVERIFY(w > 10);
        // And the right one ends the bar, within the pixel the label's centring takes.
        const QRgb black = QColor(Qt::black).rgb();
        QVERIFY(drawn.pixel(w, 9) == black || drawn.pixel(w - 1, 9) == black);
        QVERIFY(drawn.pixel(w + 1, 9) != black);

        // Kilometres: the box keeps the amount, cut to the map's extent.
        control<QAbstractButton>(*form->preferences(), "kilometre_item")->click();
        ui(form).shape_window->grab();
        QVERIFY(amount->text().toDouble() < 100);
        QCOMPARE(form->unit_choice().unit().name, std::string_view("Kilometers"));

        // The border box moves the track bar and the map's border.
        auto* border = control<QLineEdit>(*scale, "border_edit");
        for (const auto& [typed, position] : {std::pair{"150", 40}, std::pair{"50", 20}}) {
            border->setText(typed);
            emit border->textEdited(typed);
            QCOMPARE(control<QSlider>(*scale, "border_trackbar")->value(), position);
            QCOMPARE(form->view().map_border, position);
        }

        // No selection: the next drawing hides the ruler and releases Plonk.
        ui(form).shape_list->clearSelection();
        ui(form).shape_window->grab();
        QVERIFY(!scale->ruler().visible && !plonk->isChecked());
    }

    // The main window lends the statistics window the ellipsoid's area: the
    // box is enabled, kept in the settings, and adds the line after each area,
    // the same figure wayloom-cli stats --ellipsoidal prints.
    void the_report_gives_ellipsoidal_areas_when_asked()
    {
        write_text(ini(), "[statistics]\nellipsoidal=1\n");
        auto form = make_form(farm);
        auto* ellipsoidal = control<QAbstractButton>(*form->statistics(), "ellipsoidal_check");
        QVERIFY(ellipsoidal->isEnabled() && ellipsoidal->isChecked());
        item(form, "&View", "Statistics...")->trigger();
        control<QAbstractButton>(*form->statistics(), "process_button")->click();
        const std::string report = read_text(home() + "statistics.txt");
        QVERIFY2(report.starts_with("Area of perimeter is : 112616.95 square Metres\r\n"
                                    "On the ellipsoid : 112885.47 square Metres\r\n\r\n"),
                 report.c_str());

        ellipsoidal->setChecked(false);
        control<QAbstractButton>(*form->statistics(), "process_button")->click();
        QVERIFY(read_text(home() + "statistics.txt").find("On the ellipsoid") == std::string::npos);
        QVERIFY(form->close());
        QCOMPARE(ini_file(ini()).read_integer("statistics", "ellipsoidal", 1), std::int64_t{0});
    }
};

QTEST_MAIN(secondary_windows_test)
#include "secondary_windows_test.moc"
