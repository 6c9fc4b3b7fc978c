// The main window's file and help commands on the offscreen platform, with
// the dialogs, error boxes and browser answered by the test.
#include "window_test_support.h"
#include "app/map_surface.h"
#include "view/map_painter.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QTabWidget>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <filesystem>

using namespace wayloom;
using namespace wayloom::testing;
namespace fs = std::filesystem;

class map_files_form_test : public QObject, window_fixture {
    Q_OBJECT

private slots:
    void init() { fresh(); }

    // Open and Merge start beside the map open, else in the stored folder.
    void dialogs_start_beside_the_map_or_in_the_stored_folders()
    {
        auto form = make_form(farm);
        form->load_project();
        form->merge_project();
        // Cancelling changes nothing.
        QCOMPARE(texts(form->map().shape_list), farm_items);
        QCOMPARE(form->load_folder(), home());

        form->save_project();
        QCOMPARE(desktop_.save_requests.size(), size_t{1});
        const save_request& r = desktop_.save_requests.front();
        QCOMPARE(r.directory, home());
        QCOMPARE(r.filters, std::vector<std::string>{"Wayloom map file [wlm]|*.wlm"});
        QCOMPARE(r.default_extension, std::string("wlm"));
        QCOMPARE(r.file_name, std::string("new.wlm"));

        item(form, "&File", "&New map")->trigger();
        form->load_project();
        QCOMPARE(desktop_.open_directories, (std::vector<std::string>{examples, examples, home()}));
    }

    // Import GPX merges a file's waypoints and says which points it passed
    // over; Export GPX writes the map; a handset drive imports every file.
    void gpx_import_export_and_handset_drives()
    {
        const std::string gpx = source_dir + "/tests/data/gpx/";
        mount_root_ = gpx + "mounts";
        auto form = make_form(farm);
        desktop_.open_answers.push_back(gpx + "odd.gpx");
        item(form, "&File", "Import GPX...")->trigger();
        QCOMPARE(desktop_.open_filters, std::vector<std::string>{"GPX file [gpx]|*.gpx"});
        // Its four waypoints, and its route's unnamed turn as a fifth.
        QCOMPARE(form->map().waypoint_count(), 38);
        QCOMPARE(ui(form).waypoints_sheet.waypoints->model()->rowCount(), 38);
        QCOMPARE(form->map().waypoints[33]->name, std::string("Gate & stile"));
        QCOMPARE(desktop_.errors, std::vector<std::string>{gpx + "odd.gpx: 3 warnings:\n"
                                                               "Point without a valid lat and lon skipped: line 12\n"
                                                               "Point without a valid lat and lon skipped: line 17\n"
                                                               "1 track left out: fewer than 2 points (3 for a shape)"});
        QVERIFY(form->windowTitle().endsWith("*"));
        QCOMPARE(form->load_folder(), gpx);

        desktop_.save_answers.push_back(save_choice{home() + "farm", 0});
        item(form, "&File", "Export GPX...")->trigger();
        QCOMPARE(desktop_.save_requests.back().filters, std::vector<std::string>{"GPX file [gpx]|*.gpx"});
        QCOMPARE(desktop_.save_requests.back().file_name, std::string("new.gpx"));
        QVERIFY(read_text(home() + "farm.gpx").find("<name>Gate &amp; stile</name>") != std::string::npos);

        // A file that is not GPX adds nothing.
        desktop_.errors.clear();
        write_text(home() + "map.gpx", read_text(farm));
        desktop_.open_answers.push_back(home() + "map.gpx");
        item(form, "&File", "Import GPX...")->trigger();
        QCOMPARE(desktop_.errors, std::vector<std::string>{home() + "map.gpx: Not a GPX file: line 1: syntax error"});
        QCOMPARE(form->map().waypoint_count(), 38);

        // Every drive: a broken file is named and passed over, the rest read.
        desktop_.errors.clear();
        item(form, "&GPS", "Import from handset drive...")->trigger();
        // The handset's current track log holds one point: it is left out.
        QCOMPARE(desktop_.errors.size(), 3u);
        QCOMPARE(desktop_.errors.front(), gpx + "mounts/media/ann/GARMIN/Garmin/GPX/Current/Current.gpx: "
                                                "1 track left out: fewer than 2 points (3 for a shape)");
        QCOMPARE(desktop_.errors.back(), gpx + "mounts/media/usb0/GARMIN/gpx/B.gpx: Not a GPX file: line 3: unclosed token");
        QCOMPARE(form->map().waypoint_count(), 48);
        QCOMPARE(form->map().waypoints[47]->name, std::string("CAPE"));
        // Each import is one step; the file that was not GPX made none.
        QCOMPARE(ui(form).undo_item->text(), QString("&Undo Import from handset drive"));
        ui(form).undo_button->trigger();
        QCOMPARE(ui(form).undo_item->text(), QString("&Undo Import GPX odd.gpx"));
        QCOMPARE(ui(form).waypoints_sheet.waypoints->model()->rowCount(), 38);

        // Nothing mounted: the user picks the drive, told what to pick.
        mount_root_ = home();
        auto bare = make_form(farm);
        desktop_.folder_answers.push_back(gpx + "mounts/mnt/etrex");
        item(bare, "&GPS", "Import from handset drive...")->trigger();
        QCOMPARE(desktop_.folder_captions.back(),
                 std::string("No handset drive found: pick the handset's drive, or its Garmin/GPX folder"));
        QCOMPARE(bare->map().waypoint_count(), 34);
        QCOMPARE(control<QLabel>(*bare, "status_note")->text(), QString("Imported 1 waypoint from 1 file"));
        QCOMPARE(ui(bare).waypoints_sheet.waypoints->model()->rowCount(), 34);
        desktop_.errors.clear();
        desktop_.folder_answers.push_back(gpx + "mounts/media/ann/STICK");
        item(bare, "&GPS", "Import from handset drive...")->trigger();
        QCOMPARE(desktop_.errors, std::vector<std::string>{"No GPX files in " + gpx + "mounts/media/ann/STICK/Garmin/GPX"});
    }

