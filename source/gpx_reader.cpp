#include "source/gpx_reader.h"

#include "source/track_shapes.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace wayloom {

bool is_gpx_file_name(std::string_view file_name)
{
    constexpr std::string_view extension = ".gpx";
    if (file_name.size() < extension.size()) return false;
    const std::string_view end = file_name.substr(file_name.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

namespace {

// Element names arrive as "namespace\x01local"; only the local part matters,
// so GPX 1.0, 1.1 and files without a namespace read alike.
constexpr char namespace_separator = '\x01';

std::string_view local_name(const XML_Char* name)
{
    const std::string_view whole(name);
    const auto cut = whole.rfind(namespace_separator);
    return cut == std::string_view::npos ? whole : whole.substr(cut + 1);
}

// Without the white space and line ends around it, as XML text is meant.
std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::optional<double> number_in(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

enum class point_kind { waypoint, route_point, track_point };

// A <wpt>, <rtept> or <trkpt> being read. Outside the parse class: clang
// cannot yet default-construct a nested class with member initialisers
// inside std::optional.
struct pending_point {
    bool named = false, has_ele = false;
    std::string name;
    std::optional<double> lat, lon;
    double ele = 0;
    unsigned long line = 0;
    point_kind kind = point_kind::waypoint;
};

// A <trk> being read: each <trkseg> a line of points.
struct open_track {
    int depth = 0;
    std::string name, type;
    std::vector<std::vector<walked_point>> segments;
};

// A <rte> being read.
struct open_route {
    int depth = 0;
    std::string name;
    std::vector<route_point> points;
};

// One parse: the point, track or route being read and what has been taken so far.
class gpx_parse {
public:
    gpx_parse(map_document& doc, read_report& report) : doc_(doc), report_(report)
    {
        parser_ = XML_ParserCreateNS(nullptr, namespace_separator);
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &gpx_parse::on_start, &gpx_parse::on_end);
        XML_SetCharacterDataHandler(parser_, &gpx_parse::on_text);
    }
    ~gpx_parse() { XML_ParserFree(parser_); }
    gpx_parse(const gpx_parse&) = delete;
    gpx_parse& operator=(const gpx_parse&) = delete;

    // Feeds a piece of the file; false once the parse failed.
    bool feed(std::string_view piece, bool last)
    {
        if (!parser_ok_) return false;
        if (XML_Parse(parser_, piece.data(), static_cast<int>(piece.size()), last) == XML_STATUS_ERROR) {
            if (report_.errors.empty())
                fail(XML_GetCurrentLineNumber(parser_), XML_ErrorString(XML_GetErrorCode(parser_)));
            return false;
        }
        if (last && !seen_root_) fail(XML_GetCurrentLineNumber(parser_), "no gpx element");
        if (last && parser_ok_ && left_out_ > 0)
            report_.warnings.push_back(std::to_string(left_out_) + (left_out_ == 1 ? " track" : " tracks") +
                                       " left out: fewer than 2 points (3 for a shape)");
        return parser_ok_;
    }

private:
    void fail(unsigned long line, std::string_view message)
    {
        parser_ok_ = false;
        report_.errors.push_back("Not a GPX file: line " + std::to_string(line) + ": " +
                                 std::string(message));
        report_.error_line = line == 0 ? 0 : line - 1;
    }

    // Collects the text of the element starting now into `target`.
    void collect(std::string* target)
    {
        field_ = target;
        field_->clear();
        field_depth_ = depth_;
    }

    void start(std::string_view name, const XML_Char** attributes)
    {
        ++depth_;
        if (depth_ == 1) {
            seen_root_ = true;
            if (name != "gpx") {
                fail(XML_GetCurrentLineNumber(parser_),
                     "the first element is <" + std::string(name) + ">, not <gpx>");
                XML_StopParser(parser_, XML_FALSE);
            }
            return;
        }
        if (point_) {
            // Only the point's own <name> and <ele>, not those inside its extensions.
            if (depth_ == point_depth_ + 1 && (name == "name" || name == "ele")) {
                collect(name == "name" ? &point_->name : &ele_text_);
                if (name == "name") point_->named = true;
            }
            return;
        }
        const bool in_segment = track_ && depth_ == track_->depth + 2 && !track_->segments.empty();
        if (name == "wpt" || (name == "rtept") || (name == "trkpt" && in_segment)) {
            start_point(name == "wpt" ? point_kind::waypoint : name == "rtept" ? point_kind::route_point
                                                                               : point_kind::track_point,
                        attributes);
        } else if (track_ && depth_ == track_->depth + 1) {
            if (name == "trkseg") track_->segments.emplace_back();
            if (name == "name") collect(&track_->name);
            if (name == "type") collect(&track_->type);
        } else if (route_ && depth_ == route_->depth + 1 && name == "name") {
            collect(&route_->name);
        } else if (name == "trk" && !track_ && !route_) {
            track_.emplace();
            track_->depth = depth_;
        } else if (name == "rte" && !track_ && !route_) {
            route_.emplace();
            route_->depth = depth_;
        }
    }

    void start_point(point_kind kind, const XML_Char** attributes)
    {
        point_.emplace();
        point_->line = XML_GetCurrentLineNumber(parser_);
        point_->kind = kind;
        point_depth_ = depth_;
        for (const XML_Char** a = attributes; *a; a += 2) {
            const std::string_view key = local_name(a[0]);
            if (key == "lat") point_->lat = number_in(a[1]);
            else if (key == "lon") point_->lon = number_in(a[1]);
        }
    }

    void end()
    {
        if (field_ && depth_ == field_depth_) {
            if (field_ == &ele_text_) {
                if (const auto ele = number_in(ele_text_)) {
                    point_->ele = *ele;
                    point_->has_ele = true;
                }
            }
            field_ = nullptr;
        }
        if (point_ && depth_ == point_depth_) {
            take(*point_);
            point_.reset();
        } else if (track_ && depth_ == track_->depth) {
            take_track(*track_);
            track_.reset();
        } else if (route_ && depth_ == route_->depth) {
            take_route(*route_);
            route_.reset();
        }
        --depth_;
    }

    void take(const pending_point& p)
    {
        const bool on_route = p.kind == point_kind::route_point && route_;
        // A route point outside a route is a waypoint when it has a name.
        if (p.kind == point_kind::route_point && !on_route && (!p.named || trimmed(p.name).empty())) return;
        const bool placed = p.lat && p.lon && std::fabs(*p.lat) <= 90 && std::fabs(*p.lon) <= 180;
        if (!placed) {
            report_.warnings.push_back("Point without a valid lat and lon skipped: line " +
                                       std::to_string(p.line));
            return;
        }
        const walked_point at{{*p.lon, *p.lat}, p.has_ele ? std::optional<double>(p.ele) : std::nullopt};
        if (p.kind == point_kind::track_point) {
            track_->segments.back().push_back(at);
            return;
        }
        if (on_route) {
            route_->points.push_back({std::string(trimmed(p.name)), at});
            return;
        }
        t_waypoint& w = doc_.create_waypoint();
        w.name = trimmed(p.name);
        w.lat = *p.lat;
        w.lon = *p.lon;
        w.alt = p.has_ele ? p.ele : no_altitude;
        if (w.name.empty()) w.name = "Waypoint-" + std::to_string(doc_.waypoint_count());
        doc_.list_waypoint(w);
        placed_.add(w);
    }

    // Each segment a path or a shape: the track's name, the second and later
    // segments with "-2", "-3" ...; a <type> of "path" or "shape" (as the
    // writer gives it) decides the kind, else the map's track rules do.
    void take_track(const open_track& t)
    {
        const std::string name = item_name_of(t.name, "track-" + std::to_string(unnamed_tracks_ + 1));
        if (item_name_of(t.name, "").empty()) ++unnamed_tracks_;
        const std::string type = item_name_of(t.type, "");
        std::optional<bool> closed;
        if (type == "path" || type == "shape") closed = type == "shape";
        for (std::size_t i = 0; i < t.segments.size(); ++i) {
            const walked_track track{i == 0 ? name : name + "-" + std::to_string(i + 1), t.segments[i], closed};
            if (!add_track(doc_, track, doc_.track_reading, &placed_)) ++left_out_;
        }
    }

    void take_route(const open_route& r)
    {
        const std::string name = item_name_of(r.name, "route-" + std::to_string(unnamed_routes_ + 1));
        if (item_name_of(r.name, "").empty()) ++unnamed_routes_;
        add_route(doc_, name, r.points, finder_);
    }

    static void on_start(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<gpx_parse*>(self)->start(local_name(name), attributes);
    }
    static void on_end(void* self, const XML_Char*) { static_cast<gpx_parse*>(self)->end(); }
    static void on_text(void* self, const XML_Char* text, int length)
    {
        auto* parse = static_cast<gpx_parse*>(self);
        if (parse->field_) parse->field_->append(text, static_cast<std::size_t>(length));
    }

    map_document& doc_;
    read_report& report_;
    XML_Parser parser_;
    bool parser_ok_ = true;
    bool seen_root_ = false;
    int depth_ = 0;
    int point_depth_ = 0;
    std::optional<pending_point> point_;
    std::optional<open_track> track_;
    std::optional<open_route> route_;
    std::string ele_text_;
    std::string* field_ = nullptr;  // the text being collected, if any
    int field_depth_ = 0;
    int unnamed_tracks_ = 0, unnamed_routes_ = 0, left_out_ = 0;
    waypoint_finder finder_;
    placed_waypoints placed_;
};

// Parses with `feed_all`, which hands the parse its pieces; rolls back on failure.
template <class Feed>
read_report read_with(map_document& doc, const after_read& after, Feed feed_all)
{
    read_report report;
    const map_mark start = doc.mark();
    {
        gpx_parse parse(doc, report);
        feed_all(parse);
    }
    if (!report.ok()) {
        doc.roll_back(start);
        return report;
    }
    report.completed = true;
    if (after) after(doc);
    return report;
}

// An upper bound of the points a GPX text adds: its "<wpt" and "<rtept"
// start tags, wherever they stand.
class point_tags {
public:
    // Counts the tags in the next piece of the text; a tag may straddle two pieces.
    void count(std::string_view piece)
    {
        const std::size_t tail = carried_.size();
        carried_.append(piece.substr(0, after_mark));
        count_in(carried_, tail);
        const std::size_t whole = piece.size() < after_mark ? 0 : piece.size() - after_mark;
        count_in(piece, whole);
        carried_.assign(piece.substr(whole));
    }
    std::size_t found() const { return found_; }

private:
    static constexpr std::size_t after_mark = 5;  // "rtept"

    // The tags whose "<" stands before `end`.
    void count_in(std::string_view text, std::size_t end)
    {
        for (std::size_t at = text.find('<'); at < end; at = text.find('<', at + 1)) {
            const std::string_view tag = text.substr(at + 1, after_mark);
            if (tag.starts_with("wpt") || tag == "rtept") ++found_;
        }
    }

    std::string carried_;
    std::size_t found_ = 0;
};

} // namespace

read_report read_gpx_text(map_document& doc, std::string_view text, const after_read& after)
{
    return read_with(doc, after, [&](gpx_parse& parse) { parse.feed(text, true); });
}

read_report read_gpx(map_document& doc, const std::string& file_name, const after_read& after)
{
    std::error_code ec;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::filesystem::is_regular_file(file_name, ec) ? std::fopen(file_name.c_str(), "rb") : nullptr,
        &std::fclose);
    if (!file) {
        read_report report;
        report.errors.push_back("Cant find : " + file_name);
        report.missing = true;
        return report;
    }
    std::string piece(1 << 16, '\0');
    // A first quick pass over the file sizes the registries and the list, so
    // that a large file does not have them regrown and moved again and again.
    point_tags tags;
    for (std::size_t got = piece.size(); got == piece.size();) {
        got = std::fread(piece.data(), 1, piece.size(), file.get());
        tags.count(std::string_view(piece.data(), got));
    }
    std::rewind(file.get());
    doc.waypoints.reserve(doc.waypoints.size() + tags.found());
    if (doc.lists_waypoints) doc.waypoints_list.entries.reserve(doc.waypoints_list.size() + tags.found());
    return read_with(doc, after, [&](gpx_parse& parse) {
        for (;;) {
            const std::size_t got = std::fread(piece.data(), 1, piece.size(), file.get());
            const bool last = got < piece.size();
            if (!parse.feed(std::string_view(piece.data(), got), last) || last) return;
        }
    });
}

} // namespace wayloom
