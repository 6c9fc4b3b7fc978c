#include "source/reader.h"

#include "source/scanner.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace wayloom {

namespace {

bool same_text_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Integer part of a number word, when it fits a 32-bit integer.
std::optional<std::int64_t> integer_part(const token& t)
{
    if (t.integral) {
        if (t.whole < INT32_MIN || t.whole > INT32_MAX) return std::nullopt;
        return t.whole;
    }
    const long double whole = std::trunc(t.value);
    if (whole < -2147483648.0L || whole > 2147483647.0L) return std::nullopt;
    return static_cast<std::int64_t>(whole);
}

constexpr std::int32_t most_nodes_in_block = 512;  // reaching it is an error

// One run over the held source. Each step returns false when it failed,
// which clears what this read added.
class map_reader {
public:
    map_reader(map_document& doc, read_report& report)
        : doc_(doc), report_(report), start_(doc.mark()), waypoint_base_(doc.waypoint_count()),
          scanner_(doc.source, [this](std::string_view message) { report_error(message); })
    {
    }

    bool run();

private:
    void report_error(std::string_view message);
    void fail_and_clear() { doc_.roll_back(start_); }
    token scan(std::uint8_t accept) { return scanner_.scan(accept); }
    token scan_kept(std::uint8_t accept)
    {
        token t = scanner_.scan(accept);
        kinds_ = t.kinds;
        return t;
    }
    void keep_word(const token& t)
    {
        if (t.has_word) word_.assign(t.text);
    }
    bool take_close()
    {
        if (!(kinds_ & k_close)) return false;
        --scanner_.depth;
        kinds_ &= ~k_close;
        return true;
    }

    bool read_class();
    bool read_shape(bool path);
    bool read_set();
    bool read_waypoints();
    bool read_nodes(t_shape& shape);
    bool read_points(t_set& set);
    bool read_colour(colour_value& target);
    bool read_class_reference(t_mapper& item);

    bool colour_component(const token& t, std::uint32_t& component);
    bool waypoint_reference(const token& t, std::int32_t& number);
    bool map_units(const token& t, long double& target);