    // Export to GIS writes by the filter chosen; Merge map reads GeoJSON back.
    void gis_export_and_merge()
    {
        auto form = make_form(farm);
        desktop_.save_answers.push_back(save_choice{home() + "farm", 2});
        item(form, "&File", "Export to GIS...")->trigger();
        QCOMPARE(desktop_.save_requests.back().filters,
                 (std::vector<std::string>{"GeoJSON [geojson]|*.geojson", "KML [kml]|*.kml", "ESRI Shapefile [shp]|*.shp"}));
        QVERIFY(fs::exists(home() + "farm_polygons.shp") && fs::exists(home() + "farm_points.dbf"));
        desktop_.save_answers.push_back(save_choice{home() + "farm", 0});
        item(form, "&File", "Export to GIS...")->trigger();
        desktop_.open_answers.push_back(home() + "farm.geojson");
        item(form, "&File", "&Merge map")->trigger();
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(form->map().shape_list.size(), size_t{11});  // 5 shapes and a set, and the 5 shapes again
    }

    // The menu items and the tool buttons open, save and merge; the folders
    // chosen are remembered; a merged map, not saved, asks before Open.
    void open_merge_save_round_trip()
    {
        auto form = make_form();
        const std::string out = home() + "out";  // typed without extension
        desktop_.open_answers = {farm, out + ".wlm", farm, farm, farm};
        desktop_.save_answers.push_back(save_choice{out, 0});
        item(form, "&File", "&Open map")->trigger();
        QCOMPARE(form->load_folder(), examples);
        item(form, "&File", "&Save map")->trigger();
        QVERIFY(fs::exists(out + ".wlm"));
        QCOMPARE(form->save_folder(), home());
        form->load_project();  // what was written
        QCOMPARE(std::tuple(shown(ui(form).shape_list), form->load_folder()), std::tuple(farm_items, home()));
        item(form, "&File", "&Merge map")->trigger();
        QCOMPARE(ui(form).shape_list->model()->rowCount(), 12);
        QCOMPARE(ui(form).waypoints_sheet.waypoints->model()->rowCount(), 66);

        desktop_.save_questions.push_back(save_answer::discard);
        button(ui(form).main_toolbar, "Open a map")->trigger();
        QCOMPARE(std::tuple(desktop_.questions, form->map().waypoint_count()), std::tuple(1, 33));
        button(ui(form).main_toolbar, "Merge map")->trigger();
        QCOMPARE(form->map().waypoint_count(), 66);
        QVERIFY(desktop_.errors.empty());
    }

