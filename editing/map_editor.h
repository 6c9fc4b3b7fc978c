// The main window's editing state: the tab shown and the building mode, the
// shape and the point set under construction, the naming counters, the
// attributes dialog's values and the history of edits. The window owns one
// next to its map_document and view_state and forwards its events to the
// commands declared in the other editing headers; every field is the
// editor's own and changes only through its members.
#pragma once

#include "editing/build_item.h"
#include "editing/edit_history.h"
#include "editing/point_attributes.h"
#include "model/colour.h"
#include "model/item_list.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

// Which item is being built: the Waypoints tab builds a shape, the Points
// tab a point set; with the other tabs, or after a commit, neither.
enum class build_mode { none, shape, set };

// A node or point held by the mouse in the list of the item being built,
// from the press that picked it up to the release that lets it go. Each
// drag is told from the others, so that its moves make one step.
class node_drag {
public:
    bool holding() const { return kind_ != build_mode::none; }
    build_mode kind() const { return kind_; }
    std::size_t row() const { return row_; }
    std::int64_t id() const { return id_; }
    void pick(build_mode kind, std::size_t row)
    {
        kind_ = kind;
        row_ = row;
    }
    void moved_to(std::size_t row) { row_ = row; }
    void let_go()
    {
        kind_ = build_mode::none;
        ++id_;
    }

private:
    build_mode kind_ = build_mode::none;
    std::size_t row_ = 0;
    std::int64_t id_ = 0;
};

// What a command asks of the window afterwards.
struct edit_result {
    std::string error;     // the error box's message, exactly; empty when none
    bool repaint = false;  // place shape_window at view.surface and repaint it
    bool legend = false;   // the legend window, when shown, analyses the map again

    edit_result& operator|=(const edit_result& other);
};

class map_editor {
public:
    map_editor(map_document& doc, view_state& view);
    map_editor(const map_editor&) = delete;
    map_editor& operator=(const map_editor&) = delete;

    map_document& doc() const { return doc_; }
    view_state& view() const { return view_; }

    // The tab map_control shows; `mode`, 1 once the Waypoints tab was
    // entered and 2 once the Points tab was, else the tab shown; and which
    // item is being built, which is only ever the item of the mode's tab.
    int shown_tab() const { return shown_tab_; }
    int mode() const { return mode_; }
    build_mode building() const { return building_; }
    bool building_shape() const { return building_ == build_mode::shape; }
    bool building_set() const { return building_ == build_mode::set; }
    void show_tab(int tab) { shown_tab_ = tab; }
    // Building starts with its tab's mode; a mode of another tab ends it.
    void start_building(build_mode mode);
    void stop_building() { building_ = build_mode::none; }
    void set_mode(int mode);

    // The builders of the Waypoints and the Points tab.
    build_item& shape_builder() { return shapes_; }
    const build_item& shape_builder() const { return shapes_; }
    build_item& set_builder() { return sets_; }
    const build_item& set_builder() const { return sets_; }
    build_item& builder(build_mode mode) { return mode == build_mode::set ? sets_ : shapes_; }
    // The new item under construction, else the map item taken up for editing.
    t_shape* build_shape() const { return shapes_.shape(doc_); }
    t_set* build_set() const { return sets_.set(doc_); }
    // The Points tab's copy of waypoints_list.
    item_list& waypoints_set_list() { return waypoints_set_list_; }
    const item_list& waypoints_set_list() const { return waypoints_set_list_; }

    // The item last right-clicked in shape_list, which shape_edit renames,
    // by serial number (0: none).
    void hold_for_rename(std::int32_t shape_number, std::int32_t set_number);
    std::int32_t rename_shape() const { return rename_shape_; }
    std::int32_t rename_set() const { return rename_set_; }

    // clean_name with the editor's "no-name" counter.
    std::string clean(std::string_view text);
    // The number a new shape's (or set's) default name takes; the counter
    // goes up on every new item, named or not, and no undo turns it back.
    std::int32_t take_new_number(build_mode kind);

    line_kind line_choice() const { return line_choice_; }
    void set_line_choice(line_kind choice) { line_choice_ = choice; }
    // The colour dialog's colour: where it starts, and what new classes take.
    colour_value chosen_colour() const { return chosen_colour_; }
    void set_chosen_colour(colour_value colour) { chosen_colour_ = colour; }
    // The attributes dialog's values (its settings, not part of the map).
    point_attributes& attributes() { return attributes_; }
    const point_attributes& attributes() const { return attributes_; }
    // The node being dragged in a list, if any.
    node_drag& drag() { return drag_; }
    const node_drag& drag() const { return drag_; }
    // Each opening of the attributes dialog, until its OK, is one step.
    std::int64_t dialog_opening() const { return dialog_opening_; }
    void next_dialog_opening() { ++dialog_opening_; }

    // Limits; they can be lowered so that a test reaches them.
    std::int32_t node_limit() const { return node_limit_; }
    std::int32_t point_limit() const { return point_limit_; }
    void set_limits(std::int32_t nodes, std::int32_t points)
    {
        node_limit_ = nodes;
        point_limit_ = points;
    }

    edit_history& history() { return history_; }
    const edit_history& history() const { return history_; }
    // Unsaved changes: the map is not as the history's clean state left it.
    bool modified() const { return !history_.clean(); }

    // Lets go of build items the map no longer holds, copies waypoints_list
    // into waypoints_set_list again and points the view at the build items.
    // The window calls it after the map was cleared, read, merged,
    // refreshed from source or given downloaded waypoints.
    void sync_with_map();
    // Points the view at the build items while their building modes are on,
    // else at nothing: the view shows the build item alone only while it is
    // being built.
    void sync_view();
    // Before the map is cleared: an item taken up for editing loses its mark
    // (it stays listed and goes with the map), a new one not yet committed is
    // dropped, the builders hold nothing, nothing is held for a rename and
    // the history is forgotten.
    void release_build_items();

private:
    friend class step_recorder;

    map_document& doc_;
    view_state& view_;
    int mode_ = shapes_tab;
    int shown_tab_ = shapes_tab;
    build_mode building_ = build_mode::none;
    build_item shapes_{s_polygon};
    build_item sets_{s_points};
    item_list waypoints_set_list_;
    std::int32_t rename_shape_ = 0;
    std::int32_t rename_set_ = 0;
    std::int32_t new_shape_counter_ = 1;
    std::int32_t new_set_counter_ = 1;
    std::int32_t no_name_counter_ = 1;
    line_kind line_choice_ = line_kind::unset;
    colour_value chosen_colour_ = grey;
    point_attributes attributes_;
    std::int64_t dialog_opening_ = 0;
    node_drag drag_;
    std::int32_t node_limit_ = max_shape_nodes;
    std::int32_t point_limit_ = max_set_points;
    edit_history history_;
    std::unique_ptr<edit_step> recording_;  // the step being recorded, if any
};

} // namespace wayloom
