// The text of a map file, for the writers: its records in the order the
// file holds them, and the lines of each, a line at a time into whichever
// sink takes the lines (the held source, a file, a string). The text can be
// made a run of records at a time and joined.
#pragma once

#include "model/map_document.h"
#include "model/map_units.h"
#include "source/buffered_file.h"
#include "source/file_replacement.h"
#include "source/number_text.h"
#include "source/writer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom::map_text {

// Where the written lines go (the held map source, a file, a string), each
// line ended by CR LF as the held source is saved: a sink gives the buffer a
// line is built in and takes the line once it is complete. A file's line is
// built straight into the file's own buffer.
struct file_lines {
    buffered_file& file;
    std::string& buffer() { return file.buffer(); }
    void end_line()
    {
        file.buffer().append("\r\n");
        file.write_when_full();
    }
};

// Builds one line at a time.
template <class Lines>
class line_writer {
public:
    explicit line_writer(Lines lines) : lines_(std::move(lines)) {}

    line_writer& indent(int spaces)
    {
        static constexpr std::string_view blanks = "                ";
        buffer().append(blanks.substr(0, static_cast<std::size_t>(spaces)));
        return *this;
    }
    line_writer& text(std::string_view s)
    {
        buffer().append(s);
        return *this;
    }
    line_writer& real(long double v)
    {
        append_real(buffer(), v);
        return *this;
    }
    line_writer& integer(std::int64_t v)
    {
        append_integer(buffer(), v);
        return *this;
    }
    line_writer& rgb(colour_value c)
    {
        integer(red_of(c)).text(",").integer(green_of(c)).text(",").integer(blue_of(c));
        return *this;
    }
    void end() { lines_.end_line(); }
    void line(std::string_view s) { text(s).end(); }

private:
    std::string& buffer() { return lines_.buffer(); }
    Lines lines_;
};

namespace detail {

// An item's name as written; an empty one becomes "No-Name-" and the number.
inline std::string item_name(std::string_view name, std::int32_t number)
{
    if (name.empty()) return "No-Name-" + std::to_string(number);
    return written_name(name);
}

inline const char* marker_word(point_type marker)
{
    if (marker & p_circle) return "circle";
    if (marker & p_square) return "square";
    return "default";
}

// The last three lines of a node or point, and the empty line after it:
// the degrees of its waypoint when that exists, else the item's own copy.
template <class Out>
void write_position(Out& out, const map_document& doc, std::int32_t number, long double lon,
                    long double lat)
{
    const t_waypoint* w = doc.waypoint(number);
    out.indent(8).integer(w ? w->number : number).text(",").end();
    out.indent(8).real(w ? w->lon : to_degrees(lon)).text(",").end();
    out.indent(8).real(w ? w->lat : to_degrees(lat)).end();
    out.line("");
}

template <class Out>
void write_class_references(Out& out, const map_document& doc, const t_mapper& item)
{
    for (const std::int32_t number : item.classes) {
        const t_class* c = doc.class_by_number(number);
        const std::string name = c ? item_name(c->name, c->number) : "No-Name-" + std::to_string(number);
        out.indent(4).text("class ").text(name).end();
    }
}

template <class Out>
void write_shape(Out& out, const map_document& doc, const t_shape& shape)
{
    out.text(shape.is_path() ? "path " : "shape ").text(item_name(shape.name, shape.number)).end();
    out.indent(2).line("{");
    out.indent(4).text("colour ").rgb(shape.colour).end();
    out.indent(4).text("border ").rgb(shape.border).end();
    write_class_references(out, doc, shape);
    out.indent(4).line("nodes");
    out.indent(6).line("{");
    for (const t_node& node : shape.nodes) write_position(out, doc, node.waypoint, node.lon, node.lat);
    out.indent(6).line("}");
    out.indent(2).line("}");
    out.line("");
}

template <class Out>
void write_point(Out& out, const map_document& doc, const point_record& p, std::int32_t number)
{
    out.indent(8).text(item_name(p.name, number)).text(",").end();
    out.indent(8).text("colour ").rgb(p.colour).end();
    out.indent(8).text("border ").rgb(p.border).end();
    out.indent(8).text(marker_word(p.marker)).text(",").end();
    out.indent(8).real(p.size).text(",").end();
    out.indent(8).text(p.show_name ? "1" : "0").text(",").end();
    write_position(out, doc, p.waypoint, p.lon, p.lat);
}

} // namespace detail