    void save_failure_is_an_error_box_and_changes_nothing()
    {
        auto form = make_form(farm);
        const std::string old_file = home() + "kept.wlm";
        write_text(old_file, "old text\n");

        desktop_.save_answers.push_back(save_choice{home() + "no-such-folder/x.wlm", 0});
        form->save_project();
        QCOMPARE(desktop_.errors.size(), size_t{1});
        QCOMPARE(desktop_.errors.front(),
                 "cannot write " + home() + "no-such-folder/x.wlm: " + std::strerror(ENOENT));

        QCOMPARE(read_text(old_file), std::string("old text\n"));
        QCOMPARE(form->save_folder(), home());
        QCOMPARE(texts(form->map().shape_list), farm_items);
    }

    // The file commands run on every tab, and wait, saying why, only while
    // a new shape is under construction; an empty map has nothing to save.
    void file_commands_wait_only_for_a_new_item_and_say_why()
    {
        auto form = make_form();
        form->save_project();
        QVERIFY(desktop_.save_requests.empty());

        QVERIFY(form->read_map_file(farm));
        select_all_items(*form);
        const std::pair<const char*, const char*> commands[] = {
            {"&File", "&Open map"},         {"&File", "&Merge map"},    {"&File", "&Save map"},
            {"&File", "&Print map"},        {"&File", "&Export to bitmap"},
            {"&File", "Import GPX..."},     {"&File", "Export GPX..."}, {"&File", "Export to GIS..."},
        };
        const auto dialogs = [&] {
            return desktop_.open_directories.size() + desktop_.save_requests.size() + desktop_.print_scales.size();
        };
        for (const int tab : {waypoints_tab, points_tab}) {
            ui(form).map_control->setCurrentIndex(tab);
            for (const auto& [menu, caption] : commands) {
                const std::size_t before = dialogs();
                item(form, menu, caption)->trigger();
                QVERIFY2(dialogs() == before + 1, caption);
            }
        }
        ui(form).map_control->setCurrentIndex(waypoints_tab);
        click(ui(form).waypoints_sheet.waypoints, 0);
        const std::size_t before = dialogs();
        for (const auto& [menu, caption] : commands) item(form, menu, caption)->trigger();
        item(form, "&File", "&New map")->trigger();
        QCOMPARE(dialogs(), before);
        QCOMPARE(form->map().shape_list.size(), farm_items.size());
        QCOMPARE(control<QLabel>(*form, "status_note")->text(), QString("Finish or cancel the shape being built first"));
        QVERIFY(desktop_.errors.empty());
    }

    void refresh_from_source_rebuilds_the_map()
    {
        auto form = make_form(farm);
        ui(form).shape_list->selectAll();
        QVERIFY(form->map().shape_list.entries.back().selected);
        button(ui(form).main_toolbar, "Update manual changes made to map source")->trigger();
        QVERIFY(desktop_.errors.empty());
        QCOMPARE(texts(form->map().shape_list), farm_items);
        QCOMPARE(form->map().waypoint_count(), 33);
        // Rebuilt items come back unselected.
        QVERIFY(!form->map().shape_list.entries.back().selected);
        QVERIFY(ui(form).shape_list->selectionModel()->selectedRows().isEmpty());
        desktop_.save_questions.push_back(save_answer::discard);
        item(form, "&View", "&Refresh from source")->trigger();
        QVERIFY(desktop_.errors.empty());
    }

    void export_writes_the_surface()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        const QSize surface = ui(form).shape_window->size();

