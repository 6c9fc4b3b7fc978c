#include "source/reader.h"

#include "source/reader_words.h"
#include "source/word_values.h"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace wayloom {

namespace {

// Whether the last of several positions repeats the first: a closing node
// written out, which the item does not keep.
bool repeats_first(const t_mapper& item)
{
    const const_position_span at = item.positions();
    return at.size() > 1 && at.back().lon == at.front().lon && at.back().lat == at.front().lat;
}

// One run over the text. Each step returns false when it failed, which
// clears what this read added.
class map_reader {
public:
    map_reader(map_document& doc, text_feed& feed, read_report& report)
        : doc_(doc), report_(report), start_(doc.mark()), waypoint_base_(doc.waypoint_count()),
          words_(feed, [this](std::string_view message) { report_error(message); })
    {
    }

    bool run();

private:
    void report_error(std::string_view message);
    void fail_and_clear() { doc_.roll_back(start_); }
    // Every "{" taken opens a block; a block closes when its "}" is taken.
    token scan(std::uint8_t accept)
    {
        token t = words_.scan(accept);
        if (t.kinds & k_open) ++depth_;
        return t;
    }
    token scan_kept(std::uint8_t accept)
    {
        token t = scan(accept);
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
        --depth_;
        kinds_ &= ~k_close;
        return true;
    }

    // An empty block ("nodes { }") as the first thing in a block: the close is taken.
    bool empty_block(bool first, const token& t)
    {
        if (!first || !t.bare_brace() || !(t.kinds & k_close)) return false;
        kinds_ = t.kinds;
        take_close();
        return true;
    }
    // A command word followed by a brace, where values must follow.
    bool refuse_brace(std::string_view message)
    {
        if (!(kinds_ & (k_open | k_close))) return false;
        report_error(message);
        return true;
    }
    // A value word's check; a word that gives no value is reported.
    bool value(bool given)
    {
        if (!given) report_error("Value expected");
        return given;
    }

    template <class Listed, class Command>
    bool read_named(std::string& name, Listed listed, Command command);
    bool read_class();
    bool read_item(t_mapper& item, t_shape* shape, t_set* set, shape_kind kind);
    bool read_item_command(t_mapper& item, t_shape* shape, t_set* set);
    bool read_waypoints();
    bool read_nodes(t_shape& shape);
    bool read_points(t_set& set);
    bool read_colour(colour_value& target);
    bool read_class_reference(t_mapper& item);

