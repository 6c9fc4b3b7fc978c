#include "gis/kml_reader.h"

#include "gis/feature_import.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace wayloom {

namespace {

// Element names arrive as "namespace\x01local"; KML 2.2, 2.1 and files
// without a namespace read alike.
constexpr char namespace_separator = '\x01';

std::string_view local_name(const XML_Char* name)
{
    const std::string_view whole(name);
    const auto cut = whole.rfind(namespace_separator);
    return cut == std::string_view::npos ? whole : whole.substr(cut + 1);
}

bool is_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> number_in(std::string_view text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "lon,lat[,alt]" tuples apart by white space.
bool coordinates_in(std::string_view text, std::vector<read_position>& out)
{
    text = trimmed(text);
    while (!text.empty()) {
        const auto end = std::find_if(text.begin(), text.end(), is_space);
        std::string_view tuple(text.data(), static_cast<std::size_t>(end - text.begin()));
        text = trimmed(text.substr(tuple.size()));
        std::optional<double> values[3];
        std::size_t count = 0;
        for (; count < 3 && !tuple.empty(); ++count) {
            const auto comma = tuple.find(',');
            values[count] = number_in(tuple.substr(0, comma));
            if (!values[count]) return false;
            tuple = comma == std::string_view::npos ? std::string_view() : tuple.substr(comma + 1);
        }
        if (count < 2 || !tuple.empty()) return false;
        out.push_back({*values[0], *values[1], values[2]});
    }
    return true;
}

// KML colours are aabbggrr; the alpha is not kept.
std::optional<colour_value> kml_colour(std::string_view text)
{
    text = trimmed(text);
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 8 || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return make_colour(value, value >> 8, value >> 16);
}

class kml_parse {
public:
    kml_parse(feature_import& import, read_report& report) : import_(import), report_(report)
    {
        parser_ = XML_ParserCreateNS(nullptr, namespace_separator);
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &kml_parse::on_start, &kml_parse::on_end);
        XML_SetCharacterDataHandler(parser_, &kml_parse::on_text);
    }
    ~kml_parse() { XML_ParserFree(parser_); }
    kml_parse(const kml_parse&) = delete;
    kml_parse& operator=(const kml_parse&) = delete;

    // Feeds a piece of the file; false once the parse failed.
    bool feed(std::string_view piece, bool last)
    {
        if (!report_.ok()) return false;
        if (XML_Parse(parser_, piece.data(), static_cast<int>(piece.size()), last) == XML_STATUS_ERROR) {
            if (report_.ok()) fail(XML_ErrorString(XML_GetErrorCode(parser_)));
            return false;
        }
        if (last && !seen_root_) fail("no kml element");
        return report_.ok();
    }

private:
    void fail(const std::string& message)
    {
        const unsigned long line = XML_GetCurrentLineNumber(parser_);
        report_.errors.push_back("Not a KML file: line " + std::to_string(line) + ": " + message);
        report_.error_line = line == 0 ? 0 : line - 1;
    }

    bool inside(std::string_view name) const
    {
        return std::find(path_.begin(), path_.end(), name) != path_.end();
    }

    void start(std::string_view name, const XML_Char** attributes)
    {
        if (!seen_root_) {
            seen_root_ = true;
            if (name != "kml") {
                fail("the first element is <" + std::string(name) + ">, not <kml>");
                XML_StopParser(parser_, XML_FALSE);
            }
            return;
        }
        if (!feature_) {
            if (name != "Placemark") return;
            feature_.emplace();
            feature_->where = "KML Placemark at line " + std::to_string(XML_GetCurrentLineNumber(parser_));
            path_.clear();
        }
        path_.emplace_back(name);
        text_.clear();
        read_feature& f = *feature_;
        if (name == "MultiGeometry" || name == "Model" || name == "Track" || name == "MultiTrack") {
            if (f.geometry == read_geometry::none) f.geometry = read_geometry::other;
        } else if (!inside("MultiGeometry") && f.geometry == read_geometry::none) {
            if (name == "Point") f.geometry = read_geometry::point;
            else if (name == "LineString") f.geometry = read_geometry::line;
            else if (name == "Polygon") f.geometry = read_geometry::polygon;
        }
        if (name == "innerBoundaryIs" && f.geometry == read_geometry::polygon && !inside("MultiGeometry"))
            ++f.holes;
        if (name == "Data") {
            data_name_.clear();
            for (const XML_Char** a = attributes; *a; a += 2)
                if (local_name(a[0]) == "name") data_name_ = a[1];
        }
    }

    void end(std::string_view name)
    {
        if (!feature_) return;
        read_feature& f = *feature_;
        const std::string_view parent = path_.size() >= 2 ? std::string_view(path_[path_.size() - 2]) : "";
        if (name == "name" && parent == "Placemark") {
            f.name = std::string(trimmed(text_));
        } else if (name == "coordinates" && !inside("MultiGeometry") && !inside("innerBoundaryIs") &&
                   f.positions.empty()) {
            if (!coordinates_in(text_, f.positions)) {
                import_.fail(f, "the coordinates are not longitude,latitude[,altitude] tuples");
                XML_StopParser(parser_, XML_FALSE);
            }
        } else if (name == "color" && inside("Style")) {
            if (parent == "PolyStyle" || parent == "IconStyle") f.colour = kml_colour(text_);
            else if (parent == "LineStyle") f.border = kml_colour(text_);
        } else if (name == "value" && parent == "Data") {
            if (data_name_ == "classes") {
                for (std::string_view rest = text_; !rest.empty();) {
                    const auto comma = rest.find(',');
                    f.classes.emplace_back(trimmed(rest.substr(0, comma)));
                    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
                }
            } else if (data_name_ == "altitude") {
                f.altitude = number_in(trimmed(text_));
            }
        }
        path_.pop_back();
        text_.clear();
        if (path_.empty()) {
            if (!import_.add(f)) XML_StopParser(parser_, XML_FALSE);
            feature_.reset();
        }
    }

    static void on_start(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<kml_parse*>(self)->start(local_name(name), attributes);
    }
    static void on_end(void* self, const XML_Char* name) { static_cast<kml_parse*>(self)->end(local_name(name)); }
    static void on_text(void* self, const XML_Char* text, int length)
    {
        auto* parse = static_cast<kml_parse*>(self);
        if (parse->feature_) parse->text_.append(text, static_cast<std::size_t>(length));
    }

    feature_import& import_;
    read_report& report_;
    XML_Parser parser_;
    bool seen_root_ = false;
    std::optional<read_feature> feature_;  // the Placemark being read
    std::vector<std::string> path_;        // its open elements, the Placemark first
    std::string text_;                     // the text of the innermost open element
    std::string data_name_;                // the name of the ExtendedData entry open
};

} // namespace

read_report read_kml_text(map_document& doc, std::string_view text, const after_read& after)
{
    return import_features(doc, after, [&](feature_import& import, read_report& report) {
        kml_parse parse(import, report);
        parse.feed(text, true);
    });
}

read_report read_kml(map_document& doc, const std::string& file_name, const after_read& after)
{
    std::error_code ec;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::filesystem::is_regular_file(file_name, ec) ? std::fopen(file_name.c_str(), "rb") : nullptr,
        &std::fclose);
    if (!file) return missing_file(file_name);
    return import_features(doc, after, [&](feature_import& import, read_report& report) {
        kml_parse parse(import, report);
        std::string piece(1 << 16, '\0');
        for (;;) {
            const std::size_t got = std::fread(piece.data(), 1, piece.size(), file.get());
            const bool last = got < piece.size();
            if (!parse.feed(std::string_view(piece.data(), got), last) || last) return;
        }
    });
}

} // namespace wayloom
