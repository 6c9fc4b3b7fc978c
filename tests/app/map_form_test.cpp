// The main window on the offscreen platform: start-up, the settings file,
// placement, the secondary windows, the command table and the surface.
#include "window_test_support.h"
#include "annotations/qt/legend_form.h"
#include "annotations/qt/scale_form.h"
#include "app/map_form_commands.h"
#include "app/map_surface.h"
#include "app/window_position.h"
#include "editing/qt/attributes_form.h"
#include "gps/qt/gps_form.h"
#include "view/map_painter.h"
#include "../tools/simulator_process.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>

#include <filesystem>

using namespace wayloom;
using namespace wayloom::testing;
namespace fs = std::filesystem;

class map_form_test : public QObject, window_fixture {
    Q_OBJECT

private slots:
    void init() { fresh(); }

    void caption_and_first_start_defaults()
    {
        auto form = make_form(std::nullopt, false);
        QCOMPARE(form->windowTitle(), QString("Wayloom 0.1.2"));
        QCOMPARE(form->size(), QSize(880, 504));
        QCOMPARE(form->load_folder(), home());
        QCOMPARE(form->save_folder(), home());
        QCOMPARE(ui(form).map_control->currentIndex(), int(shapes_tab));
        QStringList tabs;
        for (int i = 0; i < ui(form).map_control->count(); ++i) tabs << ui(form).map_control->tabText(i);
        QCOMPARE(tabs, QStringList({"Shapes", "Waypoints", "Points", "Error"}));
        QVERIFY(desktop_.errors.empty());
        // Centred on the primary monitor, kept inside it.
        const QRect primary = QGuiApplication::primaryScreen()->geometry();
        const placement expected = place_window(present_monitors(), primary.width(), primary.height(), {}, 880, 504);
        QCOMPARE(form->pos(), QPoint(expected.left, expected.top));
        QVERIFY(expected.left >= 0 && expected.top >= 0);
    }

    // The map named on the command line: read from load_path unless
    // absolute; a missing file is an error box alone, read errors come with
    // the Error tab and its stopping line selected.
    void map_on_the_command_line()
    {
        struct row {
            const char* name;
            std::string argument, settings;
            std::vector<std::string> errors, items;
            int tab, error_rows, selected_error;
        };
        const row rows[] = {
            {"absolute", farm, "", {}, farm_items, shapes_tab, 0, -1},
            {"relative", "farm.wlm", "[main]\nload_path=" + source_dir + "/examples\n", {}, farm_items, shapes_tab, 0, -1},
            {"missing", "no-such.wlm", "", {"Cant find : " + home() + "no-such.wlm"}, {}, shapes_tab, 0, -1},
            {"read errors", source_dir + "/tests/data/cli/two_messages.wlm", "",
             {"Unexpected }", "Unexpected { or }"}, {}, error_tab, 9, 8},
        };
        for (const row& r : rows) {
            desktop_.errors.clear();
            write_text(ini(), r.settings);
            auto form = make_form(r.argument);
            QVERIFY2(desktop_.errors == r.errors, r.name);
            QVERIFY2(shown(ui(form).shape_list) == r.items, r.name);
            QVERIFY2(ui(form).map_control->currentIndex() == r.tab, r.name);
            QVERIFY2(ui(form).error_list->model()->rowCount() == r.error_rows, r.name);
            const QModelIndexList selected = ui(form).error_list->selectionModel()->selectedRows();
            QVERIFY2(selected.isEmpty() ? r.selected_error == -1 : selected.front().row() == r.selected_error, r.name);
        }
        write_text(ini(), rows[1].settings);
        auto form = make_form(farm);
        QCOMPARE(form->load_folder(), examples);
        QCOMPARE(shown(ui(form).waypoints_sheet.waypoints).size(), std::size_t(33));
        QCOMPARE(shown(ui(form).waypoints_sheet.class_list),
                 (std::vector<std::string>{"pasture", "arable", "water", "track", "fence"}));
        // Read items enter the list unselected.
        QVERIFY(ui(form).shape_list->selectionModel()->selectedRows().isEmpty());
    }