    map_document& doc_;
    read_report& report_;
    const map_mark start_;
    const std::int32_t waypoint_base_;
    source_scanner scanner_;
    std::uint16_t kinds_ = 0;
    std::string word_;  // the command or keyword last read
};

void map_reader::report_error(std::string_view message)
{
    doc_.source.show_error(scanner_.line(), doc_.error_list);
    report_.errors.emplace_back(message);
    report_.error_line = scanner_.line();
}

bool map_reader::run()
{
    if (doc_.source.count() == 0) kinds_ = k_end;
    while (!(kinds_ & k_end)) {
        if (scanner_.depth > 0) {
            report_error("Last object not closed");
            return false;
        }
        const token command = scan_kept(want_string | open_allowed);
        keep_word(command);
        if (!(kinds_ & k_end)) {
            bool done = true;
            if (word_ == "shape" || word_ == "path" || word_ == "set") {
                if (kinds_ & k_open) {
                    report_error("Name expected");
                    return false;
                }
                done = word_ == "set" ? read_set() : read_shape(word_ == "path");
            } else if (word_ == "group") {
            } else if (word_ == "waypoints") {
                done = read_waypoints();
            } else if (word_ == "class") {
                done = read_class();
            } else {
                report_error("Unrecongnised command : " + word_);
                fail_and_clear();
                return false;
            }
            if (!done) {
                fail_and_clear();
                return false;
            }
        }
        if (scanner_.depth < 0) {
            report_error("Unexpected }");
            return false;
        }
    }
    return true;
}

bool map_reader::read_class()
{
    t_class* c = doc_.create_class();
    if (!c) {
        report_error("Too many classes");
        return false;
    }
    const token name = scan_kept(want_string | open_allowed);
    if (name.has_word) c->name.assign(name.text);
    if (!(kinds_ & k_open) || c->name.empty()) return true;
    doc_.class_list.add(c->name, c);
    for (;;) {
        keep_word(scan_kept(want_string | open_allowed | close_allowed));
        if (take_close()) return true;
        if (word_ == "colour") {
            if (!read_colour(c->colour)) return false;
        } else if (word_ == "border") {
            if (!read_colour(c->border)) return false;
        } else {
            report_error("Class command not recognised");
            return false;
        }
        if (take_close()) return true;
    }
}

bool map_reader::read_shape(bool path)
{
    t_shape& shape = doc_.create_shape();
    const token name = scan_kept(want_string | open_allowed);
    if (name.has_word) shape.name.assign(name.text);
    if (!(kinds_ & k_open) || shape.name.empty()) return true;
    doc_.add_item(shape.name, &shape, nullptr);
    shape.shape_type = path ? s_path : s_polygon;
    for (;;) {
        keep_word(scan_kept(want_string | open_allowed | close_allowed));
        if (take_close()) return true;
        bool done;
        if (word_ == "nodes")
            done = read_nodes(shape);
        else if (word_ == "class")
            done = read_class_reference(shape);
        else if (word_ == "colour")
            done = read_colour(shape.colour);
        else if (word_ == "border")
            done = read_colour(shape.border);
        else {
            report_error("Shape command not recognised");
            return false;
        }
        if (!done) return false;
        if (take_close()) return true;
    }
}

bool map_reader::read_set()
{
    t_set& set = doc_.create_set();
    const token name = scan_kept(want_string | open_allowed);
    if (name.has_word) set.name.assign(name.text);
    if (!(kinds_ & k_open) || set.name.empty()) return true;
    doc_.add_item(set.name, nullptr, &set);
    set.shape_type = s_points;
    for (;;) {
        keep_word(scan_kept(want_string | open_allowed | close_allowed));
        if (take_close()) return true;
        bool done;
        if (word_ == "points")
            done = read_points(set);
        else if (word_ == "class")
            done = read_class_reference(set);
        else {
            report_error("Shape command not recognised");
            return false;
        }
        if (!done) return false;
        if (take_close()) return true;
    }
}

bool map_reader::read_colour(colour_value& target)
{
    if (kinds_ & (k_open | k_close)) {
        report_error("Unexpected {");
        return false;
    }
    const token red = scan(want_number);
    const token green = scan(want_number);
    const token blue = scan_kept(want_number | close_allowed);
    if ((red.kinds | green.kinds | blue.kinds) & k_error) return false;
    std::uint32_t r = 0, g = 0, b = 0;
    if (!colour_component(red, r) || !colour_component(green, g) || !colour_component(blue, b))
        return false;
    target = make_colour(r, g, b);
    return true;
}

bool map_reader::read_class_reference(t_mapper& item)
{
    if (kinds_ & (k_open | k_close)) {
        report_error("Unexpected { or }");
        return false;
    }
    const token name = scan(want_string);
    if (name.kinds & k_error) {
        report_error("Unexpected { or }");
        return false;
    }
    const std::string_view wanted = name.has_word ? name.text : std::string_view();
    for (const list_entry& entry : doc_.class_list.entries) {
        if (!same_text_ignoring_case(entry.text, wanted)) continue;
        item.classes.push_back(std::get<t_class*>(entry.object)->number);
        return true;
    }
    report_error("Unrecognised class");
    return false;
}

bool map_reader::read_nodes(t_shape& shape)
{
    shape.nodes.clear();
    if (!(kinds_ & k_open)) return true;
    for (;;) {
        const token number = scan(want_number);
        if (shape.nodes.empty() && number.bare_brace() && (number.kinds & k_close)) {
            // "nodes { }": an empty block.
            kinds_ = number.kinds;
            take_close();
            return true;
        }
        const token lon = scan_kept(want_number);
        const token lat = scan_kept(want_number | close_allowed);
        if ((number.kinds | lon.kinds | lat.kinds) & k_error) return false;
        t_node node;
        if (!waypoint_reference(number, node.waypoint) || !map_units(lon, node.lon) ||
            !map_units(lat, node.lat))
            return false;
        shape.nodes.push_back(node);
        const bool closed = take_close();
        if (shape.node_count() == most_nodes_in_block) {
            report_error("Too many nodes");
            return false;
        }
        if (closed) break;
    }
    // A repeated closing node is dropped from a polygon; a path that comes
    // back to its start keeps its last leg.
    const auto& nodes = shape.nodes;
    if (!shape.is_path() && nodes.size() > 1 && nodes.back().lon == nodes.front().lon &&
        nodes.back().lat == nodes.front().lat)
        shape.nodes.pop_back();
    return true;
}

bool map_reader::read_points(t_set& set)
{
    if (!(kinds_ & k_open)) return true;
    set.point_count = 0;
    for (;;) {
        if (set.point_count == max_set_points) {
            report_error("Too many points");
            return false;
        }
        const token name = scan(want_string);
        if (set.point_count == 0 && name.bare_brace() && (name.kinds & k_close)) {
            kinds_ = name.kinds;  // "points { }": an empty block
            take_close();
            return true;
        }
        point_record& point = set.add_point(doc_.new_point);
        if (name.has_word) point.name.assign(name.text);
        std::uint16_t errors = name.kinds;
        for (auto [word, target] : {std::pair{"colour", &point.colour}, std::pair{"border", &point.border}}) {
            const token keyword = scan_kept(want_string);
            errors |= keyword.kinds;
            if (!keyword.has_word || keyword.text != word) {
                report_error("Point colour or border expected");
                return false;
            }
            if (!read_colour(*target)) return false;
        }
        const token marker = scan(want_string);
        const point_type marker_type = marker.has_word && marker.text == "square" ? p_square : p_circle;
        const token size = scan(want_number);
        const token show_name = scan(want_number);
        const token waypoint = scan(want_number);
        const token lon = scan_kept(want_number);
        const token lat = scan_kept(want_number | close_allowed);
        errors |= marker.kinds | size.kinds | show_name.kinds | waypoint.kinds | lon.kinds | lat.kinds;
        if (errors & k_error) return false;
        point.marker = marker_type;
        if (size.has_word) {
            if (!(std::fabs(size.value) < 2147483648.0L)) {
                report_error("Value expected");
                return false;
            }
            point.size = size.value;
        }
        if (show_name.has_word) point.show_name = show_name.integral ? show_name.whole != 0 : show_name.value != 0;
        if (!waypoint_reference(waypoint, point.waypoint) || !map_units(lon, point.lon) ||
            !map_units(lat, point.lat))
            return false;
        if (take_close()) break;
    }
    const auto& points = set.points;
    const auto last = static_cast<std::size_t>(set.point_count - 1);
    if (set.point_count > 1 && points[last].lon == points[0].lon && points[last].lat == points[0].lat)
        --set.point_count;  // the record stays allocated
    return true;
}

bool map_reader::read_waypoints()
{
    if (!(kinds_ & k_open)) return true;
    for (bool first = true;; first = false) {
        const token name = scan_kept(want_string);
        if (first && name.bare_brace() && (name.kinds & k_close)) {
            take_close();  // "waypoints { }": an empty block
            return true;
        }
        t_waypoint& w = doc_.create_waypoint();
        if (name.has_word) w.name.assign(name.text);
        const token lon = scan_kept(want_number);
        const token lat = scan_kept(want_number);
        const token alt = scan_kept(want_number | close_allowed);
        if ((name.kinds | lon.kinds | lat.kinds | alt.kinds) & k_error) return false;
        // Degrees are kept as written; they must still make map units.
        long double lon_units = 0, lat_units = 0;
        if (!map_units(lon, lon_units) || !map_units(lat, lat_units)) return false;
        if (lon.has_word) w.lon = lon.value;
        if (lat.has_word) w.lat = lat.value;
        if (alt.has_word) w.alt = alt.value;
        const bool closed = take_close();
        if (w.name.empty()) w.name = "Waypoint-" + std::to_string(doc_.waypoint_count());
        doc_.waypoints_list.add(w.name, &w);
        if (closed) return true;
    }
}

bool map_reader::colour_component(const token& t, std::uint32_t& component)
{
    if (!t.has_word) return true;
    const auto whole = integer_part(t);
    if (!whole) {
        report_error("Value expected");
        return false;
    }
    component = static_cast<std::uint32_t>(*whole) & 0xFF;
    return true;
}

bool map_reader::waypoint_reference(const token& t, std::int32_t& number)
{
    if (!t.has_word) return true;
    const auto whole = integer_part(t);
    const std::int64_t shifted = whole ? *whole + waypoint_base_ : 0;
    if (!whole || shifted > INT32_MAX) {
        report_error("Value expected");
        return false;
    }
    number = static_cast<std::int32_t>(shifted);
    return true;
}

bool map_reader::map_units(const token& t, long double& target)
{
    if (!t.has_word) return true;
    const long double units = t.value * 360;
    if (!std::isfinite(units)) {
        report_error("Value expected");
        return false;
    }
    target = units;
    return true;
}

} // namespace

read_report read_from_file(map_document& doc, const after_read& after)
{
    read_report report;
    map_reader reader(doc, report);
    report.completed = reader.run();
    if (report.completed && after) after(doc);
    return report;
}

read_report read_map(map_document& doc, const std::string& file_name, const after_read& after)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file_name, ec) || !doc.source.load_from_file(file_name)) {
        read_report report;
        report.errors.push_back("Cant find : " + file_name);
        report.missing = true;
        return report;
    }
    return read_from_file(doc, after);
}

} // namespace wayloom
