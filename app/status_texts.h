// The status line's texts: the position and item under the pointer, the
// zoom, and the notes a command leaves there instead of a dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wayloom {

struct map_document;
struct t_mapper;

inline constexpr const char* nothing_to_draw_note = "Nothing to draw: select shapes in the list";

// "52.123456, -4.500000": latitude, then longitude, in degrees.
std::string position_text(long double lat_degrees, long double lon_degrees);

// The item's name, then its classes in brackets: "pond (water, wildlife)".
std::string item_text(const map_document& doc, const t_mapper& item);

// "1×", "1.25×", "12.5×", "9537×": two decimals below 10, one below 100,
// none above, without trailing zeros.
std::string zoom_text(long double zoom);

// "Imported 12 waypoints from 3 files".
std::string imported_note(std::int64_t waypoints, std::size_t files);

// "Downloaded 33 waypoints in 2.4 s".
std::string downloaded_note(std::int64_t waypoints, double seconds);

} // namespace wayloom