    void settings_are_written_on_close()
    {
        write_text(ini(), "[gps]\nport=COM3\n\n[main]\nwidth=600\nheight=400\nfavourite=keep\n");
        auto form = make_form();
        desktop_.open_answers.push_back(farm);
        form->load_project();
        QVERIFY(form->close());
        const ini_file settings(ini());
        QCOMPARE(settings.read_string("main", "load_path", "?"), examples);
        QCOMPARE(settings.read_string("main", "save_path", "?"), home());
        QCOMPARE(settings.read_integer("main", "width", 0), std::int64_t{600});
        QCOMPARE(settings.read_integer("main", "height", 0), std::int64_t{400});
        QVERIFY(settings.contains("main", "monitor"));
        QCOMPARE(settings.read_integer("main", "left", -999), std::int64_t{form->pos().x()});
        QCOMPARE(settings.read_integer("main", "top", -999), std::int64_t{form->pos().y()});
        // What the window does not know is kept.
        QCOMPARE(settings.read_string("gps", "port", "?"), std::string("COM3"));
        QCOMPARE(settings.read_string("main", "favourite", "?"), std::string("keep"));
        // The close also clears the map.
        QVERIFY(form->map().empty());
        QCOMPARE(ui(form).shape_list->model()->rowCount(), 0);

        // The next start reads back what was written.
        auto again = make_form(std::nullopt, false);
        QCOMPARE(again->size(), QSize(600, 400));
        QCOMPARE(again->pos(), form->pos());
        QCOMPARE(again->load_folder(), examples);
    }

    // Settings files the program did not write: whatever cannot be used
    // gives the default, and the close leaves a file the next start reads.
    void bad_settings_files_start_with_defaults()
    {
        const QSize default_size = make_form(std::nullopt, false)->size();
        const std::string sized = "[main]\nwidth=400\nheight=300\n";
        const std::string long_text(ini_file::longest_line + 10, 'x');
        struct row {
            const char* name;
            std::string text;
            QSize size;  // empty: the default size
            int point_size;
        };
        const row rows[] = {
            {"huge", sized + std::string(2 * ini_file::largest_file, '\n'), {}, 10},
            {"binary", sized + std::string("\0\x01\x02\xff\xfe[attributes]\npoint_size=7\n", 30), {}, 10},
            {"duplicate sections", sized + "[attributes]\npoint_size=7\n[main]\nwidth=500\n[attributes]\npoint_size=9\n",
             {400, 300}, 7},
            {"overlong lines", sized + "load_path=" + long_text + "\n[gps]\nport=" + long_text +
                                   "\n[attributes]\npoint_size=7" + long_text + "\n",
             {400, 300}, 10},
            {"numbers out of range",
             "[main]\nwidth=99999999999999999999\nheight=-5\nmonitor=99999999999999999999\n"
             "left=-9223372036854775808\ntop=9223372036854775807\n[attributes]\npoint_size=2147483648\n"
             "colour=-1\nborder=99999999999\nmarker_type=99999999999999999999\nmonitor=-99999999999\n"
             "[gps]\nlogging=99999999999999999999\nleft=99999999999999999999\nmonitor=3\n"
             "[preferences]\nmeasurement=99999999999999999999\nmetric=-9999999999\nimperial=4294967296\n"
             "background=-99999999999999999999\n",
             {}, 10},
        };
        for (const row& r : rows) {
            fresh();
            write_text(ini(), r.text);
            auto form = make_form(std::nullopt, false);
            QVERIFY2(form->size() == (r.size.isEmpty() ? default_size : r.size), r.name);
            QVERIFY2(control<QSlider>(*form->attributes(), "point_track_bar")->value() == r.point_size, r.name);
            QVERIFY2(form->load_folder() == home(), r.name);
            QVERIFY2(form->close(), r.name);

            const std::string written = read_text(ini());
            QVERIFY2(written.size() < 4096 && written.find('\0') == std::string::npos, r.name);
            QVERIFY2(written.find(long_text) == std::string::npos, r.name);
            const ini_file settings(ini());
            QVERIFY2(settings.read_integer("main", "width", 0) == form->width(), r.name);
            auto again = make_form(std::nullopt, false);
            QVERIFY2(again->size() == form->size(), r.name);
            QVERIFY2(again->pos() == form->pos(), r.name);
        }
    }

