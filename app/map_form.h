// The main window: the drawing surface on the left, the map's lists on the
// right, the menus and tool strips above. It owns the map and its view
// state, reads the settings file's section "main" when created and writes
// every window's section when closed by its title bar.
#pragma once

#include "app/form_services.h"
#include "app/ini_file.h"
#include "app/program_paths.h"
#include "editing/map_editor.h"
#include "model/item_list.h"
#include "model/map_document.h"
#include "source/reader.h"
#include "view/geometry/view_state.h"

#include <QMainWindow>
#include <QPoint>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace wayloom {

class item_list_view;
class map_surface;
class Tattributes_form;
class Tgps_form;

class Tmap_form : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmap_form(startup_options options, form_services services = {},
                       QWidget* parent = nullptr);
    ~Tmap_form() override;

    // The map and its projection.
    map_document doc;
    view_state state;

    // Program-wide directories, each ending with "/".
    const startup_options& options() const { return options_; }
    std::string load_path;  // where Open map and Merge map start
    std::string save_path;  // where Save map and Export start
    std::int32_t monitor = -1;  // monitor the window was placed on

    // The editing rules with the build modes of the Waypoints and Points
    // tabs and the lists shown while an item is built; while a build mode is
    // on, the file commands and the export do nothing.
    map_editor editor{doc, state};
    bool building() const { return editor.building_shape || editor.building_set; }
    Tattributes_form* attributes = nullptr;
    Tgps_form* gps_form = nullptr;

    // Other windows add the writers of their settings sections here; the
    // close writes them in the order added, after the section "main".
    std::vector<std::function<void(ini_file&)>> settings_writers;

    std::string settings_file() const;  // program directory + "wayloom.ini"

    void load_settings();
    void save_settings();
    // Lays out the drawing area and projects the map into it.
    void resize_form();
    // Reads a map file into the map as it stands (callers clear it first);
    // whether it was read without an error.
    bool read_map_file(const std::string& file_name);
    // Shows every list again after the core lists changed.
    void reload_lists();
    // Moves the drawing surface to where the last projection put it and repaints.
    void place_surface();
    // Shows what an editing command did: its error, the lists, the build
    // tool strips, the surface and the caption.
    void apply(const edit_result& result);
    // The caption, with "*" while the map has unsaved changes.
    void update_caption();
    // Asks "Save changes to the map?" when the map has unsaved changes;
    // false when the command that would drop the map must stop.
    bool may_drop_map_now();

    // Panels and controls, named by role.
    QWidget* map_panel = nullptr;
    QWidget* toolbar_panel = nullptr;
    QToolBar* main_toolbar = nullptr;
    QToolBar* right_toolbar = nullptr;   // shape building
    QToolBar* points_toolbar = nullptr;  // point building
    QWidget* draw_panel = nullptr;
    map_surface* shape_window = nullptr;
    QWidget* source_panel = nullptr;
    QTabWidget* map_control = nullptr;

    QWidget* shapes_sheet = nullptr;
    QWidget* shape_panel = nullptr;
    QLineEdit* shape_edit = nullptr;
    item_list_view* shape_list = nullptr;

    QWidget* waypoints_sheet = nullptr;
    QWidget* classes_panel = nullptr;
    QLineEdit* class_edit = nullptr;
    item_list_view* class_list = nullptr;
    QSplitter* waypoint_panel = nullptr;
    item_list_view* waypoints_shape_list = nullptr;
    item_list_view* waypoints_list = nullptr;

    QWidget* points_sheet = nullptr;
    QWidget* points_classes_panel = nullptr;
    QLineEdit* points_class_edit = nullptr;
    item_list_view* points_class_list = nullptr;
    QSplitter* points_panel = nullptr;
    item_list_view* points_list = nullptr;
    item_list_view* waypoints_set_list = nullptr;

    QWidget* error_sheet = nullptr;
    item_list_view* error_list = nullptr;

    static constexpr int shapes_page = 0, waypoints_page = 1, points_page = 2, error_page = 3;

    // Menu items, by menu.
    QAction *new_map_item, *open_map_item, *merge_map_item, *save_map_item, *print_map_item,
        *export_item, *preferences_item, *exit_item;
    QAction *copy_item, *cut_item, *paste_item, *delete_item, *edit_item;
    QAction *refresh_item, *redraw_item, *statistics_item, *scale_item, *legend_item;
    QAction *gps_item, *init_gps_item, *download_item;
    QAction *shapes_attributes_item, *add_shape_item, *shapes_up_item, *shapes_down_item,
        *shapes_delete_item;
    QAction *points_attributes_item, *add_set_item, *points_up_item, *points_down_item,
        *points_delete_item;
    QAction *classes_attributes_item, *add_class_item, *delete_class_item;
    QAction *about_item, *help_menu_item, *kestrow_menu_item, *kestrow_website_item;

    // Main tool strip buttons.
    QAction *new_button, *open_button, *merge_button, *save_button, *print_button, *export_button,
        *copy_button, *cut_button, *paste_button, *statistics_button, *legend_button,
        *scale_button, *gps_button, *update_button, *draw_button, *delete_shape_button,
        *edit_shape_button, *exit_button;

    // Shape-building and point-building tool strips.
    QAction *delete_button, *down_button, *up_button, *add_shape_buttton, *add_class_button,
        *path_button, *polygon_button, *colour_button;
    QAction *delete_point_button, *move_point_down_button, *move_point_up_button,
        *add_point_button, *point_attributes_button;

public slots:
    void load_project();   // File "&Open map"
    void merge_project();  // File "&Merge map"
    void save_project();   // File "&Save map"
    void colour_buttonClick();  // the "Attributes page" buttons and "&Show attributes"
    void gps_buttonClick();     // "&Show/Hide GPS dialog"
    void init_gps_itemClick();
    void download_itemClick();
    void export_buttonClick();
    void update_buttonClick();  // View "&Refresh from source"
    void draw_buttonClick();    // View "Re&draw map"
    void exit_itemClick();
    void exit_buttonClick();
    void help_menu_itemClick();
    void kestrow_menu_itemClick();
    void kestrow_website_itemClick();

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    startup_options options_;
    form_services services_;
    bool loading_settings_ = false;
    bool resizing_ = false;
    std::string map_file_name_;  // the name the save dialog proposes for a map
    QPoint rename_point{-1, -1};  // where shape_list was last right-clicked

    void build_panels();
    void build_menus();
    void build_toolbars();
    void connect_editing();
    bool save_map_file();  // Save map; whether the file was written
    void project_load(bool clear_first);
    void show_read_report(const read_report& report, const std::string& missing_name);
    // A page shipped with the program: from the program directory, else
    // from beside the executable.
    std::string shipped_file(const std::string& name) const;
    void view_document(const std::string& address);
};

} // namespace wayloom
