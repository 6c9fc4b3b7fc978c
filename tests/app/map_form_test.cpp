// The main window on the offscreen platform, with the file dialogs, error
// boxes, browser and program end answered by the test.
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "app/map_surface.h"
#include "app/window_position.h"
#include "window_test_support.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace wayloom;
namespace fs = std::filesystem;

using namespace wayloom::testing;

class map_form_test : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    desktop_double desktop_;

    std::string home() const { return home_->path().toStdString() + "/"; }
    std::string ini() const { return home() + "wayloom.ini"; }

    std::unique_ptr<Tmap_form> make_form(std::optional<std::string> argument = std::nullopt,
                                         bool show = true)
    {
        return open_window(home(), desktop_, std::move(argument), show);
    }

    void select_all_items(Tmap_form& form)
    {
        form.shape_list->selectAll();
        form.draw_buttonClick();
    }

private slots:
    void init()
    {
        home_ = std::make_unique<QTemporaryDir>();
        QVERIFY(home_->isValid());
        desktop_ = desktop_double{};
    }

    void caption_and_first_start_defaults()
    {
        auto form = make_form(std::nullopt, false);
        QCOMPARE(form->windowTitle(), QString("Wayloom 0.1.2"));
        QCOMPARE(form->size(), QSize(880, 504));
        QCOMPARE(form->load_path, home());
        QCOMPARE(form->save_path, home());
        QCOMPARE(form->map_control->currentIndex(), int(Tmap_form::shapes_page));
        const QStringList tabs = {form->map_control->tabText(0), form->map_control->tabText(1),
                                  form->map_control->tabText(2), form->map_control->tabText(3)};
        QCOMPARE(tabs, QStringList({"Shapes", "Waypoints", "Points", "Error"}));
        QCOMPARE(form->source_panel->width(), 246);
        QVERIFY(desktop_.errors.empty());
        // Centred on the primary monitor, kept inside it.
        const std::vector<monitor_rect> monitors = present_monitors();
        const QRect primary = QGuiApplication::primaryScreen()->geometry();
        const placement expected =
            place_window(monitors, primary.width(), primary.height(), {}, 880, 504);
        QCOMPARE(form->pos(), QPoint(expected.left, expected.top));
        QVERIFY(expected.left >= 0 && expected.top >= 0);
    }

    void map_on_the_command_line_fills_the_lists()
    {
        auto form = make_form(farm);
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        QCOMPARE(shown(form->shape_list), farm_items);
        QCOMPARE(form->waypoints_list->model()->rowCount(), 33);
        QCOMPARE(shown(form->waypoints_list).front(), std::string("farmyard"));
        QCOMPARE(shown(form->class_list),
                 (std::vector<std::string>{"pasture", "arable", "water", "track", "fence"}));
        QCOMPARE(form->error_list->model()->rowCount(), 0);
        QCOMPARE(form->map_control->currentIndex(), int(Tmap_form::shapes_page));
        // Read items enter the list unselected.
        for (const list_entry& e : form->doc.shape_list.entries) QVERIFY(!e.selected);
    }

    void relative_argument_is_read_from_load_path()
    {
        write_text(ini(), "[main]\nload_path=" + source_dir + "/examples\n");
        auto form = make_form("farm.wlm");
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(form->load_path, examples);
        QCOMPARE(texts(form->doc.shape_list), farm_items);
    }

    void debug_argument_opens_nothing()
    {
        write_text(home() + "debug", read_text(farm));
        auto form = make_form("debug");
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(form->shape_list->model()->rowCount(), 0);
        QVERIFY(form->doc.empty());
    }

    void missing_argument_file_is_an_error_box_only()
    {
        auto form = make_form("no-such.wlm");
        QCOMPARE(desktop_.errors, std::vector<std::string>{"Cant find : " + home() + "no-such.wlm"});
        QCOMPARE(form->map_control->currentIndex(), int(Tmap_form::shapes_page));
        QCOMPARE(form->error_list->model()->rowCount(), 0);
    }

    void read_errors_show_each_box_and_the_error_tab()
    {
        auto form = make_form(source_dir + "/tests/data/cli/two_messages.wlm");
        QCOMPARE(desktop_.errors,
                 (std::vector<std::string>{"Unexpected }", "Unexpected { or }"}));
        QCOMPARE(form->map_control->currentIndex(), int(Tmap_form::error_page));
        QCOMPARE(form->error_list->model()->rowCount(), 9);
        // The line the reader stopped at is the one selected.
        const QModelIndexList selected = form->error_list->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.front().row(), 8);
        QVERIFY(form->doc.shape_list.empty());
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
        QVERIFY(form->doc.empty());
        QCOMPARE(form->shape_list->model()->rowCount(), 0);

        // The next start reads back what was written.
        auto again = make_form(std::nullopt, false);
        QCOMPARE(again->size(), QSize(600, 400));
        QCOMPARE(again->pos(), form->pos());
        QCOMPARE(again->load_path, examples);
    }

    void other_windows_write_their_sections_after_main()
    {
        auto form = make_form();
        std::vector<std::string> order;
        form->settings_writers.push_back([&](ini_file& f) {
            order.push_back("attributes");
            QVERIFY(f.contains("main", "width"));
            f.write_integer("attributes", "point_size", 7);
        });
        form->settings_writers.push_back([&](ini_file&) { order.push_back("scale"); });
        QVERIFY(form->close());
        QCOMPARE(order, (std::vector<std::string>{"attributes", "scale"}));
        QCOMPARE(ini_file(ini()).read_integer("attributes", "point_size", 0), std::int64_t{7});
    }

    void exit_writes_no_settings()
    {
        {
            auto form = make_form(farm);
            form->exit_itemClick();
            form->exit_buttonClick();
            QCOMPARE(desktop_.quits, 2);
            QVERIFY(!fs::exists(ini()));
            // Exit ends the loop without closing: the map is still there.
            QCOMPARE(form->doc.shape_list.size(), farm_items.size());
        }
        QVERIFY(!fs::exists(ini()));
    }

    void exit_button_and_menu_item_are_wired()
    {
        auto form = make_form();
        form->exit_item->trigger();
        form->exit_button->trigger();
        QCOMPARE(desktop_.quits, 2);
        QVERIFY(!fs::exists(ini()));
    }

    void placement_on_a_missing_monitor()
    {
        const QRect primary = QGuiApplication::primaryScreen()->geometry();
        write_text(ini(), "[main]\nwidth=400\nheight=300\nmonitor=" +
                              std::to_string(QGuiApplication::screens().size() + 2) +
                              "\nleft=37\ntop=23\n");
        auto form = make_form(std::nullopt, false);
        QCOMPARE(form->pos(), QPoint((primary.width() - 400) / 2, (primary.height() - 300) / 2));
        QCOMPARE(form->monitor, int(QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen())));
    }

    void placement_on_a_present_monitor()
    {
        write_text(ini(), "[main]\nwidth=400\nheight=300\nmonitor=0\nleft=37\ntop=23\n");
        auto form = make_form(std::nullopt, false);
        QCOMPARE(form->pos(), QPoint(37, 23));
        QCOMPARE(form->size(), QSize(400, 300));

        // A left edge past the monitor's right edge ends the window there.
        const QRect first = QGuiApplication::screens().front()->geometry();
        write_text(ini(), "[main]\nwidth=400\nheight=300\nmonitor=0\nleft=" +
                              std::to_string(first.right() + 50) + "\ntop=23\n");
        auto moved = make_form(std::nullopt, false);
        QCOMPARE(moved->pos(), QPoint(first.left() + first.width() - 400, 23));
    }

    void stored_folders_that_vanished()
    {
        write_text(ini(), "[main]\nload_path=/no/such/parent/maps\nsave_path=" + home() + "gone\n");
        auto form = make_form(std::nullopt, false);
        QCOMPARE(form->load_path, home());
        QCOMPARE(form->save_path, home() + "gone/");
        QCOMPARE(desktop_.open_answers.size(), size_t{0});
    }

    void dialogs_start_in_the_stored_folders()
    {
        auto form = make_form(farm);
        form->load_project();
        desktop_.open_answers.push_back(std::nullopt);
        form->merge_project();
        QCOMPARE(desktop_.open_directories, (std::vector<std::string>{home(), home()}));
        // Cancelling changes nothing.
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        QCOMPARE(form->load_path, home());

        form->save_project();
        QCOMPARE(desktop_.save_requests.size(), size_t{1});
        const save_request& r = desktop_.save_requests.front();
        QCOMPARE(r.directory, home());
        QCOMPARE(r.filters, std::vector<std::string>{"Wayloom map file [wlm]|*.wlm"});
        QCOMPARE(r.default_extension, std::string("wlm"));
        QCOMPARE(r.file_name, std::string("new.wlm"));
    }

    void open_merge_save_round_trip()
    {
        auto form = make_form();
        desktop_.open_answers.push_back(farm);
        form->open_map_item->trigger();
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        QCOMPARE(form->load_path, examples);

        const std::string out = home() + "out";  // typed without extension
        desktop_.save_answers.push_back(save_choice{out, 0});
        form->save_map_item->trigger();
        QVERIFY(desktop_.errors.empty());
        QVERIFY(fs::exists(out + ".wlm"));
        QCOMPARE(form->save_path, home());
        QCOMPARE(texts(form->doc.shape_list), farm_items);  // saving leaves the map as it was

        // Open replaces the map with what was written.
        desktop_.open_answers.push_back(out + ".wlm");
        form->load_project();
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        QCOMPARE(form->doc.waypoint_count(), 33);
        QCOMPARE(form->load_path, home());

        // Merge adds to it, numbering the new waypoints after the present ones.
        desktop_.open_answers.push_back(farm);
        form->merge_map_item->trigger();
        QCOMPARE(form->doc.waypoint_count(), 66);
        QCOMPARE(form->shape_list->model()->rowCount(), 12);
        QCOMPARE(form->waypoints_list->model()->rowCount(), 66);
        QCOMPARE(form->doc.waypoints[33]->number, 33);

        // The next save proposes the name the map was saved under.
        desktop_.save_answers.push_back(std::nullopt);
        form->save_project();
        QCOMPARE(desktop_.save_requests.back().file_name, std::string("out.wlm"));

        // The toolbar buttons run the same commands; the merged map was not
        // saved, so opening another asks first.
        desktop_.save_questions.push_back(save_answer::discard);
        desktop_.open_answers.push_back(farm);
        form->open_button->trigger();
        QCOMPARE(desktop_.questions, 1);
        QCOMPARE(form->doc.waypoint_count(), 33);
        desktop_.open_answers.push_back(farm);
        form->merge_button->trigger();
        QCOMPARE(form->doc.waypoint_count(), 66);
    }

    void open_of_a_missing_file_leaves_the_map_cleared()
    {
        auto form = make_form(farm);
        desktop_.open_answers.push_back(home() + "gone.wlm");
        form->load_project();
        QCOMPARE(desktop_.errors, std::vector<std::string>{"Cant find : " + home() + "gone.wlm"});
        QVERIFY(form->doc.empty());
        QCOMPARE(form->shape_list->model()->rowCount(), 0);
    }

    void failed_merge_keeps_the_map()
    {
        auto form = make_form(farm);
        desktop_.open_answers.push_back(source_dir + "/tests/data/cli/unknown_command.wlm");
        form->merge_project();
        QVERIFY(!desktop_.errors.empty());
        QCOMPARE(form->map_control->currentIndex(), int(Tmap_form::error_page));
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        QCOMPARE(shown(form->shape_list), farm_items);
        QCOMPARE(form->doc.waypoint_count(), 33);
    }

    void save_failure_is_an_error_box_and_changes_nothing()
    {
        auto form = make_form(farm);
        const std::string old_file = home() + "kept.wlm";
        write_text(old_file, "old text\n");
        fs::create_directories(home() + "blocked.wlm/inside");

        desktop_.save_answers.push_back(save_choice{home() + "no-such-folder/x.wlm", 0});
        form->save_project();
        QCOMPARE(desktop_.errors.size(), size_t{1});
        QCOMPARE(desktop_.errors.front(),
                 "cannot write " + home() + "no-such-folder/x.wlm: No such file or directory");

        desktop_.save_answers.push_back(save_choice{home() + "blocked.wlm", 0});
        form->save_project();
        QCOMPARE(desktop_.errors.size(), size_t{2});
        QVERIFY(desktop_.errors.back().rfind("cannot write " + home() + "blocked.wlm", 0) == 0);
        QVERIFY(fs::is_directory(home() + "blocked.wlm/inside"));

        QCOMPARE(read_text(old_file), std::string("old text\n"));
        QCOMPARE(form->save_path, home());
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        // A failed save does not become the name proposed next.
        desktop_.save_answers.push_back(std::nullopt);
        form->save_project();
        QCOMPARE(desktop_.save_requests.back().file_name, std::string("new.wlm"));
    }

    void empty_map_or_building_blocks_the_file_commands()
    {
        auto form = make_form();
        form->save_project();
        QVERIFY(desktop_.save_requests.empty());

        desktop_.open_answers.push_back(farm);
        form->load_project();
        for (bool* mode : {&form->editor.building_shape, &form->editor.building_set}) {
            *mode = true;
            form->load_project();
            form->merge_project();
            form->save_project();
            form->export_buttonClick();
            *mode = false;
        }
        QCOMPARE(desktop_.open_directories.size(), size_t{1});
        QVERIFY(desktop_.save_requests.empty());
        QCOMPARE(texts(form->doc.shape_list), farm_items);
    }

    void refresh_from_source_rebuilds_the_map()
    {
        auto form = make_form(farm);
        form->shape_list->selectAll();
        QVERIFY(form->doc.shape_list.entries.back().selected);
        form->update_button->trigger();
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(texts(form->doc.shape_list), farm_items);
        QCOMPARE(form->doc.waypoint_count(), 33);
        // Rebuilt items come back unselected.
        QVERIFY(!form->doc.shape_list.entries.back().selected);
        QVERIFY(form->shape_list->selectionModel()->selectedRows().isEmpty());

        // After a merge the held text is the merged file's alone.
        desktop_.open_answers.push_back(farm);
        form->merge_project();
        QCOMPARE(form->doc.waypoint_count(), 66);
        desktop_.save_questions.push_back(save_answer::discard);
        form->refresh_item->trigger();
        QCOMPARE(form->doc.waypoint_count(), 33);
    }

    void refresh_with_only_waypoints_does_nothing()
    {
        const std::string only = home() + "only.wlm";
        write_text(only, "waypoints\n  {\n    a,\n    1,\n    2,\n    3\n\n    b,\n    1.5,\n    2,\n    3\n  }\n");
        auto form = make_form(only);
        QCOMPARE(form->doc.waypoint_count(), 2);
        form->waypoints_list->selectionModel()->select(form->waypoints_list->model()->index(1, 0),
                                                       QItemSelectionModel::Select);
        QVERIFY(form->doc.waypoints_list.entries[1].selected);
        form->update_buttonClick();
        QVERIFY(form->doc.waypoints_list.entries[1].selected);  // not read again
    }

    void list_selection_is_kept_in_the_core_entries()
    {
        auto form = make_form(farm);
        QItemSelectionModel* selection = form->shape_list->selectionModel();
        selection->select(form->shape_list->model()->index(0, 0), QItemSelectionModel::Select);
        selection->select(form->shape_list->model()->index(2, 0), QItemSelectionModel::Select);
        std::vector<bool> flags;
        for (const list_entry& e : form->doc.shape_list.entries) flags.push_back(e.selected);
        QCOMPARE(flags, (std::vector<bool>{true, false, true, false, false, false}));
        selection->select(form->shape_list->model()->index(0, 0), QItemSelectionModel::Deselect);
        QVERIFY(!form->doc.shape_list.entries[0].selected);

        // Flags set by the core show in the view after a reload.
        for (list_entry& e : form->doc.class_list.entries) e.selected = false;
        form->doc.class_list.entries[1].selected = true;
        form->doc.class_list.entries[2].selected = true;
        form->class_list->reload();
        const QModelIndexList rows = form->class_list->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 2);
        QVERIFY(form->class_list->selectionModel()->isRowSelected(1, {}));
        QVERIFY(form->class_list->selectionModel()->isRowSelected(2, {}));
    }

    void draw_fits_the_selection_into_the_panel()
    {
        // No map: the surface keeps its place inside the panel.
        auto empty = make_form();
        QCOMPARE(empty->shape_window->geometry(),
                 QRect(4, 4, empty->draw_panel->width() - 2, empty->draw_panel->height() - 2));

        // Items but none selected: the surface takes the whole panel.
        auto form = make_form(farm);
        QCOMPARE(form->state.avail_width, form->draw_panel->width());
        QCOMPARE(form->state.avail_height, form->draw_panel->height());
        QCOMPARE(form->shape_window->geometry(),
                 QRect(0, 0, form->draw_panel->width(), form->draw_panel->height()));

        select_all_items(*form);
        const surface_bounds& s = form->state.surface;
        QCOMPARE(form->shape_window->geometry(), QRect(s.left, s.top, s.width, s.height));
        // One axis keeps the panel's size, the other is centred.
        QVERIFY(s.width == form->state.avail_width || s.height == form->state.avail_height);
        // Centred on the unfitted size, so within a pixel of the truncated one.
        QVERIFY(std::abs(s.left - (form->state.avail_width - s.width) / 2) <= 1);
        QVERIFY(std::abs(s.top - (form->state.avail_height - s.height) / 2) <= 1);

        // A larger window gives a larger panel, and the map follows it.
        const int before = form->state.avail_width;
        form->resize(form->width() + 200, form->height() + 100);
        QTRY_COMPARE(form->state.avail_width, before + 200);
        QCOMPARE(form->state.avail_width, form->draw_panel->width());
        QCOMPARE(form->shape_window->geometry(),
                 QRect(form->state.surface.left, form->state.surface.top,
                       form->state.surface.width, form->state.surface.height));
    }

    void painted_surface_shows_the_selected_items()
    {
        auto form = make_form(farm);
        const QImage empty = form->shape_window->grab().toImage();
        select_all_items(*form);
        const QImage drawn = form->shape_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = drawn.pixel(0, 0);
        QCOMPARE(QColor(background), to_qcolor(form->state.background));
        // The pond (a shape of its own colour) is painted inside its outline.
        const t_shape* pond = form->doc.shape_list.object_at<t_shape>(3);
        QVERIFY(pond);
        long cx = 0, cy = 0;
        for (const t_node& n : pond->nodes) { cx += n.pixel.x; cy += n.pixel.y; }
        cx /= long(pond->nodes.size());
        cy /= long(pond->nodes.size());
        QCOMPARE(QColor(drawn.pixel(int(cx), int(cy))), to_qcolor(pond->colour));
        QVERIFY(empty.size() != drawn.size() || empty != drawn);
    }

    void export_writes_the_surface()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        const QSize surface = form->shape_window->size();

        desktop_.save_answers.push_back(save_choice{home() + "map", 0});
        form->export_item->trigger();
        QCOMPARE(desktop_.save_requests.size(), size_t{1});
        const save_request& r = desktop_.save_requests.front();
        QCOMPARE(r.filters, (std::vector<std::string>{"Windows bitmap [bmp]|*.bmp",
                                                      "PNG image [png]|*.png"}));
        QCOMPARE(r.default_extension, std::string("bmp"));
        QCOMPARE(r.file_name, std::string("new.bmp"));
        QVERIFY(desktop_.errors.empty());
        QImageReader bmp(QString::fromStdString(home() + "map.bmp"));
        QCOMPARE(bmp.format(), QByteArray("bmp"));
        const QImage bitmap = bmp.read();
        QCOMPARE(bitmap.size(), surface);
        // 24 bits a pixel, as the bitmap header says.
        const std::string bytes = read_text(home() + "map.bmp");
        QVERIFY(bytes.size() > 30);
        QCOMPARE(int(static_cast<unsigned char>(bytes[28])), 24);
        // The file holds the picture the surface shows.
        const QImage on_screen = form->shape_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(bitmap.convertToFormat(QImage::Format_RGB32), on_screen);

        desktop_.save_answers.push_back(save_choice{home() + "map", 1});
        form->export_button->trigger();
        QImageReader png(QString::fromStdString(home() + "map.png"));
        QCOMPARE(png.format(), QByteArray("png"));
        QCOMPARE(png.read().size(), surface);
        QCOMPARE(form->save_path, home());
        // Export always proposes new.bmp.
        QCOMPARE(desktop_.save_requests.back().file_name, std::string("new.bmp"));
    }

    void export_errors_and_cancel()
    {
        auto form = make_form(farm);
        desktop_.save_answers.push_back(std::nullopt);
        form->export_buttonClick();
        QVERIFY(desktop_.errors.empty());
        // Only the link log the GPS window starts is there.
        QCOMPARE(std::distance(fs::directory_iterator(home()), fs::directory_iterator()), 1);
        QVERIFY(fs::exists(home() + "rave-viz.log"));

        const std::string nowhere = home() + "no-such-folder/x.bmp";
        desktop_.save_answers.push_back(save_choice{nowhere, 0});
        form->export_buttonClick();
        QCOMPARE(desktop_.errors.size(), size_t{1});
        QVERIFY(desktop_.errors.front().rfind("Cannot create file \"" + nowhere + "\".", 0) == 0);
        QCOMPARE(form->save_path, home());
    }

    void help_pages_and_web_site()
    {
        auto form = make_form();
        form->help_menu_item->trigger();
        form->kestrow_menu_item->trigger();
        form->kestrow_website_item->trigger();
        const auto file_url = [](const std::string& path) {
            return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
        };
        QCOMPARE(desktop_.addresses,
                 (std::vector<std::string>{file_url(source_dir + "/docs/manual.html"),
                                           file_url(source_dir + "/docs/kestrow/kestrow.htm"),
                                           "https://wayloom.example.org/"}));
        QVERIFY(fs::exists(source_dir + "/docs/manual.html"));
        QVERIFY(fs::exists(source_dir + "/docs/kestrow/kestrow.htm"));
        QVERIFY(desktop_.errors.empty());

        // A page in the program directory is the one shown.
        fs::create_directories(home() + "kestrow");
        write_text(home() + "kestrow/kestrow.htm", "<p>local</p>");
        form->kestrow_menu_itemClick();
        QCOMPARE(desktop_.addresses.back(), file_url(home() + "kestrow/kestrow.htm"));
    }

    void no_browser_is_reported()
    {
        auto form = make_form();
        desktop_.browser_starts = false;
        form->help_menu_itemClick();
        form->kestrow_website_itemClick();
        QCOMPARE(desktop_.errors, (std::vector<std::string>(2, "The default browser could not be found.")));
    }

    void menu_entries_captions_hints_and_state()
    {
        auto form = make_form();
        struct entry {
            QString caption;
            bool enabled;
            QString hint;
        };
        const std::vector<std::pair<QString, std::vector<entry>>> menus = {
            {"&File",
             {{"&New map", false, ""}, {"&Open map", true, ""}, {"&Merge map", true, ""},
              {"&Save map", true, ""}, {"&Print map", false, ""},
              {"&Export to bitmap", true, "Export map image to disk"},
              {"Pre&ferences...", false, "Change program settings"}, {"E&xit", true, ""}}},
            {"&Edit",
             {{"&Copy", false, ""}, {"&Cut", false, ""}, {"&Paste", false, ""},
              {"&Delete", true, ""}, {"&Edit", true, ""}}},
            {"&View",
             {{"&Refresh from source", true, ""}, {"Re&draw map", true, ""},
              {"Statistics...", false, "Statistics dialog"}, {"Scale ruler...", false, "Distance ruler"},
              {"Legend...", false, "Legend for map"}}},
            {"&GPS",
             {{"&Show/Hide GPS dialog", true, "Display or hide GPS panel"},
              {"&Initialise GPS", true, "Initialise the GPS handset. Must be set to Garmin."},
              {"&Download Waypoints", true, "Download waypoints from GPS"}}},
            {"&Shapes",
             {{"&Show attributes", true, ""}, {"&Add shape", true, ""}, {"Move &up", true, ""},
              {"Move &down", true, ""}, {"D&elete", true, ""}}},
            {"&Points",
             {{"&Show attributes", true, ""}, {"&Add set", true, ""}, {"Move &up", true, ""},
              {"Move points &down", true, ""}, {"D&elete", true, ""}}},
            {"&Classes",
             {{"&Show attributes", true, ""}, {"&Add class", true, ""}, {"&Delete class", true, ""}}},
            {"&Help",
             {{"About", false, ""}, {"&Help", true, ""}, {"What is Kestrow", true, ""},
              {"Kestrow Website", true, ""}}},
        };
        const QList<QAction*> bar = form->menuBar()->actions();
        QCOMPARE(bar.size(), qsizetype(menus.size()));
        for (std::size_t m = 0; m < menus.size(); ++m) {
            QCOMPARE(bar[qsizetype(m)]->text(), menus[m].first);
            std::vector<QAction*> items;
            for (QAction* a : bar[qsizetype(m)]->menu()->actions())
                if (!a->isSeparator()) items.push_back(a);
            QCOMPARE(items.size(), menus[m].second.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                const entry& e = menus[m].second[i];
                QCOMPARE(items[i]->text(), e.caption);
                QCOMPARE(items[i]->isEnabled(), e.enabled);
                if (!e.hint.isEmpty()) QCOMPARE(items[i]->statusTip(), e.hint);
            }
        }
    }

    void toolbar_buttons_hints_and_state()
    {
        auto form = make_form();
        const std::vector<std::pair<QString, bool>> expected = {
            {"Create new map [not implemented]", false},
            {"Open a map", true},
            {"Merge map", true},
            {"Save map", true},
            {"Print Map [not implemented]", false},
            {"Export map to bitmap", true},
            {"Copy shape to clipboard [not implemented]", false},
            {"Move shape to clipboard [not implemented]", false},
            {"Paste shape from clipboard [not implemented]", false},
            {"The Stastics Page", false},
            {"Place legend on map", false},
            {"The Scale Ruler", false},
            {"Hide/Show GPS configuration", true},
            {"Update manual changes made to map source", true},
            {"Draw map", true},
            {"Delete Shape", true},
            {"Edit Shape", true},
            {"Exit from Wayloom", true},
        };
        std::vector<std::pair<QString, bool>> actual;
        for (QAction* a : form->main_toolbar->actions()) {
            if (a->isSeparator()) continue;
            actual.emplace_back(a->toolTip(), a->isEnabled());
            QVERIFY2(!a->icon().isNull(), qPrintable(a->toolTip()));
        }
        QCOMPARE(actual, expected);

        // The building strips wait, hidden and disabled, for a build to start.
        for (QToolBar* strip : {form->right_toolbar, form->points_toolbar}) {
            QVERIFY(!strip->isVisible());
            QVERIFY(!strip->isEnabled());
        }
        QCOMPARE(form->right_toolbar->actions().size(), qsizetype(8));
        QCOMPARE(form->points_toolbar->actions().size(), qsizetype(5));
        QVERIFY(form->path_button->isChecked());
        QVERIFY(!form->polygon_button->isChecked());
    }
};

QTEST_MAIN(map_form_test)
#include "map_form_test.moc"