    // Exit ends the loop without closing: no settings, the map still there.
    void exit_writes_no_settings()
    {
        {
            auto form = make_form(farm);
            item(form, "&File", "E&xit")->trigger();
            button(ui(form).main_toolbar, "Exit from Wayloom")->trigger();
            QCOMPARE(desktop_.quits, 2);
            QVERIFY(!fs::exists(ini()));
            QCOMPARE(form->map().shape_list.size(), farm_items.size());
        }
        QVERIFY(!fs::exists(ini()));
    }

    // While the handset is busy a map command is refused; closing cancels
    // the transfer first and asks about the unsaved waypoints once it ended.
    void closing_during_a_transfer_cancels_it_then_asks()
    {
        simulator handset({"--baud", "1200", "--map", farm});
        auto form = make_form();
        Tgps_form* gps = form->gps();
        gps->set_port(handset.path());
        control<QComboBox>(*gps, "speed_edit")->setCurrentText("1200");
        control<QComboBox>(*gps, "interval_edit")->setCurrentText("50");
        item(form, "&GPS", "&Download Waypoints")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(control<QProgressBar>(*gps, "download_progress")->value() >= 1, 30000);
        item(form, "&File", "&New map")->trigger();
        QVERIFY(control<QLabel>(*form, "status_note")->text().contains("busy"));
        QVERIFY(!ui(form).map_control->isEnabled());
        QVERIFY(!form->close());
        QCOMPARE(desktop_.questions, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!gps->working(), 30000);
        QTRY_COMPARE(desktop_.questions, 1);
        QVERIFY(form->isVisible());  // the question was answered Cancel
        QVERIFY(ui(form).map_control->isEnabled());
        QVERIFY(form->map().waypoint_count() >= 1 && form->map().waypoint_count() < 33);
        const QString note = QString("^Downloaded %1 waypoints? in \\d+\\.\\d s$").arg(form->map().waypoint_count());
        QVERIFY(QRegularExpression(note).match(control<QLabel>(*form, "status_note")->text()).hasMatch());
        // What the download brought is one step.
        const int got = form->map().waypoint_count();
        QCOMPARE(ui(form).undo_item->text(), QString("&Undo Download %1 waypoint%2").arg(got).arg(got > 1 ? "s" : ""));
        ui(form).undo_button->trigger();
        QCOMPARE(std::tuple(form->map().waypoint_count(), form->windowTitle().endsWith('*')), std::tuple(0, false));
    }

    void list_selection_is_kept_in_the_core_entries()
    {
        auto form = make_form(farm);
        QItemSelectionModel* selection = ui(form).shape_list->selectionModel();
        selection->select(ui(form).shape_list->model()->index(0, 0), QItemSelectionModel::Select);
        selection->select(ui(form).shape_list->model()->index(2, 0), QItemSelectionModel::Select);
        std::vector<bool> flags;
        for (const list_entry& e : form->map().shape_list.entries) flags.push_back(e.selected);
        QCOMPARE(flags, (std::vector<bool>{true, false, true, false, false, false}));
        selection->select(ui(form).shape_list->model()->index(0, 0), QItemSelectionModel::Deselect);
        QVERIFY(!form->map().shape_list.entries[0].selected);
    }

