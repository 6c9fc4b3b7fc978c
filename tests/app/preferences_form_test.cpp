// The preferences window: unit choices and their flags, the settings
// section's read rules and the background colour (the units' names and
// abbreviations are the units table's).
#include "app/preferences_form.h"
#include "view/geometry/view_state.h"
#include "tests/find_control.h"
#include "tests/settings_map.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>

using namespace wayloom;
using namespace wayloom::testing;

class preferences_form_test : public QObject {
    Q_OBJECT

    measurement units;
    view_state view;
    std::optional<colour_value> colour_answer;
    std::unique_ptr<Tpreferences_form> form;
    settings_map written;

    static constexpr colour_value system_colour = make_colour(1, 2, 3);

    void open(const settings_map& stored)
    {
        units = {};
        view = {};
        view.background = system_colour;
        form = std::make_unique<Tpreferences_form>(
            units, view, system_colour, [this](colour_value) { return colour_answer; });
        form->load_settings(reader_of(stored));
    }

    QWidget* part(const char* name) { return control<QWidget>(*form, name); }
    QAbstractButton* item(const char* name) { return control<QAbstractButton>(*form, name); }

    void save()
    {
        written.clear();
        form->save_settings(writer_to(written));
    }

private slots:
    void no_section_gives_metric_metres_and_the_system_colour()
    {
        open({});
        QCOMPARE(units.unit().name, std::string_view("Metres"));
        QVERIFY(item("metric_item")->isChecked());
        QVERIFY(part("metric_group")->isEnabled());
        QVERIFY(!part("imperial_group")->isEnabled());
        QVERIFY(units.scale_changed && units.units_changed);
        QCOMPARE(view.background, system_colour);
        save();
        QCOMPARE(written, (settings_map{{"measurement", "metric"},
                                                              {"metric", "metre"},
                                                              {"imperial", "feet"},
                                                              {"background", "-16777211"}}));
    }

    void stored_values_are_read_exactly()
    {
        open({{"measurement", "Metric"}, {"metric", "kilometer"}, {"imperial", "yard"},
              {"background", "255"}});
        QCOMPARE(units.unit().name, std::string_view("Yards"));
        QVERIFY(item("imperial_item")->isChecked());
        QVERIFY(item("yard_item")->isChecked());
        QVERIFY(part("imperial_group")->isEnabled());
        QVERIFY(!part("metric_group")->isEnabled());
        QCOMPARE(view.background, make_colour(255, 0, 0));
        save();
        QCOMPARE(written["measurement"], std::string("imperial"));
        QCOMPARE(written["metric"], std::string("kilometer"));
        QCOMPARE(written["background"], std::string("255"));

        open({{"background", "red"}});
        QCOMPARE(view.background, system_colour);
    }

    void choosing_a_unit_raises_the_flags_and_repaints()
    {
        open({});
        units.scale_changed = units.units_changed = false;
        QSignalSpy repaints(form.get(), &Tpreferences_form::map_changed);
        item("kilometre_item")->click();
        QCOMPARE(units.unit().name, std::string_view("Kilometers"));
        QVERIFY(units.scale_changed && units.units_changed);
        QCOMPARE(repaints.size(), 1);

        // The item already selected changes nothing.
        units.scale_changed = units.units_changed = false;
        item("kilometre_item")->click();
        QVERIFY(!units.scale_changed && !units.units_changed);
        QCOMPARE(repaints.size(), 1);

        item("metre_item")->click();
        QCOMPARE(units.unit().name, std::string_view("Metres"));

        // Yard chosen while Metric is on, then Imperial.
        part("imperial_group")->setEnabled(true);
        item("yard_item")->click();
        QCOMPARE(units.unit().name, std::string_view("Metres"));
        units.scale_changed = units.units_changed = false;
        item("imperial_item")->click();
        QCOMPARE(units.unit().name, std::string_view("Yards"));
        QVERIFY(part("imperial_group")->isEnabled());
        QVERIFY(!part("metric_group")->isEnabled());
        QVERIFY(units.scale_changed && units.units_changed);
        QCOMPARE(repaints.size(), 4);
    }

    void the_background_comes_from_the_colour_dialog()
    {
        open({});
        QSignalSpy repaints(form.get(), &Tpreferences_form::map_changed);
        units.scale_changed = units.units_changed = false;
        colour_answer.reset();
        item("colour_button")->click();
        QCOMPARE(view.background, system_colour);
        QCOMPARE(repaints.size(), 0);

        colour_answer = make_colour(10, 20, 30);
        item("colour_button")->click();
        QCOMPARE(view.background, make_colour(10, 20, 30));
        QCOMPARE(repaints.size(), 1);
        QVERIFY(!units.scale_changed && !units.units_changed);
        QVERIFY(part("colour_edit")->styleSheet().contains("#0a141e"));
        save();
        QCOMPARE(written["background"], std::to_string(make_colour(10, 20, 30)));
    }
};

QTEST_MAIN(preferences_form_test)
#include "preferences_form_test.moc"
