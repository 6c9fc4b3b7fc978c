// The main window's editing state: which tab's building mode is on, the shape
// or point set being built or edited, the lists that mirror it, the working
// point lists, the naming counters and the attributes dialog's values. The
// window owns one next to its map_document and view_state and forwards its
// events to the functions declared in the other editing headers.
#pragma once

#include "editing/point_attributes.h"
#include "editing/unsaved_changes.h"
#include "editing/working_point.h"
#include "model/colour.h"
#include "model/item_list.h"
#include "model/point_set.h"
#include "model/shape.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wayloom {

struct map_document;
struct view_state;

// Tab indexes of map_control.
inline constexpr int shapes_tab = 0;
inline constexpr int waypoints_tab = 1;
inline constexpr int points_tab = 2;
inline constexpr int error_tab = 3;

// An item already holding this many classes keeps its classes on a commit.
inline constexpr std::int32_t max_item_classes = 1024;

enum class line_kind { unset, line, polygon };

// What a command asks of the window afterwards.
struct edit_result {
    std::string error;     // the error box's message, exactly; empty when none
    bool repaint = false;  // place shape_window at view.surface and repaint it
    bool legend = false;   // the legend window, when shown, analyses the map again

    edit_result& operator|=(const edit_result& other);
};

struct map_editor {
    map_editor(map_document& doc, view_state& view);

    map_document& doc;
    view_state& view;

    int mode = shapes_tab;       // 1 Waypoints mode, 2 Points mode, else the tab shown
    int shown_tab = shapes_tab;  // the tab map_control shows
    bool building_shape = false;
    bool building_set = false;

    // A new item under construction is the builder's own: it is not part of
    // the map (never written, listed or counted) until it is committed.
    std::unique_ptr<t_shape> new_shape;
    std::unique_ptr<t_set> new_set;
    // A map item taken up for editing is held by serial number, which the
    // map never reuses: an item that went away with the map (a new map
    // opened, the source read again) can never be mistaken for another one.
    std::int32_t build_shape_number = 0;  // 0: none
    std::int32_t build_set_number = 0;

    // The item last right-clicked in shape_list, which shape_edit renames,
    // by serial number (0: none).
    std::int32_t rename_shape_number = 0;
    std::int32_t rename_set_number = 0;

    std::int32_t last_shape_click = -1;  // anchor of a Shift-click range
    std::int32_t last_set_click = -1;
    bool shape_click_busy = false;
    bool set_click_busy = false;

    item_list waypoints_shape_list;  // one entry per node of the shape being built
    item_list points_list;           // one entry per point of the set being built
    item_list waypoints_set_list;    // the Points tab's copy of waypoints_list
    std::vector<working_point> working_points;  // one per point of the set being built

    std::int32_t new_shape_counter = 1;
    std::int32_t new_set_counter = 1;
    std::int32_t no_name_counter = 1;

    line_kind line_choice = line_kind::unset;
    // The colour dialog's colour: where it starts, and what new classes take.
    colour_value chosen_colour = grey;
    point_attributes attributes;

    // right_toolbar and points_toolbar are shown and enabled exactly while these are set.
    bool right_toolbar_shown = false;
    bool points_toolbar_shown = false;

    change_tracker changes;

    // Limits; the set limit is kept here so that it can be reached in a test.
    std::int32_t shape_node_limit = max_shape_nodes;
    std::int32_t set_point_limit = max_set_points;

    // The new item under construction, else the map item taken up for editing.
    t_shape* build_shape() const;
    t_set* build_set() const;

    // Lets go of build items the map no longer holds, with their lists, copies
    // waypoints_list into waypoints_set_list again and points the view at the
    // build items. The window calls it after the map was cleared, read,
    // merged, refreshed from source or given downloaded waypoints.
    void sync_with_map();
    // Points view.building_shape and view.building_set at the build items
    // while their building modes are on, else at nothing: the view shows the
    // build item alone only while it is being built.
    void sync_view();
    // Before the map is cleared: an item taken up for editing loses its mark
    // (it stays listed and goes with the map), a new one not yet committed is
    // dropped, the builder holds nothing any more and no item is held for
    // a rename.
    void release_build_items();
};

} // namespace wayloom