    void draw_fits_the_selection_into_the_panel()
    {
        // No map: the surface keeps its place inside the panel.
        auto empty = make_form();
        QCOMPARE(ui(empty).shape_window->geometry(),
                 QRect(4, 4, ui(empty).draw_panel->width() - 2, ui(empty).draw_panel->height() - 2));

        // Items but none selected: the surface takes the whole panel.
        auto form = make_form(farm);
        QCOMPARE(QSize(form->view().avail_width, form->view().avail_height), ui(form).draw_panel->size());
        QCOMPARE(ui(form).shape_window->geometry(),
                 QRect(0, 0, ui(form).draw_panel->width(), ui(form).draw_panel->height()));

        // Selected items: the surface takes the place the fit gives it (the
        // fit itself is projection_test's).
        select_all_items(*form);
        const surface_bounds& s = form->view().surface;
        QCOMPARE(ui(form).shape_window->geometry(), QRect(s.left, s.top, s.width, s.height));

        // A larger window gives a larger panel, and the map follows it.
        const int before = form->view().avail_width;
        form->resize(form->width() + 200, form->height() + 100);
        QTRY_COMPARE(form->view().avail_width, before + 200);
        QCOMPARE(form->view().avail_width, ui(form).draw_panel->width());
        QCOMPARE(ui(form).shape_window->geometry(), QRect(s.left, s.top, s.width, s.height));
    }

