#include "source/gpx_writer.h"

#include "model/map_units.h"
#include "source/buffered_file.h"
#include "source/file_replacement.h"
#include "source/plain_letters.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace wayloom {

namespace {

void append_escaped(std::string& out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (const std::size_t n = utf8_length(text, i)) {
                out.append(text.substr(i, n));
                i += n;
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));  // Latin-1 to UTF-8
                out += static_cast<char>(0x80 | (c & 0x3F));
                ++i;
            }
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // XML has no way to write the other control characters.
            out += c < 0x20 && c != '\t' ? '_' : static_cast<char>(c);
        }
        ++i;
    }
}

// GPX numbers are decimals without an exponent, so a large one is written
// out in full: a double has at most 309 digits before the point, which the
// buffer always holds (a smaller one took garbage for a large elevation).
void append_number(std::string& out, double value, int decimals)
{
    char buffer[352];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    // Trailing zeros say nothing; "52.5000000000" is written "52.5".
    if (text.find('.') != std::string_view::npos) {
        while (text.back() == '0') text.remove_suffix(1);
        if (text.back() == '.') text.remove_suffix(1);
    }
    if (text == "-0") text = "0";
    out.append(text);
}

constexpr int degree_decimals = 10;

// GPX longitudes run from -180 up to but not including 180: the meridian
// itself is written -180, and a longitude past it is brought round.
double gpx_longitude(long double lon)
{
    double degrees = std::remainder(static_cast<double>(lon), 360.0);
    const double step = std::pow(10.0, -degree_decimals);
    if (std::isfinite(degrees) && std::round(degrees / step) * step >= 180) degrees -= 360;
    return degrees;
}

void append_position(std::string& out, long double lat, long double lon)
{
    out += "lat=\"";
    append_number(out, static_cast<double>(lat), degree_decimals);
    out += "\" lon=\"";
    append_number(out, gpx_longitude(lon), degree_decimals);
    out += '"';
}

// The GPX text into `out`; `written` is called between records, so a file
// can take the text a block at a time.
template <class Written>
void gpx_to(std::string& out, const map_document& doc, Written written)
{
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"Wayloom\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (const auto& w : doc.waypoints) {
        out += "  <wpt ";
        append_position(out, w->lat, w->lon);
        out += ">\n";
        // A waypoint without an altitude has no <ele>, rather than one at sea level.
        if (has_altitude(w->alt)) {
            out += "    <ele>";
            append_number(out, static_cast<double>(w->alt), 3);
            out += "</ele>\n";
        }
        out += "    <name>";
        append_escaped(out, w->name);
        out += "</name>\n  </wpt>\n";
        written();
    }
    for (const auto& shape : doc.shapes) {
        out += "  <trk>\n    <name>";
        append_escaped(out, shape->name);
        // The kind, so that a path back at its start reads back a path.
        out += shape->is_path() ? "</name>\n    <type>path</type>\n" : "</name>\n    <type>shape</type>\n";
        out += "    <trkseg>\n";
        const auto point = [&](const t_node& node) {
            out += "      <trkpt ";
            append_position(out, to_degrees(node.lat), to_degrees(node.lon));
            out += "/>\n";
            written();
        };
        for (const t_node& node : shape->nodes) point(node);
        if (!shape->is_path() && shape->nodes.size() > 1) point(shape->nodes.front());
        out += "    </trkseg>\n  </trk>\n";
    }
    out += "</gpx>\n";
}

} // namespace

std::string gpx_text(const map_document& doc)
{
    std::string out;
    out.reserve(doc.waypoints.size() * 110 + 4096);
    gpx_to(out, doc, [] {});
    return out;
}

bool save_gpx(const map_document& doc, const std::string& file_name, std::string* error)
{
    return replace_file(file_name, [&](const std::string& temp, std::string& reason) {
        buffered_file file(temp);
        if (file.ok()) gpx_to(file.buffer(), doc, [&] { file.write_when_full(); });
        return file.close(reason);
    }, error);
}

} // namespace wayloom
