// The preferences window: its radio items and groups follow the unit chosen
// (how the settings are read is units_test's table), and the background
// comes from the colour dialog and goes to the settings.
#include "app/preferences_form.h"
#include "tests/find_control.h"
#include "tests/settings_map.h"
#include "view/geometry/view_state.h"

#include <QAbstractButton>
#include <QLineEdit>
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

    static constexpr colour_value system_colour = make_colour(1, 2, 3);

    void open(const settings_map& stored)
    {
        units = {};
        view = {};
        form = std::make_unique<Tpreferences_form>(units, view, system_colour,
                                                   [this](colour_value) { return colour_answer; });
        form->load_settings(reader_of(stored));
    }
    settings_map saved() const
    {
        settings_map written;
        form->save_settings(writer_to(written));
        return written;
    }
    QWidget* part(const char* name) { return control<QWidget>(*form, name); }
    QAbstractButton* item(const char* name) { return control<QAbstractButton>(*form, name); }
    // The checked items and the enabled group, as the window shows them.
    QStringList shown()
    {
        QStringList out;
        for (const char* name : {"metric_item", "imperial_item", "metre_item", "kilometre_item", "feet_item",
                                 "yard_item", "mile_item"})
            if (item(name)->isChecked()) out << name;
        out << (part("metric_group")->isEnabled() ? "metric_group" : "imperial_group");
        return out;
    }

private slots:
    void the_stored_choice_shows_and_is_written_back()
    {
        open({});
        QCOMPARE(shown(), QStringList({"metric_item", "metre_item", "feet_item", "metric_group"}));
        QVERIFY(units.scale_changed && units.units_changed);
        QCOMPARE(view.background, system_colour);
        QVERIFY(saved() == (settings_map{{"measurement", "metric"}, {"metric", "metre"}, {"imperial", "feet"},
                                         {"background", "-16777211"}}));

        open({{"measurement", "imperial"}, {"metric", "kilometer"}, {"imperial", "yard"}, {"background", "255"}});
        QCOMPARE(shown(), QStringList({"imperial_item", "kilometre_item", "yard_item", "imperial_group"}));
        QCOMPARE(view.background, make_colour(255, 0, 0));
        QCOMPARE(saved().at("background"), std::string("255"));
        open({{"background", "red"}});
        QCOMPARE(view.background, system_colour);
    }

    // Each click names the unit in use; a click on the item already chosen,
    // or on one of the group not in use, changes nothing and repaints nothing.
    void choosing_a_unit_raises_the_flags_and_repaints()
    {
        open({});
        QSignalSpy repaints(form.get(), &Tpreferences_form::map_changed);
        struct row { const char* click; std::string_view unit; int repaints; bool flags; };
        const row rows[] = {{"kilometre_item", "Kilometers", 1, true}, {"kilometre_item", "Kilometers", 1, false},
                            {"metre_item", "Metres", 2, true},         {"imperial_item", "Feet", 3, true},
                            {"yard_item", "Yards", 4, true}};
        for (const row& r : rows) {
            units.scale_changed = units.units_changed = false;
            item(r.click)->click();
            QCOMPARE(units.unit().name, r.unit);
            QCOMPARE(int(repaints.size()), r.repaints);
            QCOMPARE(units.scale_changed && units.units_changed, r.flags);
        }
        QCOMPARE(shown(), QStringList({"imperial_item", "metre_item", "yard_item", "imperial_group"}));
    }

    void the_background_comes_from_the_colour_dialog()
    {
        open({});
        QSignalSpy repaints(form.get(), &Tpreferences_form::map_changed);
        units.scale_changed = units.units_changed = false;
        item("colour_button")->click();  // cancelled
        QCOMPARE(view.background, system_colour);
        colour_answer = make_colour(10, 20, 30);
        item("colour_button")->click();
        QCOMPARE(view.background, make_colour(10, 20, 30));
        QCOMPARE(repaints.size(), 1);
        QVERIFY(!units.scale_changed && !units.units_changed);
        QVERIFY(part("colour_edit")->styleSheet().contains("#0a141e"));
        QCOMPARE(saved().at("background"), std::to_string(make_colour(10, 20, 30)));
    }
};

QTEST_MAIN(preferences_form_test)
#include "preferences_form_test.moc"
