#include "view/geometry/units.h"

#include "model/map_units.h"

namespace wayloom {

unit_info unit_of(const unit_choice& choice)
{
    if (choice.system == measurement_system::metric) {
        if (choice.metric == metric_unit::metre) return {"Metres", "M", 111205.394L};
        return {"Kilometers", "Km", 111.205394L};
    }
    switch (choice.imperial) {
    case imperial_unit::feet: return {"Feet", "Ft", 364848.0L};
    case imperial_unit::yard: return {"Yards", "Yd", 121616.0L};
    case imperial_unit::mile: break;
    }
    return {"Miles", "Ml", 69.1L};
}

long double degrees_to_units(const unit_choice& choice, long double degrees)
{
    return degrees * unit_of(choice).per_degree;
}

long double map_area_to_units(const unit_choice& choice, long double map_area)
{
    const long double square_degrees = to_degrees(to_degrees(map_area));
    return degrees_to_units(choice, degrees_to_units(choice, square_degrees));
}

std::optional<unit_choice> unit_named(std::string_view name)
{
    unit_choice choice;
    if (name == "metre") return choice;
    if (name == "kilometre") {
        choice.metric = metric_unit::kilometre;
        return choice;
    }
    choice.system = measurement_system::imperial;
    if (name == "feet") return choice;
    if (name == "yard") {
        choice.imperial = imperial_unit::yard;
        return choice;
    }
    if (name == "mile") {
        choice.imperial = imperial_unit::mile;
        return choice;
    }
    return std::nullopt;
}

unit_choice read_unit_choice(const unit_settings& stored, unit_choice current)
{
    if (stored.measurement)
        current.system = *stored.measurement == "metric" ? measurement_system::metric
                                                         : measurement_system::imperial;
    if (stored.metric)
        current.metric = *stored.metric == "metre" ? metric_unit::metre : metric_unit::kilometre;
    if (stored.imperial)
        current.imperial = *stored.imperial == "feet"   ? imperial_unit::feet
                           : *stored.imperial == "yard" ? imperial_unit::yard
                                                        : imperial_unit::mile;
    return current;
}

unit_settings write_unit_choice(const unit_choice& choice)
{
    unit_settings out;
    out.measurement = choice.system == measurement_system::metric ? "metric" : "imperial";
    out.metric = choice.metric == metric_unit::metre ? "metre" : "kilometer";
    out.imperial = choice.imperial == imperial_unit::feet   ? "feet"
                   : choice.imperial == imperial_unit::yard ? "yard"
                                                            : "mile";
    return out;
}

} // namespace wayloom
