// The main window's panels, lists and the tool strip buttons it needs by
// name, filled by the layout (map_form_layout.cpp) and the command table
// (map_form_commands.cpp). Every other menu item and button is reached
// through the command table alone.
#pragma once

class QAction;
class QLabel;
class QLineEdit;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;
class QWidget;

namespace wayloom {

class item_list_view;
class map_surface;

// The Waypoints or the Points tab: classes on top, then the item being
// built over the waypoints to build it from.
struct build_sheet {
    QWidget* sheet = nullptr;
    QWidget* classes_panel = nullptr;
    QLineEdit* class_edit = nullptr;
    item_list_view* class_list = nullptr;
    QSplitter* lower = nullptr;
    item_list_view* built = nullptr;      // one entry per node or point
    item_list_view* waypoints = nullptr;  // what a click adds to the item
};

struct map_form_controls {
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

    build_sheet waypoints_sheet;  // builds shapes from waypoints_list
    build_sheet points_sheet;     // builds point sets from its copy of it

    QWidget* error_sheet = nullptr;
    item_list_view* error_list = nullptr;

    // At the status line's right: what a command did or why it waits, for
    // two seconds (the hints shown while the pointer is over a command do
    // not cover it); the item and the position under the pointer; the zoom.
    QLabel* status_note = nullptr;
    QTimer* status_note_timer = nullptr;
    QLabel* status_item = nullptr;
    QLabel* status_position = nullptr;
    QLabel* status_zoom = nullptr;

    // The shape-kind buttons of the shape-building strip, which show the
    // kind of the shape being built.
    QAction* path_button = nullptr;
    QAction* polygon_button = nullptr;

    // Edit "Undo" and "Redo" and their buttons, which name the step.
    QAction* undo_item = nullptr;
    QAction* redo_item = nullptr;
    QAction* undo_button = nullptr;
    QAction* redo_button = nullptr;
};

} // namespace wayloom
