// The main window's editing: clicks, tabs, tool strips, the attributes
// dialog and the question before unsaved work is dropped, on the offscreen
// platform with the desktop answered by the test.
#include "window_test_support.h"
#include "app/map_surface.h"
#include "editing/qt/attributes_form.h"
#include "model/shape.h"
#include "view/map_painter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <filesystem>

using namespace wayloom;
using namespace wayloom::testing;

class map_editing_test : public QObject, window_fixture {
    Q_OBJECT

    std::unique_ptr<Tmap_form> farm_form() { return make_form(farm); }

    static int row_of(const item_list& list, const std::string& text)
    {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list.entries[i].text == text) return static_cast<int>(i);
        return -1;
    }

    // A window with a field being built from the long field's four corners.
    std::unique_ptr<Tmap_form> building_form()
    {
        auto form = farm_form();
        ui(form).map_control->setCurrentIndex(waypoints_tab);
        const int nw = row_of(form->map().waypoints_list, "lf-nw");
        click(ui(form).waypoints_sheet.waypoints, nw);
        click(ui(form).waypoints_sheet.waypoints, nw + 3, Qt::LeftButton, Qt::ShiftModifier);
        return form;
    }

    static std::size_t node_count(const Tmap_form& form)
    {
        const t_shape* shape = form.edits().build_shape();
        return shape ? shape->nodes.size() : 0;
    }

