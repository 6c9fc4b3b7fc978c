// The attributes dialog on an offscreen screen: its widgets forward to the
// editing rules and show what they decide.
#include "editing/attribute_commands.h"
#include "editing/mode_switching.h"
#include "editing/qt/attributes_form.h"
#include "editing/set_building.h"
#include "model/map_document.h"
#include "tests/find_control.h"
#include "view/geometry/view_state.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <map>
#include <memory>

using namespace wayloom;
using wayloom::testing::control;

class attributes_form_test : public QObject {
    Q_OBJECT

    std::unique_ptr<map_document> doc;
    std::unique_ptr<view_state> view;
    std::unique_ptr<map_editor> editor;
    std::unique_ptr<Tattributes_form> form;

    // Three points w0, w1, w2 on the Points tab.
    void build_set()
    {
        map_control_change(*editor, points_tab);
        waypoints_set_list_mouse_down(*editor, 0, false);
        waypoints_set_list_mouse_down(*editor, 2, true);
    }

private slots:
    void init()
    {
        doc = std::make_unique<map_document>();
        view = std::make_unique<view_state>();
        view->avail_width = 300;
        view->avail_height = 200;
        for (int i = 0; i < 5; ++i) {
            t_waypoint& w = doc->create_waypoint();
            w.name = "w" + std::to_string(i);
            w.lon = w.lat = i;
        }
        doc->refill_waypoints_list();
        editor = std::make_unique<map_editor>(*doc, *view);
        editor->sync_with_map();
        form = std::make_unique<Tattributes_form>(*editor);
    }

    QLineEdit* edit(const char* name) { return control<QLineEdit>(*form, name); }
    QAbstractButton* button(const char* name) { return control<QAbstractButton>(*form, name); }
    QSlider* track_bar() { return control<QSlider>(*form, "point_track_bar"); }

    void cleanup()
    {
        form.reset();
        editor.reset();
        view.reset();
        doc.reset();
    }

    void window_and_captions()
    {
        QCOMPARE(form->windowTitle(), QString("attributes_form"));
        QCOMPARE(QStringList({button("show_name_check")->text(), button("area_colour_button")->text(),
                              button("border_colour_button")->text(), button("ok_button")->text(),
                              edit("scale_edit")->text()}),
                 QStringList({"Display Point Name", "Area Colour", "Border Colour", "OK", "10"}));
        const QSlider& bar = *track_bar();
        QCOMPARE(QList<int>({bar.minimum(), bar.maximum(), bar.value()}), QList<int>({1, 20, 10}));
        QVERIFY(button("round_marker_button")->isChecked());
        QVERIFY(!button("square_marker_button")->isChecked());
    }

    void ok_applies_the_typed_name_or_the_first_one()
    {
        QVERIFY(!form->open_for_editing());
        QVERIFY(!form->isVisible());
        build_set();
        editor->set_builder().entries().entries[0].selected = true;
        editor->set_builder().entries().entries[2].selected = true;
        QVERIFY(form->open_for_editing());
        QVERIFY(form->isVisible());
        QCOMPARE(edit("name_edit")->text(), QString("w0"));
        edit("name_edit")->clear();
        QTest::keyClicks(edit("name_edit"), "big tree");
        QSignalSpy repaint(form.get(), &Tattributes_form::map_changed);
        button("ok_button")->click();
        QCOMPARE(repaint.count(), 1);
        QVERIFY(!form->isVisible());
        const t_set& set = *editor->build_set();
        QCOMPARE(set.points[0].name, std::string("big_tree"));
        QCOMPARE(editor->set_builder().entries().entries[2].text, std::string("big_tree"));
    }

    // Which sizes the box takes is attributes_test's table; here the box,
    // typed into key by key, and the bar follow what it decides.
    void size_edit_and_track_bar()
    {
        QLineEdit* size = edit("scale_edit");
        size->clear();
        QTest::keyClicks(size, "15");
        QCOMPARE(editor->attributes().point_size, 15);
        QCOMPARE(track_bar()->value(), 10);
        size->setText("1");
        QCOMPARE(size->text(), QString("1"));  // on its way to a size
        emit size->editingFinished();
        QCOMPARE(size->text(), QString("15"));
        track_bar()->setValue(1);
        QCOMPARE(editor->attributes().point_size, 1);
        QCOMPARE(size->text(), QString("1"));
        QCOMPARE(static_cast<int>(doc->new_point.size), 1);
    }

    void marker_buttons_need_a_set_being_built()
    {
        button("square_marker_button")->click();
        QVERIFY(button("square_marker_button")->isChecked());
        QCOMPARE(editor->attributes().marker, point_type{p_circle});
        build_set();
        button("round_marker_button")->click();
        button("square_marker_button")->click();
        QCOMPARE(editor->attributes().marker, point_type{p_square});
        QCOMPARE(doc->new_point.marker, point_type{p_square});
    }

    void preview_draws_the_current_marker()
    {
        editor->attributes().area_colour = make_colour(255, 0, 0);
        editor->attributes().border_colour = make_colour(0, 0, 255);
        editor->attributes().marker = p_square;
        form->update_shape();
        const QImage image = control<QWidget>(*form, "point_image")->grab().toImage();
        QCOMPARE(QColor(image.pixel(28, 28)), QColor(255, 0, 0));
        QCOMPARE(QColor(image.pixel(28 - 10, 28)), QColor(0, 0, 255));
        QCOMPARE(QColor(image.pixel(1, 1)), control<QWidget>(*form, "point_image")->palette().color(QPalette::Button));
        QVERIFY(QColor(image.pixel(28 + 12, 28)) != QColor(255, 0, 0));
    }

    void colour_button_colours_the_selected_classes()
    {
        t_class& forest = *doc->create_class();
        forest.name = "forest";
        doc->class_list.add("forest", &forest);
        doc->class_list.entries[0].selected = true;
        colour_value offered_start = 0;
        form->set_colour_chooser([&](colour_value start) -> std::optional<colour_value> {
            offered_start = start;
            return make_colour(10, 20, 30);
        });
        QSignalSpy repaint(form.get(), &Tattributes_form::map_changed);
        button("area_colour_button")->click();
        QCOMPARE(forest.colour, make_colour(10, 20, 30));
        QCOMPARE(offered_start, grey);
        QCOMPARE(repaint.count(), 1);
        form->set_colour_chooser([](colour_value) { return std::optional<colour_value>{}; });
        button("border_colour_button")->click();
        QCOMPARE(forest.border, black);
    }

};

QTEST_MAIN(attributes_form_test)
#include "attributes_form_test.moc"
