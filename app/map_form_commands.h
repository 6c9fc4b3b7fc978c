// The main window's menus and tool strips as one table: each row is a menu
// item or a tool button with its caption, hint, state and the window's slot
// it runs. The window builds its menu bar and strips from the table alone.
#pragma once

#include <span>

namespace wayloom {

class Tmap_form;

// Where a row shows.
enum class command_place {
    menu,         // an item of the menu named by the row
    main_strip,   // a button of the main tool strip
    shape_strip,  // a button of the shape-building strip
    point_strip,  // a button of the point-building strip
};

struct command_row {
    command_place place;
    const char* menu;     // the menu bar entry ("&File"); nullptr for a button
    const char* caption;  // the item's caption; "-" a separator; nullptr for a button
    const char* hint;     // status tip and tool tip; a button's only text; may be nullptr
    const char* icon;     // a button's theme icon ("document-open"), or "line", "polygon"
    char letter;          // drawn instead when the theme has no such icon
    bool enabled;
    void (Tmap_form::*slot)();  // nullptr: the row has no action
};

std::span<const command_row> map_form_commands();

// The View menu's check items, saved in the settings file.
inline constexpr const char* keep_view_caption = "Keep the view on redraw";
inline constexpr const char* map_behind_caption = "Map behind the item being built";
inline constexpr const char* waypoints_caption = "Waypoints";

// The standard keys of the menu item `caption` of `menu`, as QKeySequence
// reads them ("Ctrl+S").
struct shortcut_row {
    const char* menu;
    const char* caption;
    const char* key;
    const char* other_key = nullptr;
};

std::span<const shortcut_row> map_form_shortcuts();

} // namespace wayloom
