// Measurement units: the unit lengths and areas are shown in, its names and
// its length per degree of arc. The preferences window chooses the unit; the
// scale ruler, the area report and wayloom-cli read it. One factor serves
// both axes: the longitude axis is already corrected for latitude.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

enum class measurement_system { metric, imperial };
enum class metric_unit { metre, kilometre };
enum class imperial_unit { feet, yard, mile };

// The three choices of the preferences; the unit follows from them.
struct unit_choice {
    measurement_system system = measurement_system::metric;
    metric_unit metric = metric_unit::metre;
    imperial_unit imperial = imperial_unit::feet;
    friend bool operator==(const unit_choice&, const unit_choice&) = default;
};

struct unit_info {
    std::string_view name;          // "Metres", "Kilometers", "Feet", "Yards", "Miles"
    std::string_view abbreviation;  // "M", "Km", "Ft", "Yd", "Ml"
    long double per_degree;         // the unit's count in one degree of arc
};

unit_info unit_of(const unit_choice& choice);

// `degrees` of arc in the chosen unit, in extended precision.
long double degrees_to_units(const unit_choice& choice, long double degrees);

// An area held in square map units in the chosen unit squared: square
// degrees times the square of the unit's length per degree.
long double map_area_to_units(const unit_choice& choice, long double map_area);

// The unit named "metre", "kilometre", "feet", "yard" or "mile", as
// wayloom-cli's --unit takes it; nothing for any other text.
std::optional<unit_choice> unit_named(std::string_view name);

// The program's current unit with the scale ruler's two recompute flags,
// which the preferences and the ruler's own controls both raise and the
// ruler clears once it has recomputed.
struct measurement {
    unit_choice choice;
    bool scale_changed = true;  // length and position of the ruler
    bool units_changed = true;  // the map's extent in units

    unit_info unit() const { return unit_of(choice); }
    // Takes a new choice; when any of its three parts differs, raises both
    // flags and returns true (the map must be repainted).
    bool choose(const unit_choice& next)
    {
        if (next == choice) return false;
        choice = next;
        scale_changed = units_changed = true;
        return true;
    }
    long double to_units(long double degrees) const { return degrees_to_units(choice, degrees); }
};

// The preferences' settings keys: "measurement" is "metric" or "imperial",
// "metric" is "metre" or "kilometer" (sic), "imperial" is "feet", "yard" or
// "mile". Reading compares exactly: anything but "metric" selects Imperial,
// anything but "metre" Kilometre, anything but "feet" or "yard" Mile; a
// missing key keeps `current`.
struct unit_settings {
    std::optional<std::string> measurement, metric, imperial;
};
unit_choice read_unit_choice(const unit_settings& stored, unit_choice current = {});
unit_settings write_unit_choice(const unit_choice& choice);

} // namespace wayloom
