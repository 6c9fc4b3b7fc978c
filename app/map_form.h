// The main window: the drawing surface on the left, the map's lists on the
// right, the menus and tool strips above. It owns the map, its view state
// and the secondary windows, reads the settings file's section "main" when
// created and writes every window's section when closed by its title bar.
//
// Its work is split by job: map_form.cpp (creation, settings, close,
// layout passes, showing what a command did), map_form_layout.cpp (panels
// and lists), map_form_commands.cpp (the menu and tool strip table),
// map_form_editing.cpp (list, tab and edit box events), map_form_files.cpp
// (the file and help commands), map_form_view.cpp (zoom, the View menu's
// choices, the status line and the clicks on the map).
#pragma once

#include "app/about_box.h"
#include "app/form_services.h"
#include "app/map_surface.h"
#include "app/map_form_controls.h"
#include "app/program_paths.h"
#include "app/secondary_windows.h"
#include "editing/map_editor.h"
#include "editing/map_files.h"
#include "model/map_document.h"
#include "view/geometry/units.h"
#include "view/geometry/view_state.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

#include <string>

namespace wayloom {

class Tattributes_form;
class Tgps_form;
class Tpreferences_form;
class Tscale_form;
class Tstatistics_form;
class Tlegend_form;
class looks_snapshot;
namespace testing { struct form_access; }

// The View menu's check items, kept in the settings file's section "main".
struct view_choices {
    bool keep_view = false;   // "keep_view": Draw map keeps the zoom and the middle
    bool map_behind = false;  // "map_behind": the selection behind the item being built
    bool waypoints = false;   // "waypoints": every waypoint as a dot
};

class Tmap_form : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmap_form(startup_options options, form_services services = {},
                       QWidget* parent = nullptr);
    ~Tmap_form() override;

    // What the window shows and edits, for the other windows and for tests:
    // the map, its projection, the editing state, the map file, the unit.
    const map_document& map() const { return doc; }
    const view_state& view() const { return state; }
    const map_editor& edits() const { return editor; }
    const map_files& map_file() const { return files; }
    const measurement& unit_choice() const { return units; }

    const startup_options& options() const { return options_; }
    // Where Open map and Merge map start when the map has no file, and where
    // Save map and Export start; each ends with "/".
    const std::string& load_folder() const { return load_path; }
    const std::string& save_folder() const { return save_path; }

    std::string settings_file() const;  // program directory + "wayloom.ini"
    // Section "main", then every secondary window's section in their order.
    void save_settings();

    const secondary_windows& windows() const { return windows_; }
    Tattributes_form* attributes() const;
    Tgps_form* gps() const;
    Tpreferences_form* preferences() const;
    Tstatistics_form* statistics() const;
    Tscale_form* scale() const;
    Tlegend_form* legend() const;
    // The window Help "About" opened last, if any.
    const QPointer<TAboutBox>& about_box() const { return about_; }

    // Opens a map file as File "&Open map" does, without the dialog and the
    // question; whether it was read without an error.
    bool read_map_file(const std::string& file_name);
    // Shows what an editing command did: its error, the lists, the build
    // tool strips, the surface and the caption.
    void apply(const edit_result& result);
    // An editing command of editing/, as a menu item or button runs it.
    template <edit_result (*command)(map_editor&)>
    void run_edit() { apply(command(editor)); }

public slots:
    void new_map_itemClick();    // File "&New map": an empty map, once unsaved work is seen to
    void load_project();         // File "&Open map"
    void merge_project();        // File "&Merge map"
    void save_project();         // File "&Save map"
    void print_itemClick();      // File "&Print map": the page on a printer or as a PDF
    void export_buttonClick();   // File "&Export to bitmap", also as PDF or SVG
    void import_gpx_itemClick();   // File "Import GPX...": merges a GPX file's waypoints
    void export_gpx_itemClick();   // File "Export GPX..."
    void export_gis_itemClick();   // File "Export to GIS...": GeoJSON, KML or Shapefiles
    void handset_drive_itemClick();  // GPS "Import from handset drive..."
    void preferences_itemClick();  // File "Pre&ferences...": shows the window
    void exit_itemClick();       // File "E&xit": ends at once, no settings written
    void exit_buttonClick();
    void update_buttonClick();   // View "&Refresh from source"
    void draw_buttonClick();     // View "Re&draw map": fits again unless the view is kept
    void zoom_in_itemClick();    // View "Zoom in", about the middle
    void zoom_out_itemClick();   // View "Zoom out"
    void zoom_to_fit_itemClick();  // View "Zoom to fit"
    void delete_keyPress();      // Delete: the selected shapes, nodes or points of the tab shown
    void gps_buttonClick();      // "&Show/Hide GPS dialog"
    void statistics_buttonClick();  // View "Statistics..." and its button: show or hide
    void scale_buttonClick();       // View "Scale ruler..." and its button: show or hide
    void init_gps_itemClick();
    void download_itemClick();
    void legend_buttonClick();   // "Place legend on map" and View "Legend..."
    void about_itemClick();      // Help "About"
    void colour_buttonClick();   // the "Attributes page" buttons and "&Show attributes"
    void add_class_buttonClick();  // a class named by the current tab's class box
    void help_menu_itemClick();
    void kestrow_menu_itemClick();
    void kestrow_website_itemClick();
    void undo_itemClick();       // Edit "Undo": the last edit taken back
    void redo_itemClick();       // Edit "Redo": the edit taken back done again

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend struct testing::form_access;

