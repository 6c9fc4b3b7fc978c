// The main window's menus and tool strips, built from one table.
#include "app/map_form_commands.h"

#include "app/map_form.h"
#include "app/toolbar_icons.h"
#include "editing/item_commands.h"
#include "editing/node_moves.h"
#include "editing/shape_closing.h"
#include "editing/undo_commands.h"

#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace wayloom {

namespace {

using F = Tmap_form;
constexpr command_place menu = command_place::menu;
constexpr command_place main_strip = command_place::main_strip;
constexpr command_place shape_strip = command_place::shape_strip;
constexpr command_place point_strip = command_place::point_strip;

// Menu items: place, menu, caption, hint, -, -, enabled, slot.
// Buttons: place, -, -, hint, icon, letter, enabled, slot.
const command_row commands[] = {
    {menu, "&File", "&New map", nullptr, nullptr, 0, true, &F::new_map_itemClick},
    {menu, "&File", "&Open map", nullptr, nullptr, 0, true, &F::load_project},
    {menu, "&File", "&Merge map", nullptr, nullptr, 0, true, &F::merge_project},
    {menu, "&File", "&Save map", nullptr, nullptr, 0, true, &F::save_project},
    {menu, "&File", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&File", "&Print map", "Print the map, or write it as a PDF, at a scale", nullptr, 0, true, &F::print_itemClick},
    {menu, "&File", "&Export to bitmap", "Export map image to disk", nullptr, 0, true, &F::export_buttonClick},
    {menu, "&File", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&File", "Import GPX...", "Add the waypoints, tracks and routes of a GPX file to the map", nullptr, 0, true, &F::import_gpx_itemClick},
    {menu, "&File", "Export GPX...", "Write the waypoints, shapes and paths as a GPX file", nullptr, 0, true, &F::export_gpx_itemClick},
    {menu, "&File", "Export to GIS...", "Write the map as GeoJSON, KML or Shapefiles for GIS programs", nullptr, 0, true, &F::export_gis_itemClick},
    {menu, "&File", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&File", "Pre&ferences...", "Change program settings", nullptr, 0, true, &F::preferences_itemClick},
    {menu, "&File", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&File", "E&xit", nullptr, nullptr, 0, true, &F::exit_itemClick},

    {menu, "&Edit", "&Undo", "Take back the last edit", nullptr, 0, false, &F::undo_itemClick},
    {menu, "&Edit", "&Redo", "Do again the edit taken back", nullptr, 0, false, &F::redo_itemClick},
    {menu, "&Edit", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&Edit", "&Copy", nullptr, nullptr, 0, false, nullptr},
    {menu, "&Edit", "&Cut", nullptr, nullptr, 0, false, nullptr},
    {menu, "&Edit", "&Paste", nullptr, nullptr, 0, false, nullptr},
    {menu, "&Edit", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&Edit", "&Delete", nullptr, nullptr, 0, true, &F::run_edit<delete_shape_button_click>},
    {menu, "&Edit", "&Edit", nullptr, nullptr, 0, true, &F::run_edit<edit_shape_button_click>},

    {menu, "&View", "&Refresh from source", nullptr, nullptr, 0, true, &F::update_buttonClick},
    {menu, "&View", "Re&draw map", nullptr, nullptr, 0, true, &F::draw_buttonClick},
    {menu, "&View", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&View", "Zoom in", "Show the map larger about its middle", nullptr, 0, true, &F::zoom_in_itemClick},
    {menu, "&View", "Zoom out", "Show more of the map, down to all of it", nullptr, 0, true, &F::zoom_out_itemClick},
    {menu, "&View", "Zoom to fit", "Show the whole drawing again", nullptr, 0, true, &F::zoom_to_fit_itemClick},
    {menu, "&View", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&View", keep_view_caption, "Draw map keeps the zoom and the middle instead of fitting again", nullptr, 0, true, nullptr},
    {menu, "&View", map_behind_caption, "Draw the map around the shape or point set being built", nullptr, 0, true, nullptr},
    {menu, "&View", waypoints_caption, "Show every waypoint as a dot; a click on one adds it while building", nullptr, 0, true, nullptr},
    {menu, "&View", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&View", "Statistics...", "Statistics dialog", nullptr, 0, true, &F::statistics_buttonClick},
    {menu, "&View", "Scale ruler...", "Distance ruler", nullptr, 0, true, &F::scale_buttonClick},
    {menu, "&View", "Legend...", "Legend for map", nullptr, 0, true, &F::legend_buttonClick},

    {menu, "&GPS", "&Show/Hide GPS dialog", "Display or hide GPS panel", nullptr, 0, true, &F::gps_buttonClick},
    {menu, "&GPS", "&Initialise GPS", "Initialise the GPS handset. Must be set to Garmin.", nullptr, 0, true, &F::init_gps_itemClick},
    {menu, "&GPS", "&Download Waypoints", "Download waypoints from GPS", nullptr, 0, true, &F::download_itemClick},
    {menu, "&GPS", "Import from handset drive...", "Add the waypoints, tracks and routes of a handset that shows up as a USB drive", nullptr, 0, true, &F::handset_drive_itemClick},

    {menu, "&Shapes", "&Show attributes", nullptr, nullptr, 0, true, &F::colour_buttonClick},
    {menu, "&Shapes", "&Add shape", nullptr, nullptr, 0, true, &F::run_edit<add_shape_buttton_click>},
    {menu, "&Shapes", "Move &up", nullptr, nullptr, 0, true, &F::run_edit<up_button_click>},
    {menu, "&Shapes", "Move &down", nullptr, nullptr, 0, true, &F::run_edit<down_button_click>},
    {menu, "&Shapes", "D&elete", nullptr, nullptr, 0, true, &F::run_edit<delete_button_click>},
    {menu, "&Shapes", "-", nullptr, nullptr, 0, true, nullptr},
    {menu, "&Shapes", "Close path", "Make the selected paths shapes", nullptr, 0, true, &F::run_edit<close_path>},
    {menu, "&Shapes", "Open shape", "Make the selected shapes paths", nullptr, 0, true, &F::run_edit<open_shape>},

    {menu, "&Points", "&Show attributes", nullptr, nullptr, 0, true, &F::colour_buttonClick},
    {menu, "&Points", "&Add set", nullptr, nullptr, 0, true, &F::run_edit<add_shape_buttton_click>},
    {menu, "&Points", "Move &up", nullptr, nullptr, 0, true, &F::run_edit<points_up_button_click>},
    {menu, "&Points", "Move points &down", nullptr, nullptr, 0, true, &F::run_edit<points_down_button_click>},
    {menu, "&Points", "D&elete", nullptr, nullptr, 0, true, &F::run_edit<delete_point_button_click>},

    {menu, "&Classes", "&Show attributes", nullptr, nullptr, 0, true, &F::colour_buttonClick},
    {menu, "&Classes", "&Add class", nullptr, nullptr, 0, true, &F::add_class_buttonClick},
    {menu, "&Classes", "&Delete class", nullptr, nullptr, 0, true, nullptr},

    {menu, "&Help", "About", nullptr, nullptr, 0, true, &F::about_itemClick},
    {menu, "&Help", "&Help", nullptr, nullptr, 0, true, &F::help_menu_itemClick},
    {menu, "&Help", "What is Kestrow", nullptr, nullptr, 0, true, &F::kestrow_menu_itemClick},
    {menu, "&Help", "Kestrow Website", nullptr, nullptr, 0, true, &F::kestrow_website_itemClick},

    {main_strip, nullptr, nullptr, "Create new map", "document-new", 'N', true, &F::new_map_itemClick},
    {main_strip, nullptr, nullptr, "Open a map", "document-open", 'O', true, &F::load_project},
    {main_strip, nullptr, nullptr, "Merge map", "list-add", 'M', true, &F::merge_project},
    {main_strip, nullptr, nullptr, "Save map", "document-save", 'S', true, &F::save_project},
    {main_strip, nullptr, nullptr, "Print Map", "document-print", 'P', true, &F::print_itemClick},
    {main_strip, nullptr, nullptr, "Export map to bitmap", "insert-image", 'X', true, &F::export_buttonClick},
    {main_strip, nullptr, "-", nullptr, nullptr, 0, true, nullptr},
    {main_strip, nullptr, nullptr, "Undo", "edit-undo", 'Z', false, &F::undo_itemClick},
    {main_strip, nullptr, nullptr, "Redo", "edit-redo", 'Y', false, &F::redo_itemClick},
    {main_strip, nullptr, "-", nullptr, nullptr, 0, true, nullptr},
    {main_strip, nullptr, nullptr, "Copy shape to clipboard [not implemented]", "edit-copy", 'C', false, nullptr},
    {main_strip, nullptr, nullptr, "Move shape to clipboard [not implemented]", "edit-cut", 'U', false, nullptr},
    {main_strip, nullptr, nullptr, "Paste shape from clipboard [not implemented]", "edit-paste", 'V', false, nullptr},
    {main_strip, nullptr, "-", nullptr, nullptr, 0, true, nullptr},
    {main_strip, nullptr, nullptr, "The Stastics Page", "accessories-calculator", 'T', true, &F::statistics_buttonClick},
    {main_strip, nullptr, nullptr, "Place legend on map", "format-justify-left", 'L', true, &F::legend_buttonClick},
    {main_strip, nullptr, nullptr, "The Scale Ruler", "zoom-fit-best", 'R', true, &F::scale_buttonClick},
    {main_strip, nullptr, nullptr, "Hide/Show GPS configuration", "network-transmit-receive", 'G', true, &F::gps_buttonClick},
    {main_strip, nullptr, "-", nullptr, nullptr, 0, true, nullptr},
    {main_strip, nullptr, nullptr, "Update manual changes made to map source", "document-revert", 'U', true, &F::update_buttonClick},
    {main_strip, nullptr, nullptr, "Draw map", "applications-graphics", 'D', true, &F::draw_buttonClick},
    {main_strip, nullptr, "-", nullptr, nullptr, 0, true, nullptr},
    {main_strip, nullptr, nullptr, "Delete Shape", "edit-delete", 'E', true, &F::run_edit<delete_shape_button_click>},
    {main_strip, nullptr, nullptr, "Edit Shape", "document-properties", 'E', true, &F::run_edit<edit_shape_button_click>},
    {main_strip, nullptr, "-", nullptr, nullptr, 0, true, nullptr},
    {main_strip, nullptr, nullptr, "Exit from Wayloom", "application-exit", 'Q', true, &F::exit_buttonClick},

    {shape_strip, nullptr, nullptr, "Delete node in shape", "list-remove", '-', true, &F::run_edit<delete_button_click>},
    {shape_strip, nullptr, nullptr, "Move node down in list", "go-down", 'v', true, &F::run_edit<down_button_click>},
    {shape_strip, nullptr, nullptr, "Move node up in list", "go-up", '^', true, &F::run_edit<up_button_click>},
    {shape_strip, nullptr, nullptr, "Add node to map", "list-add", '+', true, &F::run_edit<add_shape_buttton_click>},
    {shape_strip, nullptr, nullptr, "Create Class", "folder-new", 'K', true, &F::add_class_buttonClick},
    {shape_strip, nullptr, nullptr, "Draw shape as line", "line", 0, true, &F::run_edit<path_button_click>},
    {shape_strip, nullptr, nullptr, "Draw shape as polygon", "polygon", 0, true, &F::run_edit<polygon_button_click>},
    {shape_strip, nullptr, nullptr, "Attributes page", "preferences-desktop-theme", 'A', true, &F::colour_buttonClick},

    {point_strip, nullptr, nullptr, "Delete node in shape", "list-remove", '-', true, &F::run_edit<delete_point_button_click>},
    {point_strip, nullptr, nullptr, "Move node down in list", "go-down", 'v', true, &F::run_edit<points_down_button_click>},
    {point_strip, nullptr, nullptr, "Move node up in list", "go-up", '^', true, &F::run_edit<points_up_button_click>},
    {point_strip, nullptr, nullptr, "Add node to map", "list-add", '+', true, &F::run_edit<add_shape_buttton_click>},
    {point_strip, nullptr, nullptr, "Attributes page", "preferences-desktop-theme", 'A', true, &F::colour_buttonClick},
};

// The standard keys, beside the captions' access keys. Zooming and
// panning by plain keys, and Delete, which acts on what the tab shown
// holds, are the surface's and the window's own (map_form_view.cpp).
const shortcut_row shortcuts[] = {
    {"&File", "&New map", "Ctrl+N"},
    {"&File", "&Open map", "Ctrl+O"},
    {"&File", "&Save map", "Ctrl+S"},
    {"&File", "&Print map", "Ctrl+P"},
    {"&File", "E&xit", "Ctrl+Q"},
    {"&View", "Re&draw map", "F5"},
    {"&View", "Zoom in", "Ctrl+=", "Ctrl++"},
    {"&View", "Zoom out", "Ctrl+-"},
    {"&View", "Zoom to fit", "Ctrl+0"},
    {"&Help", "&Help", "F1"},
};

QIcon button_icon(const command_row& row)
{
    if (std::strcmp(row.icon, "line") == 0) return line_icon();
    if (std::strcmp(row.icon, "polygon") == 0) return polygon_icon();
    return theme_icon(QString::fromUtf8(row.icon), QChar(row.letter));
}

QList<QKeySequence> key_sequences(const shortcut_row& row)
{
    QList<QKeySequence> keys{QKeySequence(QString::fromUtf8(row.key), QKeySequence::PortableText)};
    if (row.other_key) keys << QKeySequence(QString::fromUtf8(row.other_key), QKeySequence::PortableText);
    return keys;
}

bool is_separator(const command_row& row) { return row.caption && std::strcmp(row.caption, "-") == 0; }

// What runs while the handset is busy: commands that leave the map and the
// port as they are. Anything else waits for the transfer to end.
bool runs_during_transfer(void (Tmap_form::*slot)())
{
    constexpr void (Tmap_form::*harmless[])() = {
        &F::save_project, &F::print_itemClick, &F::export_buttonClick, &F::export_gpx_itemClick,
        &F::preferences_itemClick, &F::draw_buttonClick, &F::statistics_buttonClick, &F::scale_buttonClick,
        &F::legend_buttonClick, &F::gps_buttonClick, &F::about_itemClick, &F::help_menu_itemClick,
        &F::kestrow_menu_itemClick, &F::kestrow_website_itemClick};
    return std::find(std::begin(harmless), std::end(harmless), slot) != std::end(harmless);
}

} // namespace

std::span<const command_row> map_form_commands() { return commands; }

std::span<const shortcut_row> map_form_shortcuts() { return shortcuts; }

void Tmap_form::update_undo_items()
{
    if (!ui_.undo_item) return;
    const std::pair<QAction*, QAction*> items[] = {{ui_.undo_item, ui_.undo_button},
                                                   {ui_.redo_item, ui_.redo_button}};
    for (const auto& [menu_item, button] : items) {
        const bool undo = menu_item == ui_.undo_item;
        const QString text = QString::fromStdString(undo ? undo_caption(editor) : redo_caption(editor));
        const bool enabled = undo ? editor.history().can_undo() : editor.history().can_redo();
        menu_item->setText("&" + text);
        menu_item->setEnabled(enabled);
        button->setToolTip(text);
        button->setEnabled(enabled);
    }
}

void Tmap_form::build_commands()
{
    QMenu* current = nullptr;
    for (const command_row& row : commands) {
        QToolBar* strip = row.place == command_place::main_strip    ? ui_.main_toolbar
                          : row.place == command_place::shape_strip ? ui_.right_toolbar
                          : row.place == command_place::point_strip ? ui_.points_toolbar
                                                                    : nullptr;
        if (!strip && (!current || current->title() != QString::fromUtf8(row.menu))) {
            current = menuBar()->addMenu(QString::fromUtf8(row.menu));
            current->setToolTipsVisible(true);
        }
        if (is_separator(row)) {
            if (strip) strip->addSeparator();
            else current->addSeparator();
            continue;
        }
        QAction* action = strip ? strip->addAction(button_icon(row), QString::fromUtf8(row.hint))
                                : current->addAction(QString::fromUtf8(row.caption));
        if (row.hint) {
            action->setStatusTip(QString::fromUtf8(row.hint));
            action->setToolTip(QString::fromUtf8(row.hint));
        }
        action->setEnabled(row.enabled);
        if (row.slot)
            connect(action, &QAction::triggered, this, [this, slot = row.slot] {
                if (runs_during_transfer(slot) || !refused_during_transfer()) (this->*slot)();
            });
        for (const shortcut_row& keys : shortcuts)
            if (!strip && std::strcmp(keys.menu, row.menu) == 0 && std::strcmp(keys.caption, row.caption) == 0)
                action->setShortcuts(key_sequences(keys));
        if (strip && std::strcmp(row.icon, "line") == 0) ui_.path_button = action;
        if (strip && std::strcmp(row.icon, "polygon") == 0) ui_.polygon_button = action;
        if (row.slot == &F::undo_itemClick) (strip ? ui_.undo_button : ui_.undo_item) = action;
        if (row.slot == &F::redo_itemClick) (strip ? ui_.redo_button : ui_.redo_item) = action;
    }
    // The desktop's keys for undo and redo; Ctrl+Y as well wherever Redo lacks it.
    ui_.undo_item->setShortcuts(QKeySequence::Undo);
    QList<QKeySequence> redo_keys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redo_keys.contains(key)) redo_keys.append(key);
    ui_.redo_item->setShortcuts(redo_keys);

    // The two shape kinds are one choice; a new build starts as a path.
    auto* kinds = new QActionGroup(ui_.right_toolbar);
    for (QAction* kind : {ui_.path_button, ui_.polygon_button}) {
        kind->setCheckable(true);
        kinds->addAction(kind);
    }
    ui_.path_button->setChecked(true);

    // Shown while a shape or a point set is being built.
    for (QToolBar* strip : {ui_.right_toolbar, ui_.points_toolbar}) {
        strip->setVisible(false);
        strip->setEnabled(false);
    }
}

} // namespace wayloom
