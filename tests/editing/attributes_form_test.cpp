// The attributes dialog on an offscreen screen: its widgets forward to the
// editing rules and show what they decide.
#include "editing/attribute_commands.h"
#include "editing/mode_switching.h"
#include "editing/qt/attributes_form.h"
#include "editing/set_building.h"
#include "model/map_document.h"
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
        QCOMPARE(QStringList({form->show_name_check->text(), form->area_colour_button->text(),
                              form->border_colour_button->text(), form->ok_button->text(), form->scale_edit->text()}),
                 QStringList({"Display Point Name", "Area Colour", "Border Colour", "OK", "10"}));
        const QSlider& bar = *form->point_track_bar;
        QCOMPARE(QList<int>({bar.minimum(), bar.maximum(), bar.value()}), QList<int>({1, 20, 10}));
        QVERIFY(form->round_marker_button->isChecked());
        QVERIFY(!form->square_marker_button->isChecked());
        QVERIFY(form->findChild<QLineEdit*>("name_edit") == form->name_edit);
    }

    void ok_applies_the_typed_name_or_the_first_one()
    {
        QVERIFY(!form->open_for_editing());
        QVERIFY(!form->isVisible());
        build_set();
        editor->points_list.entries[0].selected = true;
        editor->points_list.entries[2].selected = true;
        QVERIFY(form->open_for_editing());
        QVERIFY(form->isVisible());
        QCOMPARE(form->name_edit->text(), QString("w0"));
        form->name_edit->clear();
        QTest::keyClicks(form->name_edit, "big tree");
        QSignalSpy repaint(form.get(), &Tattributes_form::map_changed);
        QTest::mouseClick(form->ok_button, Qt::LeftButton);
        QCOMPARE(repaint.count(), 1);
        QVERIFY(!form->isVisible());
        const t_set& set = *editor->build_set();
        QCOMPARE(set.points[0].name, std::string("big_tree"));
        QCOMPARE(editor->points_list.entries[2].text, std::string("big_tree"));
    }

    // Which sizes the box takes is attributes_test's table; here the box
    // and the bar follow what it decides.
    void size_edit_and_track_bar()
    {
        form->scale_edit->setText("15");
        QCOMPARE(editor->attributes.point_size, 15);
        QCOMPARE(form->point_track_bar->value(), 10);
        form->scale_edit->setText("abc");
        QCOMPARE(form->scale_edit->text(), QString("15"));
        form->point_track_bar->setValue(1);
        QCOMPARE(editor->attributes.point_size, 1);
        QCOMPARE(form->scale_edit->text(), QString("1"));
        QCOMPARE(static_cast<int>(doc->new_point.size), 1);
    }

    void marker_buttons_need_a_set_being_built()
    {
        QTest::mouseClick(form->square_marker_button, Qt::LeftButton);
        QVERIFY(form->square_marker_button->isChecked());
        QCOMPARE(editor->attributes.marker, point_type{p_circle});
        build_set();
        QTest::mouseClick(form->round_marker_button, Qt::LeftButton);
        QTest::mouseClick(form->square_marker_button, Qt::LeftButton);
        QCOMPARE(editor->attributes.marker, point_type{p_square});
        QCOMPARE(doc->new_point.marker, point_type{p_square});
    }

    void preview_draws_the_current_marker()
    {
        editor->attributes.area_colour = make_colour(255, 0, 0);
        editor->attributes.border_colour = make_colour(0, 0, 255);
        editor->attributes.marker = p_square;
        form->update_shape();
        const QImage image = form->point_image->grab().toImage();
        QCOMPARE(QColor(image.pixel(28, 28)), QColor(255, 0, 0));
        QCOMPARE(QColor(image.pixel(28 - 10, 28)), QColor(0, 0, 255));
        QCOMPARE(QColor(image.pixel(1, 1)), form->point_image->palette().color(QPalette::Button));
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
        QTest::mouseClick(form->area_colour_button, Qt::LeftButton);
        QCOMPARE(forest.colour, make_colour(10, 20, 30));
        QCOMPARE(offered_start, grey);
        QCOMPARE(repaint.count(), 1);
        form->set_colour_chooser([](colour_value) { return std::optional<colour_value>{}; });
        QTest::mouseClick(form->border_colour_button, Qt::LeftButton);
        QCOMPARE(forest.border, black);
    }

};

QTEST_MAIN(attributes_form_test)
#include "attributes_form_test.moc"