// A record of a map file: the lines one write_record call gives.
struct record {
    enum kind_type : std::uint8_t {
        waypoints_head,
        waypoint,
        waypoints_tail,
        map_class,
        shape,
        set_head,
        set_point,
        set_tail,
    };
    kind_type kind = waypoints_head;
    std::uint32_t item = 0;   // the waypoint, class, shape or set, by its place in the map
    std::int32_t point = 0;   // of a set, 0-based
};

// The records of a map file in the order the file holds them: the
// waypoints block, then every class, shape and point set in chain order.
// A shape without nodes and a set without points are left out.
template <class Take>
void for_each_record(const map_document& doc, Take&& take)
{
    const auto index = [](std::size_t i) { return static_cast<std::uint32_t>(i); };
    if (!doc.waypoints.empty()) {
        take(record{record::waypoints_head});
        for (std::size_t i = 0; i < doc.waypoints.size(); ++i) take(record{record::waypoint, index(i)});
        take(record{record::waypoints_tail});
    }
    for (std::size_t i = 0; i < doc.classes.size(); ++i) take(record{record::map_class, index(i)});
    for (std::size_t i = 0; i < doc.shapes.size(); ++i)
        if (doc.shapes[i]->node_count() >= 1) take(record{record::shape, index(i)});
    for (std::size_t i = 0; i < doc.sets.size(); ++i) {
        const std::int32_t count = doc.sets[i]->point_count;
        if (count < 1) continue;
        take(record{record::set_head, index(i)});
        for (std::int32_t p = 0; p < count; ++p) take(record{record::set_point, index(i), p});
        take(record{record::set_tail, index(i)});
    }
}

// How many lines' worth of work a record is, roughly.
inline std::size_t weight_of(const map_document& doc, const record& r)
{
    return r.kind == record::shape ? doc.shapes[r.item]->nodes.size() + 4 : 1;
}

template <class Out>
void write_record(Out& out, const map_document& doc, const record& r)
{
    using namespace detail;
    switch (r.kind) {
    case record::waypoints_head:
        out.line("waypoints");
        out.indent(2).line("{");
        break;
    case record::waypoint: {
        const t_waypoint& w = *doc.waypoints[r.item];
        out.indent(4).text(item_name(w.name, w.number)).text(",").end();
        out.indent(4).real(w.lon).text(",").end();
        out.indent(4).real(w.lat).text(",").end();
        out.indent(4).real(w.alt).end();
        out.line("");
        break;
    }
    case record::waypoints_tail:
        out.indent(2).line("}");
        out.line("");
        break;
    case record::map_class: {
        const t_class& c = *doc.classes[r.item];
        out.text("class ").text(item_name(c.name, c.number)).end();
        out.indent(2).line("{");
        out.indent(4).text("colour ").rgb(c.colour).end();
        out.indent(4).text("border ").rgb(c.border).end();
        out.indent(2).line("}");
        out.line("");
        break;
    }
    case record::shape:
        write_shape(out, doc, *doc.shapes[r.item]);
        break;
    case record::set_head: {
        const t_set& set = *doc.sets[r.item];
        out.text("set ").text(item_name(set.name, set.number)).end();
        out.indent(2).line("{");
        write_class_references(out, doc, set);
        out.indent(4).line("points");
        out.indent(6).line("{");
        break;
    }
    case record::set_point:
        write_point(out, doc, doc.sets[r.item]->points[static_cast<std::size_t>(r.point)], r.point + 1);
        break;
    case record::set_tail:
        out.indent(6).line("}");
        out.indent(2).line("}");
        out.line("");
        break;
    }
}

// The whole map into one sink.
template <class Out>
void map_to(Out& out, const map_document& doc)
{
    for_each_record(doc, [&](const record& r) { write_record(out, doc, r); });
}

// Lines kept in a string, each ended by CR LF as in a file.
struct string_lines {
    std::string& text;
    std::string& buffer() { return text; }
    void end_line() { text.append("\r\n"); }
};

// Replaces the file with what `fill` writes into it, a block at a time.
template <class Fill>
bool replace_with(const std::string& file_name, std::string* error, Fill fill)
{
    return replace_file(file_name, [&](const std::string& temp, std::string& reason) {
        buffered_file file(temp);
        if (file.ok()) fill(file);
        return file.close(reason);
    }, error);
}

} // namespace wayloom::map_text
