// The attributes dialog's current values: what a newly appended point looks
// like, what the marker preview shows, and the dialog's settings section.
// The dialog's widgets only mirror these; the rules live here.
#pragma once

#include "model/colour.h"
#include "model/point_set.h"
#include "model/settings_section.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

inline constexpr std::int32_t min_point_size = 1;   // the track bar's range
inline constexpr std::int32_t max_point_size = 20;
inline constexpr std::int32_t min_typed_point_size = 2;  // the size edit takes 2 to 20
inline constexpr std::int32_t initial_point_size = 10;

struct point_attributes {
    point_type marker = p_circle;
    std::int32_t point_size = initial_point_size;  // marker half-size, pixels
    colour_value area_colour = make_colour(255, 255, 255);
    colour_value border_colour = black;
    std::string name;       // text of the name box
    std::string hint;       // text of the hint box
    bool show_name = true;  // the "Display Point Name" box

    // What map_document::add_point gives a new record.
    point_defaults defaults() const;
};

// The track bar moved: its position becomes the size (and the size edit's text).
void point_track_bar_change(point_attributes& values, std::int32_t position);

// The size edit's text changed: a whole number from 2 to 20 becomes the
// size, returning true. Any other text is left in the box, since it may be
// on its way to a size ("1" before "15"), and changes nothing.
bool scale_edit_change(point_attributes& values, std::string_view text);
// The size edit is done with (Return, or it lost the focus): the text it
// must show, the size in use, which puts back a refused value.
std::string scale_edit_text(const point_attributes& values);

// A marker button: the marker changes only while a point set is being built.
// Returns whether it changed.
bool marker_button_click(point_attributes& values, bool set_being_built, point_type marker);

// The settings section "attributes".
inline constexpr std::string_view attributes_section = "attributes";

// Missing keys and values that are not whole numbers give the defaults: marker
// type 1 (circle, any other number a square), point size 10 (also for any
// size outside 1..20), area colour grey, border black, empty name and hint,
// show name on.
void load_attributes(point_attributes& values, const setting_reader& read);
// Marker type 1 for a circle, else 2; booleans as 1 or 0.
void save_attributes(const point_attributes& values, const setting_writer& write);

} // namespace wayloom
