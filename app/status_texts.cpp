#include "app/status_texts.h"

#include "model/map_class.h"
#include "model/map_document.h"
#include "model/mapper.h"
#include "source/number_text.h"

#include <string_view>

namespace wayloom {

namespace {

std::string counted(std::int64_t n, std::string_view one)
{
    return std::to_string(n) + " " + std::string(one) + (n == 1 ? "" : "s");
}

} // namespace

std::string position_text(long double lat_degrees, long double lon_degrees)
{
    return format_fixed(lat_degrees, 6) + ", " + format_fixed(lon_degrees, 6);
}

std::string item_text(const map_document& doc, const t_mapper& item)
{
    std::string text = item.name;
    std::string classes;
    for (const std::int32_t number : item.classes)
        if (const t_class* c = doc.class_by_number(number))
            classes += (classes.empty() ? "" : ", ") + c->name;
    if (!classes.empty()) text += " (" + classes + ")";
    return text;
}

std::string zoom_text(long double zoom)
{
    std::string text = format_fixed(zoom, zoom < 10 ? 2 : zoom < 100 ? 1 : 0);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text + "\u00d7";
}

std::string imported_note(std::int64_t waypoints, std::size_t files)
{
    return "Imported " + counted(waypoints, "waypoint") + " from " +
           counted(static_cast<std::int64_t>(files), "file");
}

std::string downloaded_note(std::int64_t waypoints, double seconds)
{
    return "Downloaded " + counted(waypoints, "waypoint") + " in " + format_fixed(seconds, 1) + " s";
}

} // namespace wayloom
