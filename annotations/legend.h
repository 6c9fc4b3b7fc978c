// The legend window's state and commands without a screen: which shapes or
// classes are listed, which are chosen, the placement and its nudges, the
// font, the colour changer and the settings section "legend". The window
// (annotations/qt) shows this state and forwards its controls here.
#pragma once

#include "annotations/legend_layout.h"
#include "model/colour.h"
#include "model/settings_section.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

struct map_document;

enum class legend_classification { classes, shapes };

// One line of the window's item list. Items are named by their serial
// number (shapes) or table number (classes), never by address: a shape
// deleted while the list was not rebuilt is then simply not found.
struct legend_list_item {
    std::string text;
    std::int32_t shape_number = 0;  // a shape's serial; 0 for a class
    std::int32_t class_number = -1; // a class's number; −1 for a shape
    bool selected = false;
};

struct legend_state {
    legend_classification classification = legend_classification::classes;
    bool on_map = false;   // drawn on the map
    bool busy = false;     // a drawing is running
    std::int32_t x = 0, y = 0;  // top-left corner on the drawing surface, pixels
    std::int32_t step = 1;      // nudge step, pixels
    legend_font font;
    bool legend_image = false;  // kept in the settings, used by nothing else
    std::vector<legend_list_item> legend_list;
    legend_layout layout;       // rebuilt by update_legend

    std::int32_t count() const { return layout.count(); }
};

// Lists every shape (map order) or every class (class order) and marks the
// list ready (doc.legend_ready). An item listed before keeps its choice. A
// map without shapes lists nothing and stays unready; an empty main shape
// list, or no classes in Classes mode, lists nothing but is ready.
void analyse(legend_state& legend, map_document& doc);

// The map's items changed (read, added, deleted, renamed or recoloured):
// the list is made again and a legend with entries is measured again, so
// that the legend on the map, its exports and its print show what the map
// draws, whether or not the legend window is shown.
void legend_items_changed(legend_state& legend, map_document& doc, const text_measure& measure);

// Rebuilds the entries from the chosen list items in list order: a shape's
// area colour or a class's colour, measured with `measure` (in the legend font).
void update_legend(legend_state& legend, const map_document& doc, const text_measure& measure);

// Gives every chosen shape (Shapes) or class (Classes) the colour; a class's
// shapes take its new colour too. Returns whether any item was recoloured
// (the map then has unsaved changes).
bool change_colour(const legend_state& legend, map_document& doc, colour_value colour);

// What the Plonk button asks of the window afterwards.
struct plonk_result {
    bool button_down = false;  // the button stays pressed
    bool resize = false;       // project the map again (resize_window)
};

// With items on the map and the list ready: update_legend and toggle on_map.
// Otherwise only the button is released and on_map keeps its value.
plonk_result plonk(legend_state& legend, const map_document& doc, const text_measure& measure);

enum class nudge_direction { up, left, down, right };

// Moves the legend by the arrow buttons on a drawing fit_width × fit_height
// pixels. Nothing moves while the list is not ready. Returns whether x or y
// changed (the map is then repainted).
bool nudge_legend(legend_state& legend, const map_document& doc, nudge_direction direction,
                  long double fit_width, long double fit_height);

// The step box: a whole number, or 1 when the text is not one (or is −1),
// in which case the box shows "1" again. Returns the text the box must show,
// or nothing when it stays.
std::optional<std::string> step_edit_change(legend_state& legend, std::string_view text);

// The font size box as read by Update: a whole number held to 1..500
// (see legend_font_size), else 10.
std::int32_t font_size_from_text(std::string_view text);

// A font chosen in the font dialog makes the legend bold only when its style
// is exactly bold: bold with italic, underline or strike-out is not.
struct font_style {
    bool bold = false, italic = false, underline = false, strike_out = false;
};
bool exactly_bold(const font_style& style);

// The settings section "legend". Missing keys and values that are not 32-bit
// whole numbers give the defaults (x 0, y 0, step 1, font size 10, not bold,
// no legend image); so does a font size outside 1..500.
inline constexpr std::string_view legend_section = "legend";
void load_legend_settings(legend_state& legend, const setting_reader& read);
// Booleans as 1 or 0.
void save_legend_settings(const legend_state& legend, const setting_writer& write);

} // namespace wayloom