    // The map's default background and the ruler label's ground are the
    // system window colour, a text field's (Base), not the panel's grey.
    void the_map_and_the_ruler_label_are_on_the_text_field_colour()
    {
        auto form = make_form(farm);
        write_text(ini(), "[preferences]\nbackground=250\n");  // red, for the second window
        auto red = make_form(farm);
        const QColor base = form->palette().color(QPalette::Base);
        const QColor panel = form->palette().color(QPalette::Window);
        QVERIFY(base != panel);  // otherwise this test could not tell them apart
        QCOMPARE(to_qcolor(form->view().background), base);
        const QImage empty = ui(form).shape_window->grab().toImage();
        QCOMPARE(empty.pixelColor(1, 1), base);

        // A chosen background replaces it.
        form = std::move(red);
        select_all_items(*form);
        QCOMPARE(ui(form).shape_window->grab().toImage().pixelColor(0, 0), QColor(250, 0, 0));
        control<QLineEdit>(*form->scale(), "amount_edit")->setText("100");
        control<QAbstractButton>(*form->scale(), "plonk_button")->click();
        const QImage drawn = ui(form).shape_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int on_panel = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) on_panel += drawn.pixelColor(x, y) == panel;
        // The label's ground is some hundreds of pixels; a stray grey one may
        // come from the text's edge.
        QVERIFY2(on_panel < 20, qPrintable(QString::number(on_panel)));
    }

    void legend_window_lists_the_map_and_plonks_on_it()
    {
        write_text(ini(), "[legend]\nx=10\ny=12\n");
        auto form = make_form(farm);
        select_all_items(*form);
        Tlegend_form* legend = form->legend();
        item(form, "&View", "Legend...")->trigger();
        auto* list = control<QListWidget>(*legend, "legend_list");
        QCOMPARE(list->count(), 5);  // the farm's classes
        QCOMPARE(list->item(0)->text(), QString("pasture"));

        list->item(2)->setSelected(true);  // water
        control<QAbstractButton>(*legend, "plonk_button")->click();
        QVERIFY(legend->legend().on_map);
        const QImage map = ui(form).shape_window->grab().toImage();
        const std::int32_t h = legend->legend().layout.entries.at(0).text_height;
        QCOMPARE(map.pixelColor(10 + h / 2, 12 + h / 2), to_qcolor(form->map().classes[2]->colour));
        QCOMPARE(map.pixelColor(10 + legend->legend().layout.width - 1, 12), to_qcolor(form->view().background));

        // A map read while the window shows is listed at once.
        control<QAbstractButton>(*legend, "shapes_radio")->click();
        QVERIFY(form->read_map_file(farm));
        QCOMPARE(list->count(), 5);  // the farm's five shapes, not its set
    }

    // The legend shows what the map draws with its window hidden: a deleted
    // shape leaves it, and a class recoloured in the attributes dialog
    // recolours its shapes and their entries.
    void the_legend_follows_the_map_with_its_window_hidden()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        Tlegend_form* legend = form->legend();
        item(form, "&View", "Legend...")->trigger();
        control<QAbstractButton>(*legend, "shapes_radio")->click();
        auto* list = control<QListWidget>(*legend, "legend_list");
        list->item(0)->setSelected(true);  // north-meadow
        list->item(3)->setSelected(true);  // pond
        control<QAbstractButton>(*legend, "plonk_button")->click();
        item(form, "&View", "Legend...")->trigger();
        QVERIFY(!legend->isVisible());

        select_rows(ui(form).shape_list, 0);
        button(ui(form).main_toolbar, "Delete Shape")->trigger();
        QCOMPARE(legend->legend().count(), 1);
        QCOMPARE(legend->legend().layout.entries[0].text, std::string("pond"));
        QVERIFY(list->item(2)->isSelected() && !list->item(0)->isSelected());  // pond's choice kept

        const colour_value red = make_colour(255, 0, 0);
        select_rows(ui(form).waypoints_sheet.class_list, 2);  // water, pond's class
        desktop_.colours.push_back(red);
        item(form, "&Classes", "&Show attributes")->trigger();
        control<QAbstractButton>(*form->attributes(), "area_colour_button")->click();
        QCOMPARE(form->map().shape_list.object_at<t_shape>(2)->colour, red);
        QCOMPARE(legend->legend().layout.entries[0].colour, red);
    }

    // One window at a time is the About window's own rule; here only the wiring.
    void about_item_opens_the_about_window()
    {
        auto form = make_form();
        item(form, "&Help", "About")->trigger();
        QVERIFY(form->about_box() && form->about_box()->isVisible());
    }

    // The window shows exactly its command table, in order, every button
    // with a picture, each entry as "place > caption [hint]", " off" when
    // disabled; the building strips wait, hidden and disabled.
    void the_window_shows_its_command_table()
    {
        const auto describe = [](QString place, QString caption, QString hint, bool enabled) {
            QString text = place + " > " + caption;
            if (!hint.isEmpty() && hint != caption) text += " [" + hint + "]";
            return text + (enabled ? "" : " off");
        };
        QStringList table;
        for (const command_row& row : map_form_commands()) {
            if (row.caption && QString(row.caption) == "-") continue;
            const char* strips[] = {"", "main", "shape", "point"};
            table << describe(row.menu ? row.menu : strips[int(row.place)], row.caption ? row.caption : row.hint,
                              row.hint ? row.hint : "", row.enabled);
        }
        auto form = make_form();
        QStringList built;
        for (QAction* menu : form->menuBar()->actions())
            for (QAction* a : menu->menu()->actions())
                if (!a->isSeparator()) built << describe(menu->text(), a->text(), a->statusTip(), a->isEnabled());
        const std::pair<const char*, QToolBar*> strips[] = {
            {"main", ui(form).main_toolbar}, {"shape", ui(form).right_toolbar}, {"point", ui(form).points_toolbar}};
        for (const auto& [name, strip] : strips)
            for (QAction* a : strip->actions()) {
                if (a->isSeparator()) continue;
                built << describe(name, a->toolTip(), a->toolTip(), a->isEnabled());
                QVERIFY2(!a->icon().isNull(), qPrintable(a->toolTip()));
            }
        QCOMPARE(built, table);
        for (QToolBar* strip : {ui(form).right_toolbar, ui(form).points_toolbar})
            QVERIFY(!strip->isVisible() && !strip->isEnabled());
        QVERIFY(ui(form).path_button->isChecked() && !ui(form).polygon_button->isChecked());
    }
};

QTEST_MAIN(map_form_test)
#include "map_form_test.moc"