    // The map, its projection, the editing rules over both and the map
    // file's life.
    map_document doc;
    view_state state;
    map_editor editor{doc, state};
    map_files files{editor};
    // The unit the preferences chose, read by the ruler and the report.
    measurement units;
    std::string load_path;  // the settings' "load_path"
    std::string save_path;  // the settings' "save_path"

    startup_options options_;
    form_services services_;
    map_form_controls ui_;
    secondary_windows windows_;
    QPointer<TAboutBox> about_;
    std::string print_scale_ = "fit to page";  // the print dialog's scale field
    bool loading_settings_ = false;
    bool resizing_ = false;
    bool close_after_transfer_ = false;  // closing waits for a cancelled transfer to end
    // Since when the handset is busy, and how many waypoints the map had
    // then: a download says what it brought.
    QElapsedTimer transfer_clock_;
    std::int32_t waypoints_before_transfer_ = 0;

    view_choices choices_;

    // The colours as a recolouring from the legend starts, and the map as a
    // download starts: what each changed becomes one step.
    std::unique_ptr<looks_snapshot> legend_colours_;
    std::optional<map_mark> download_start_;

    // While a new shape or point set is under construction the file
    // commands wait: says so in the status line and returns true.
    bool refuses_file_command();
    // What an action without a dialog did, or why a command did nothing,
    // at the status line's right for two seconds.
    void show_status_note(const std::string& note);
    // Where Open map and Merge map start: the map's own folder, else load_path.
    std::string open_folder() const;
    // After Open, New map or Refresh: nothing is held for a rename.
    void clear_rename_box();

    void load_settings(const ini_file& settings);
    void create_windows(const ini_file& settings);
    void build_panels();
    void build_commands();
    void build_status_line();
    void build_view_choices();
    void apply_view_choices();
    void connect_editing();
    // While the handset is busy a command that would change the map or the
    // port is refused with a note in the status line: true then.
    bool refused_during_transfer();
    void connect_surface();
    // The status line for the pointer at `at` on the surface.
    void show_pointer(QPoint at);
    // A press on the map: a waypoint into the item being built, or an item
    // picked for renaming.
    void surface_pressed(QPoint at, Qt::MouseButton button);
    void resize_form();    // lays out the drawing area and projects the map into it
    void reload_lists();   // after the core lists changed
    // Where the last projection put the surface, the view following it as
    // `rule` says, repainted.
    void place_surface(view_rule rule = view_rule::keep);
    void update_caption();  // "*" while the map has unsaved changes, and the undo items
    // The Undo and Redo items and buttons name the step they would take,
    // and are disabled without one.
    void update_undo_items();
    // Asks "Save changes to the map?" when the map has unsaved changes;
    // false when the command that would drop the map must stop.
    bool may_drop_map_now();
    bool save_map_file();  // Save map; whether the file was written
    // The bitmap export of a picture: the save dialog proposing `file_name`,
    // then the file; a failure is an error box.
    void export_picture(const QImage& picture, const std::string& file_name);
    // The legend lists the map's items again and follows what they became.
    void analyse_legend();
    void project_load(bool clear_first);
    void show_read_report(const read_report& report, view_rule rule = view_rule::keep);
    // Merges the GPX files one after another, with a progress bar when
    // there are many; stops at the first that fails. What they add is one
    // step named `step`.
    void import_gpx_files(const std::vector<std::string>& files, const std::string& step);
    // A page shipped with the program: from the program directory, else
    // from beside the executable.
    std::string shipped_file(const std::string& name) const;
    void view_document(const std::string& address);
};

} // namespace wayloom