private slots:
    void init() { fresh(); }

    // Which waypoints a click or Shift-click appends is the core's rule;
    // here the list shows the shape, the surface fits it and the strip
    // shows while it has a node.
    void clicks_build_a_shape_and_show_its_strip()
    {
        auto whole = farm_form();
        auto form = building_form();
        QCOMPARE(shown(ui(form).waypoints_sheet.built), (std::vector<std::string>{"lf-nw", "lf-ne", "lf-se", "lf-sw"}));
        QVERIFY(ui(form).shape_window->geometry() != ui(whole).shape_window->geometry());
        QVERIFY(form->windowTitle().endsWith('*') && !whole->windowTitle().endsWith('*'));
        QVERIFY(ui(form).right_toolbar->isVisible() && ui(form).right_toolbar->isEnabled());
        QVERIFY(!ui(form).points_toolbar->isVisible());
        // New shapes are polygons; "Draw shape as line" makes it a path.
        QVERIFY(ui(form).polygon_button->isChecked());
        ui(form).path_button->trigger();
        QVERIFY(form->edits().build_shape()->is_path() && ui(form).path_button->isChecked());
        ui(form).polygon_button->trigger();
        QVERIFY(!form->edits().build_shape()->is_path());

        // Deleting every node ends the build and hides the strip again.
        ui(form).waypoints_sheet.built->selectAll();
        button(ui(form).right_toolbar, "Delete node in shape")->trigger();
        QCOMPARE(node_count(*form), std::size_t(0));
        QVERIFY(!ui(form).right_toolbar->isVisible() && !ui(form).right_toolbar->isEnabled());
    }

    void node_moves_from_the_strip_and_the_menu()
    {
        auto form = building_form();
        select_rows(ui(form).waypoints_sheet.built, 3);
        button(ui(form).right_toolbar, "Move node up in list")->trigger();
        item(form, "&Shapes", "Move &up")->trigger();
        QCOMPARE(shown(ui(form).waypoints_sheet.built),
                 (std::vector<std::string>{"lf-nw", "lf-sw", "lf-ne", "lf-se"}));
        // The moved node stays selected, in the view as in the core list.
        QCOMPARE(ui(form).waypoints_sheet.built->selectionModel()->selectedRows().size(), qsizetype(1));
        QCOMPARE(ui(form).waypoints_sheet.built->selectionModel()->selectedRows().front().row(), 1);
        button(ui(form).right_toolbar, "Move node down in list")->trigger();
        QCOMPARE(shown(ui(form).waypoints_sheet.built), (std::vector<std::string>{"lf-nw", "lf-ne", "lf-sw", "lf-se"}));
    }

    void class_commit_and_rename()
    {
        auto form = building_form();

        // Enter in the class box files a new class, cleaned, and empties the box.
        ui(form).waypoints_sheet.class_edit->setText("wet meadow");
        QTest::keyClick(ui(form).waypoints_sheet.class_edit, Qt::Key_Return);
        QCOMPARE(ui(form).waypoints_sheet.class_edit->text(), QString());
        click(ui(form).waypoints_sheet.class_list, row_of(form->map().class_list, "wet_meadow"));

        button(ui(form).right_toolbar, "Add node to map")->trigger();
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(shown(ui(form).shape_list).back(), std::string("wet_meadow-1"));
        QVERIFY(!ui(form).right_toolbar->isVisible());

        // A right click picks the entry; typing renames it, cleaned.
        ui(form).map_control->setCurrentIndex(shapes_tab);
        const int last = static_cast<int>(form->map().shape_list.size()) - 1;
        click(ui(form).shape_list, last, Qt::RightButton);
        QCOMPARE(ui(form).shape_edit->text(), QString("wet_meadow-1"));
        ui(form).shape_edit->selectAll();
        QTest::keyClicks(ui(form).shape_edit, "low field");
        QCOMPARE(shown(ui(form).shape_list).back(), std::string("low_field"));

        // A second item selected: "Edit Shape" refuses with the message.
        ui(form).shape_list->selectAll();
        button(ui(form).main_toolbar, "Edit Shape")->trigger();
        QCOMPARE(desktop_.errors, std::vector<std::string>{"Only one shape should be selected"});

        // "Delete Shape" takes the selected items off the map.
        button(ui(form).main_toolbar, "Delete Shape")->trigger();
        QCOMPARE(form->map().shape_list.size(), std::size_t(0));
        QCOMPARE(ui(form).shape_list->model()->rowCount(), 0);
    }

    // A right click only picks the item to rename: the selection stays. (That
    // the rename follows the item as the list changes is the core's rule.)
    void a_right_click_keeps_the_selection()
    {
        auto form = farm_form();
        item_list_view* list = ui(form).shape_list;
        click(list, 2);
        click(list, 3, Qt::LeftButton, Qt::ControlModifier);
        const auto chosen = [&] {
            std::vector<int> rows;
            for (const QModelIndex& at : list->selectionModel()->selectedRows()) rows.push_back(at.row());
            std::sort(rows.begin(), rows.end());
            return rows == std::vector<int>{2, 3} && form->map().shape_list.entries[3].selected;
        };
        QVERIFY(chosen());
        click(list, 4, Qt::RightButton);
        QCOMPARE(ui(form).shape_edit->text(), QString("farm-track"));
        QVERIFY(chosen());
    }

    // Open and New map let go of the item held for a rename, and its name.
    void a_new_map_empties_the_rename_box()
    {
        for (const std::string caption : {"&Open map", "&New map"}) {
            auto form = farm_form();
            click(ui(form).shape_list, 0, Qt::RightButton);
            QCOMPARE(ui(form).shape_edit->text(), QString("north-meadow"));
            desktop_.open_answers.push_back(farm);
            item(form, "&File", QString::fromStdString(caption))->trigger();
            QVERIFY2(ui(form).shape_edit->text().isEmpty(), caption.c_str());
            QTest::keyClicks(ui(form).shape_edit, "renamed");
            const std::vector<std::string> left = caption == "&Open map" ? farm_items : std::vector<std::string>{};
            QVERIFY2(shown(ui(form).shape_list) == left, caption.c_str());
        }
    }

    // Deleted shapes leave the surface at once, without Draw map.
    void deleted_shapes_leave_the_surface()
    {
        auto form = farm_form();
        ui(form).shape_list->selectAll();
        form->draw_buttonClick();
        map_surface* surface = ui(form).shape_window;
        const QImage drawn = surface->picture();
        button(ui(form).main_toolbar, "Delete Shape")->trigger();
        QImage after = surface->picture();
        QCOMPARE(after.size(), drawn.size());
        after.fill(to_qcolor(form->view().background));
        QCOMPARE(surface->picture(), after);
        QVERIFY2(!surface->shows_hint(), "an empty list needs no hint");
    }

    void points_tab_builds_a_set_named_in_the_dialog()
    {
        auto form = farm_form();
        ui(form).map_control->setCurrentIndex(points_tab);
        QCOMPARE(form->edits().mode(), points_tab);
        QCOMPARE(shown(ui(form).points_sheet.waypoints), shown(ui(form).waypoints_sheet.waypoints));
        // The Waypoints tab's strip stays hidden on the Points tab.
        click(ui(form).points_sheet.waypoints, 0);
        click(ui(form).points_sheet.waypoints, 1);
        QVERIFY(ui(form).points_toolbar->isVisible());
        QVERIFY(!ui(form).right_toolbar->isVisible());
        QCOMPARE(ui(form).points_sheet.built->model()->rowCount(), 2);

        // The dialog's OK names the selected point and gives it a square marker.
        select_rows(ui(form).points_sheet.built, 1);
        button(ui(form).points_toolbar, "Attributes page")->trigger();
        QVERIFY(form->attributes()->isVisible());
        control<QAbstractButton>(*form->attributes(), "square_marker_button")->click();
        control<QLineEdit>(*form->attributes(), "name_edit")->setText("gate post");
        control<QAbstractButton>(*form->attributes(), "ok_button")->click();
        QVERIFY(!form->attributes()->isVisible());
        QCOMPARE(shown(ui(form).points_sheet.built)[1], std::string("gate_post"));

        button(ui(form).points_toolbar, "Add node to map")->trigger();
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(form->map().shape_list.entries.back().text, std::string("New-Set-1"));
        QVERIFY(!ui(form).points_toolbar->isVisible());
    }

    void attributes_need_something_to_act_on()
    {
        auto form = farm_form();
        item(form, "&Shapes", "&Show attributes")->trigger();
        QVERIFY(!form->attributes()->isVisible());
        select_rows(ui(form).waypoints_sheet.class_list, 0);
        item(form, "&Classes", "&Show attributes")->trigger();
        QVERIFY(form->attributes()->isVisible());
    }

    void unsaved_work_asks_before_it_is_dropped_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* command : {"open", "refresh", "new", "exit", "close"})
            QTest::newRow(command) << QString(command);
    }

    void unsaved_work_asks_before_it_is_dropped()
    {
        QFETCH(QString, command);
        auto form = building_form();
        button(ui(form).right_toolbar, "Add node to map")->trigger();
        const std::size_t items = form->map().shape_list.size();
        // Items read again get new serial numbers.
        const std::int32_t first_item = form->map().shapes.front()->number;
        QVERIFY(form->edits().modified());
        QVERIFY(form->windowTitle().endsWith('*'));

        auto run = [&] {
            desktop_.open_answers.push_back(farm);
            if (command == "open") item(form, "&File", "&Open map")->trigger();
            if (command == "refresh") item(form, "&View", "&Refresh from source")->trigger();
            if (command == "new") item(form, "&File", "&New map")->trigger();
            if (command == "exit") item(form, "&File", "E&xit")->trigger();
            if (command == "close") form->close();
        };
        const bool ends_program = command == "exit" || command == "close";
        auto dropped = [&] {
            if (ends_program) return desktop_.quits > 0 || !form->isVisible();
            return form->map().empty() || form->map().shapes.front()->number != first_item;
        };

        // Cancel: nothing happens, and the question is not asked twice.
        desktop_.save_questions.push_back(save_answer::cancel);
        run();
        QCOMPARE(desktop_.questions, 1);
        QVERIFY(!dropped());
        QCOMPARE(form->map().shape_list.size(), items);
        QVERIFY(!std::filesystem::exists(ini()));

        // Save, but the save dialog is cancelled: still nothing is lost.
        desktop_.open_answers.clear();
        desktop_.save_questions.push_back(save_answer::save);
        desktop_.save_answers.push_back(std::nullopt);
        run();
        QCOMPARE(desktop_.questions, 2);
        QVERIFY(!dropped());
        QVERIFY(form->edits().modified());

        // Save, and the file is written: the command goes on.
        desktop_.open_answers.clear();
        const std::string saved = home() + "kept.wlm";
        desktop_.save_questions.push_back(save_answer::save);
        desktop_.save_answers.push_back(save_choice{saved, 0});
        run();
        QCOMPARE(desktop_.questions, 3);
        QVERIFY(std::filesystem::exists(saved));
        QVERIFY(read_text(saved).find("New-Shape-1") != std::string::npos);
        QVERIFY(dropped());
        if (!ends_program) {
            QVERIFY(!form->edits().modified());
            QVERIFY(!form->windowTitle().endsWith('*'));
        }
    }

    void discard_goes_on_and_an_unmodified_map_is_not_asked_about()
    {
        auto form = building_form();
        button(ui(form).right_toolbar, "Add node to map")->trigger();
        desktop_.save_questions.push_back(save_answer::discard);
        desktop_.open_answers.push_back(farm);
        item(form, "&File", "&Open map")->trigger();
        QCOMPARE(desktop_.questions, 1);
        QCOMPARE(texts(form->map().shape_list), farm_items);
        QVERIFY(!form->edits().modified());
        QVERIFY(!form->windowTitle().endsWith('*'));

        desktop_.open_answers.push_back(farm);
        item(form, "&File", "&Open map")->trigger();
        item(form, "&File", "E&xit")->trigger();
        QCOMPARE(desktop_.questions, 1);
        QCOMPARE(desktop_.quits, 1);
    }
};

QTEST_MAIN(map_editing_test)
#include "map_editing_test.moc"
