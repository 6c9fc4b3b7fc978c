#include "editing/point_attributes.h"

#include "source/number_text.h"

#include <limits>

namespace wayloom {

namespace {

std::int64_t read_integer(const setting_reader& read, std::string_view key, std::int64_t fallback)
{
    const std::optional<std::string> text = read ? read(key) : std::nullopt;
    if (!text) return fallback;
    return parse_whole_number(*text).value_or(fallback);
}

colour_value read_colour(const setting_reader& read, std::string_view key, colour_value fallback)
{
    const std::int64_t value = read_integer(read, key, fallback);
    if (value < 0 || value > std::numeric_limits<colour_value>::max()) return fallback;
    return static_cast<colour_value>(value);
}

} // namespace

point_defaults point_attributes::defaults() const
{
    return {marker, show_name, static_cast<long double>(point_size)};
}

void point_track_bar_change(point_attributes& values, std::int32_t position)
{
    if (position < min_point_size) position = min_point_size;
    if (position > max_point_size) position = max_point_size;
    values.point_size = position;
}

bool scale_edit_change(point_attributes& values, std::string_view text)
{
    const std::optional<std::int64_t> typed = parse_whole_number(text);
    if (!typed || *typed < min_typed_point_size || *typed > max_point_size) return false;
    values.point_size = static_cast<std::int32_t>(*typed);
    return true;
}

std::string scale_edit_text(const point_attributes& values) { return std::to_string(values.point_size); }

bool marker_button_click(point_attributes& values, bool set_being_built, point_type marker)
{
    if (!set_being_built) return false;
    values.marker = marker;
    return true;
}

void load_attributes(point_attributes& values, const setting_reader& read)
{
    values.marker = read_integer(read, "marker_type", 1) == 1 ? point_type{p_circle}
                                                             : point_type{p_square};
    const std::int64_t size = read_integer(read, "point_size", initial_point_size);
    values.point_size = size < min_point_size || size > max_point_size
                            ? initial_point_size
                            : static_cast<std::int32_t>(size);
    values.area_colour = read_colour(read, "colour", grey);
    values.border_colour = read_colour(read, "border", black);
    const std::optional<std::string> name = read ? read("name") : std::nullopt;
    values.name = name.value_or("");
    const std::optional<std::string> hint = read ? read("hint") : std::nullopt;
    values.hint = hint.value_or("");
    values.show_name = read_integer(read, "show_name", 1) != 0;
}

void save_attributes(const point_attributes& values, const setting_writer& write)
{
    if (!write) return;
    write("marker_type", (values.marker & p_circle) ? "1" : "2");
    write("point_size", std::to_string(values.point_size));
    write("colour", std::to_string(values.area_colour));
    write("border", std::to_string(values.border_colour));
    write("name", values.name);
    write("hint", values.hint);
    write("show_name", values.show_name ? "1" : "0");
}

} // namespace wayloom
