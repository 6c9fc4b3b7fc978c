// Edit "Undo" and "Redo" in the window, a family of commands each, through
// the menu, the keys and the buttons: the lists, the drawing and the
// modified star follow.
#include "window_test_support.h"
#include "annotations/qt/legend_form.h"
#include "app/map_surface.h"
#include "editing/qt/attributes_form.h"
#include "tests/find_control.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

using namespace wayloom;
using namespace wayloom::testing;

class undo_form_test : public QObject, window_fixture {
    Q_OBJECT

    static bool starred(const Tmap_form& form) { return form.windowTitle().endsWith('*'); }
    static QString undo_text(const Tmap_form& form) { return ui(form).undo_item->text(); }
    static void keys(Tmap_form& form, QKeyCombination key)
    {
        QTest::keyClick(&form, key.key(), key.keyboardModifiers());
    }
    std::unique_ptr<Tmap_form> farm_form()
    {
        auto form = make_form(farm);
        form->activateWindow();
        select_all_items(*form);
        return form;
    }

private slots:
    void init() { fresh(); }

    // A deleted shape comes back drawn and listed with Ctrl+Z and goes
    // again with either redo key; a name typed is one step.
    void items_come_back_with_the_keys()
    {
        auto form = farm_form();
        const QImage whole = ui(form).shape_window->picture();
        QCOMPARE(undo_text(*form), QString("&Undo"));
        QVERIFY(!ui(form).undo_item->isEnabled() && !ui(form).undo_button->isEnabled());
        select_rows(ui(form).shape_list, 2);
        button(ui(form).main_toolbar, "Delete Shape")->trigger();
        QCOMPARE(undo_text(*form), QString("&Undo Delete shape orchard"));
        QCOMPARE(ui(form).undo_button->toolTip(), QString("Undo Delete shape orchard"));
        QVERIFY(starred(*form));

        keys(*form, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(shown(ui(form).shape_list), farm_items);
        QVERIFY(!starred(*form));
        QCOMPARE(ui(form).redo_item->text(), QString("&Redo Delete shape orchard"));
        for (QKeyCombination redo : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
            keys(*form, redo);
            QCOMPARE(ui(form).shape_list->model()->rowCount(), 5);
            keys(*form, Qt::CTRL | Qt::Key_Z);
        }
        select_all_items(*form);
        QCOMPARE(ui(form).shape_window->picture(), whole);

        // Each letter typed renames; Undo takes back the name, not a letter.
        click(ui(form).shape_list, 0, Qt::RightButton);
        QTest::keyClicks(ui(form).shape_edit, "-x");
        QCOMPARE(shown(ui(form).shape_list)[0], std::string("north_meadow_x"));
        item(form, "&Edit", "&Undo Rename shape to north_meadow_x")->trigger();
        QCOMPARE(shown(ui(form).shape_list), farm_items);
    }

    // A field built node by node comes apart node by node; the item
    // committed goes back to the builder first.
    void a_field_is_undone_node_by_node()
    {
        auto form = farm_form();
        ui(form).map_control->setCurrentIndex(waypoints_tab);
        const int nw = 6;  // lf-nw
        click(ui(form).waypoints_sheet.waypoints, nw);
        click(ui(form).waypoints_sheet.waypoints, nw + 3, Qt::LeftButton, Qt::ShiftModifier);
        button(ui(form).right_toolbar, "Add node to map")->trigger();
        QCOMPARE(shown(ui(form).shape_list).back(), std::string("New-Shape-1"));
        QVERIFY(!ui(form).right_toolbar->isVisible());

        const std::pair<const char*, int> steps[] = {
            {"&Undo Add shape New-Shape-1", 4}, {"&Undo Add 3 nodes", 1}, {"&Undo Add node", 0}};
        for (const auto& [caption, nodes] : steps) {
            ui(form).undo_button->trigger();
            QCOMPARE(ui(form).redo_item->text(), QString(caption).replace("Undo", "Redo"));
            QCOMPARE(ui(form).waypoints_sheet.built->model()->rowCount(), nodes);
            QCOMPARE(ui(form).right_toolbar->isVisible(), nodes > 0);
            QCOMPARE(ui(form).shape_list->model()->rowCount(), 6);
        }
        QVERIFY(!starred(*form) && !ui(form).undo_item->isEnabled());
        ui(form).redo_button->trigger();
        QCOMPARE(shown(ui(form).waypoints_sheet.built), std::vector<std::string>{"lf-nw"});
    }

    // A node dragged down two rows of the built list is one step.
    void a_node_drag_is_one_step()
    {
        auto form = farm_form();
        ui(form).map_control->setCurrentIndex(waypoints_tab);
        click(ui(form).waypoints_sheet.waypoints, 6);  // lf-nw
        click(ui(form).waypoints_sheet.waypoints, 9, Qt::LeftButton, Qt::ShiftModifier);
        item_list_view* built = ui(form).waypoints_sheet.built;
        click(built, 0);
        auto at = [&](int row) { return built->visualRect(built->model()->index(row, 0)).center(); };
        QTest::mousePress(built->viewport(), Qt::LeftButton, {}, at(0));
        for (int row : {1, 2}) {
            QMouseEvent move(QEvent::MouseMove, at(row), built->viewport()->mapToGlobal(at(row)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(built->viewport(), &move);
        }
        QTest::mouseRelease(built->viewport(), Qt::LeftButton, {}, at(2));
        QCOMPARE(shown(built), (std::vector<std::string>{"lf-ne", "lf-se", "lf-nw", "lf-sw"}));
        QCOMPARE(undo_text(*form), QString("&Undo Move node"));
        keys(*form, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(shown(built), (std::vector<std::string>{"lf-nw", "lf-ne", "lf-se", "lf-sw"}));
    }

    // A merge is one step; the star follows the state saved.
    void a_merge_and_a_save()
    {
        auto form = farm_form();
        desktop_.open_answers = {farm};
        item(form, "&File", "&Merge map")->trigger();
        QCOMPARE(ui(form).shape_list->model()->rowCount(), 12);
        QCOMPARE(undo_text(*form), QString("&Undo Merge farm.wlm"));
        desktop_.save_answers.push_back(save_choice{home() + "merged.wlm", 0});
        item(form, "&File", "&Save map")->trigger();
        QVERIFY(!starred(*form));

        keys(*form, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(std::tuple(ui(form).shape_list->model()->rowCount(), ui(form).waypoints_sheet.waypoints->model()->rowCount()),
                 std::tuple(6, 33));
        QVERIFY(starred(*form));
        keys(*form, Qt::CTRL | Qt::Key_Y);
        QCOMPARE(ui(form).waypoints_sheet.waypoints->model()->rowCount(), 66);
        QVERIFY(!starred(*form));

        // Open forgets the history.
        desktop_.open_answers = {farm};
        item(form, "&File", "&Open map")->trigger();
        QVERIFY(!ui(form).undo_item->isEnabled() && !ui(form).redo_item->isEnabled());
    }

    // A class recoloured from the legend, and from the attributes dialog,
    // is one step each; the drawing follows.
    void colours_from_the_legend_and_the_dialog()
    {
        auto form = farm_form();
        const QImage before = ui(form).shape_window->picture();
        Tlegend_form* legend = form->legend();
        item(form, "&View", "Legend...")->trigger();
        control<QListWidget>(*legend, "legend_list")->item(0)->setSelected(true);  // pasture
        control<QAbstractButton>(*legend, "change_colour_check")->click();
        desktop_.colours = {make_colour(250, 0, 0), make_colour(0, 0, 250)};
        control<QAbstractButton>(*legend, "change_colour_button")->click();
        QCOMPARE(undo_text(*form), QString("&Undo Recolour class pasture"));
        QVERIFY(ui(form).shape_window->picture() != before);

        ui(form).map_control->setCurrentIndex(waypoints_tab);
        select_rows(ui(form).waypoints_sheet.class_list, 0);
        item(form, "&Classes", "&Show attributes")->trigger();
        control<QAbstractButton>(*form->attributes(), "area_colour_button")->click();
        control<QAbstractButton>(*form->attributes(), "ok_button")->click();
        QCOMPARE(undo_text(*form), QString("&Undo Change attributes"));
        QCOMPARE(form->map().classes[0]->colour, make_colour(0, 0, 250));
        keys(*form, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(form->map().classes[0]->colour, make_colour(250, 0, 0));
        keys(*form, Qt::CTRL | Qt::Key_Z);
        ui(form).map_control->setCurrentIndex(shapes_tab);
        select_all_items(*form);
        QCOMPARE(ui(form).shape_window->picture(), before);
        QVERIFY(!starred(*form));
    }
};

QTEST_MAIN(undo_form_test)
#include "undo_form_test.moc"