        desktop_.save_answers.push_back(save_choice{home() + "map", 0});
        item(form, "&File", "&Export to bitmap")->trigger();
        QCOMPARE(desktop_.save_requests.size(), size_t{1});
        const save_request& r = desktop_.save_requests.front();
        QCOMPARE(r.filters, (std::vector<std::string>{"Windows bitmap [bmp]|*.bmp", "PNG image [png]|*.png",
                                                      "PDF document [pdf]|*.pdf", "SVG drawing [svg]|*.svg"}));
        QCOMPARE(r.default_extension, std::string("bmp"));
        QCOMPARE(r.file_name, std::string("new.bmp"));
        QVERIFY(desktop_.errors.empty());
        QImageReader bmp(QString::fromStdString(home() + "map.bmp"));
        QCOMPARE(bmp.format(), QByteArray("bmp"));
        const QImage bitmap = bmp.read();
        QCOMPARE(bitmap.size(), surface);
        // The file holds the picture the surface shows.
        const QImage on_screen = ui(form).shape_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(bitmap.convertToFormat(QImage::Format_RGB32), on_screen);

        desktop_.save_answers.push_back(save_choice{home() + "map", 1});
        button(ui(form).main_toolbar, "Export map to bitmap")->trigger();
        QImageReader png(QString::fromStdString(home() + "map.png"));
        QCOMPARE(png.format(), QByteArray("png"));
        QCOMPARE(png.read().size(), surface);
        QCOMPARE(form->save_folder(), home());
        // Export always proposes new.bmp.
        QCOMPARE(desktop_.save_requests.back().file_name, std::string("new.bmp"));

        // A cancel writes nothing; a folder that is not there is an error box.
        desktop_.save_answers = {std::nullopt, save_choice{home() + "no-such-folder/x.bmp", 0}};
        form->export_buttonClick();
        QVERIFY(desktop_.errors.empty());
        form->export_buttonClick();
        QCOMPARE(desktop_.errors.size(), size_t{1});
        QVERIFY(desktop_.errors.front().starts_with("Cannot create file \"" + home() + "no-such-folder/x.bmp\"."));
        QCOMPARE(std::distance(fs::directory_iterator(home()), fs::directory_iterator()), 3);  // and the link log
    }

    // Items selected in the list are not on the surface until Draw map; the
    // export writes what the surface shows, never the hint over it.
    void export_writes_what_the_surface_shows_without_the_hint()
    {
        auto form = make_form(farm);
        map_surface* surface = ui(form).shape_window;
        QCoreApplication::processEvents();
        QVERIFY(surface->shows_hint());
        const QImage hinted = surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = to_qcolor(form->view().background).rgb();
        auto painted = [&](const QImage& image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != background) return true;
            return false;
        };
        QVERIFY(painted(hinted));

        ui(form).shape_list->selectAll();
        desktop_.save_answers.push_back(save_choice{home() + "blank", 1});
        form->export_buttonClick();
        const QImage blank = QImage(QString::fromStdString(home() + "blank.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(blank.size(), surface->size());
        QVERIFY(!painted(blank));

        form->draw_buttonClick();
        QVERIFY(!surface->shows_hint());
        desktop_.save_answers.push_back(save_choice{home() + "drawn", 1});
        form->export_buttonClick();
        const QImage drawn = QImage(QString::fromStdString(home() + "drawn.png")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(painted(drawn));
        QCOMPARE(drawn, surface->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    void help_pages_and_web_site()
    {
        auto form = make_form();
        item(form, "&Help", "&Help")->trigger();
        item(form, "&Help", "What is Kestrow")->trigger();
        item(form, "&Help", "Kestrow Website")->trigger();
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

        desktop_.browser_starts = false;
        form->help_menu_itemClick();
        form->kestrow_website_itemClick();
        QCOMPARE(desktop_.errors, (std::vector<std::string>(2, "The default browser could not be found.")));
    }

};

QTEST_MAIN(map_files_form_test)
#include "map_files_form_test.moc"