    map_document& doc_;
    read_report& report_;
    const map_mark start_;
    const std::int32_t waypoint_base_;
    word_reader words_;
    std::int32_t depth_ = 0;  // blocks opened and not yet closed
    std::uint16_t kinds_ = 0;
    std::string word_;  // the command or keyword last read
};

void map_reader::report_error(std::string_view message)
{
    report_.errors.emplace_back(message);
    report_.error_line = words_.line();
}

bool map_reader::run()
{
    while (!(kinds_ & k_end)) {
        if (depth_ > 0) {
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
                if (word_ == "set") {
                    t_set& set = doc_.create_set();
                    done = read_item(set, nullptr, &set, s_points);
                } else {
                    t_shape& shape = doc_.create_shape();
                    done = read_item(shape, &shape, nullptr, word_ == "path" ? s_path : s_polygon);
                }
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
        if (depth_ < 0) {
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
    return read_named(c->name, [&] { doc_.class_list.add(c->name, c); }, [&] {
        if (word_ == "colour") return read_colour(c->colour);
        if (word_ == "border") return read_colour(c->border);
        report_error("Class command not recognised");
        return false;
    });
}

// The name of a class or item, then its block: commands up to the brace
// that closes it. Without a name or a block the object stays unlisted.
template <class Listed, class Command>
bool map_reader::read_named(std::string& name, Listed listed, Command command)
{
    const token word = scan_kept(want_string | open_allowed);
    if (word.has_word) name.assign(word.text);
    if (!(kinds_ & k_open) || name.empty()) return true;
    listed();
    for (;;) {
        keep_word(scan_kept(want_string | open_allowed | close_allowed));
        if (take_close()) return true;
        if (!command()) return false;
        if (take_close()) return true;
    }
}

// A shape, path or set and its block.
bool map_reader::read_item(t_mapper& item, t_shape* shape, t_set* set, shape_kind kind)
{
    return read_named(item.name, [&] {
        doc_.add_item(item.name, shape, set);
        item.shape_type = kind;
    }, [&] { return read_item_command(item, shape, set); });
}

// A shape takes nodes, classes and its colours; a set takes points and classes.
bool map_reader::read_item_command(t_mapper& item, t_shape* shape, t_set* set)
{
    if (word_ == "class") return read_class_reference(item);
    if (shape && word_ == "nodes") return read_nodes(*shape);
    if (shape && word_ == "colour") return read_colour(shape->colour);
    if (shape && word_ == "border") return read_colour(shape->border);
    if (set && word_ == "points") return read_points(*set);
    report_error("Shape command not recognised");
    return false;
}

bool map_reader::read_colour(colour_value& target)
{
    if (refuse_brace("Unexpected {")) return false;
    const token red = scan(want_number);
    const token green = scan(want_number);
    const token blue = scan_kept(want_number | close_allowed);
    if ((red.kinds | green.kinds | blue.kinds) & k_error) return false;
    std::uint32_t r = 0, g = 0, b = 0;
    if (!value(colour_component(red, r) && colour_component(green, g) && colour_component(blue, b)))
        return false;
    target = make_colour(r, g, b);
    return true;
}

bool map_reader::read_class_reference(t_mapper& item)
{
    if (refuse_brace("Unexpected { or }")) return false;
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
        if (empty_block(shape.nodes.empty(), number)) return true;
        const token lon = scan_kept(want_number);
        const token lat = scan_kept(want_number | close_allowed);
        if ((number.kinds | lon.kinds | lat.kinds) & k_error) return false;
        t_node node;
        if (!value(waypoint_reference(number, waypoint_base_, node.waypoint) &&
                   degrees_to_map_units(lon, node.lon) && degrees_to_map_units(lat, node.lat)))
            return false;
        shape.nodes.push_back(node);
        const bool closed = take_close();
        if (shape.node_count() > max_shape_nodes) {
            report_error("Too many nodes");
            return false;
        }
        if (closed) break;
    }
    // A repeated closing node is dropped from a polygon; a path that comes
    // back to its start keeps its last leg.
    if (!shape.is_path() && repeats_first(shape)) shape.nodes.pop_back();
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
        if (empty_block(set.point_count == 0, name)) return true;
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
        if (!value(waypoint_reference(waypoint, waypoint_base_, point.waypoint) &&
                   degrees_to_map_units(lon, point.lon) && degrees_to_map_units(lat, point.lat)))
            return false;
        if (take_close()) break;
    }
    if (repeats_first(set)) --set.point_count;  // the record stays allocated
    return true;
}

bool map_reader::read_waypoints()
{
    if (!(kinds_ & k_open)) return true;
    for (bool first = true;; first = false) {
        const token name = scan_kept(want_string);
        if (empty_block(first, name)) return true;
        t_waypoint& w = doc_.create_waypoint();
        if (name.has_word) w.name.assign(name.text);
        const token lon = scan_kept(want_number);
        const token lat = scan_kept(want_number);
        const token alt = scan_kept(want_number | close_allowed);
        if ((name.kinds | lon.kinds | lat.kinds | alt.kinds) & k_error) return false;
        // Degrees are kept as written; they must still make map units.
        long double lon_units = 0, lat_units = 0;
        if (!value(degrees_to_map_units(lon, lon_units) && degrees_to_map_units(lat, lat_units)))
            return false;
        if (lon.has_word) w.lon = lon.value;
        if (lat.has_word) w.lat = lat.value;
        if (alt.has_word) w.alt = alt.value;
        const bool closed = take_close();
        if (w.name.empty()) w.name = "Waypoint-" + std::to_string(doc_.waypoint_count());
        doc_.list_waypoint(w);
        if (closed) return true;
    }
}

} // namespace

read_report read_text(map_document& doc, text_feed& feed, const after_read& after)
{
    read_report report;
    const map_mark start = doc.mark();
    report.completed = map_reader(doc, feed, report).run();
    if (feed.cut_short()) {
        // What was read is not the whole map: nothing of it stays.
        doc.roll_back(start);
        doc.error_list.clear();
        report.warnings.clear();
        report.errors.assign(1, "The file was cut short while it was read");
        report.completed = false;
        return report;
    }
    if (report.completed && after) after(doc);
    return report;
}

} // namespace wayloom
