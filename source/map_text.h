// The map source text of the model's records, for the writers: a line at a
// time into whichever sink takes the lines (the held source, a file, a
// string). Each record writes exactly the lines a whole-map write gives it,
// so the text can be made in pieces and joined.
#pragma once

#include "model/map_document.h"
#include "model/map_units.h"
#include "source/buffered_file.h"
#include "source/file_replacement.h"
#include "source/number_text.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom {

// A name as the writer puts it (in writer.h).
std::string written_name(std::string_view name);

namespace map_text {

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

// Degrees as written for a node or point: the waypoint's own when it exists,
// else the item's copy (map units back to degrees).
struct written_position {
    std::int32_t number;
    long double lon, lat;
};

inline written_position position_of(const map_document& doc, std::int32_t number, long double lon,
                             long double lat)
{
    if (const t_waypoint* w = doc.waypoint(number)) return {w->number, w->lon, w->lat};
    return {number, to_degrees(lon), to_degrees(lat)};
}

// The last three lines of a node or point, and the empty line after it.
template <class Out>
void write_position(Out& out, const map_document& doc, std::int32_t number, long double lon,
                    long double lat)
{
    const auto at = position_of(doc, number, lon, lat);
    out.indent(8).integer(at.number).text(",").end();
    out.indent(8).real(at.lon).text(",").end();
    out.indent(8).real(at.lat).end();
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
void waypoints_head(Out& out)
{
    out.line("waypoints");
    out.indent(2).line("{");
}

template <class Out>
void waypoint_record(Out& out, const t_waypoint& w)
{
    out.indent(4).text(item_name(w.name, w.number)).text(",").end();
    out.indent(4).real(w.lon).text(",").end();
    out.indent(4).real(w.lat).text(",").end();
    out.indent(4).real(w.alt).end();
    out.line("");
}

template <class Out>
void waypoints_tail(Out& out)
{
    out.indent(2).line("}");
    out.line("");
}

template <class Out>
void waypoints_to(Out& out, const map_document& doc)
{
    waypoints_head(out);
    for (const t_waypoint* w : doc.waypoints) waypoint_record(out, *w);
    waypoints_tail(out);
}

template <class Out>
void class_to(Out& out, const t_class& c)
{
    out.text("class ").text(item_name(c.name, c.number)).end();
    out.indent(2).line("{");
    out.indent(4).text("colour ").rgb(c.colour).end();
    out.indent(4).text("border ").rgb(c.border).end();
    out.indent(2).line("}");
    out.line("");
}

template <class Out>
void shape_to(Out& out, const map_document& doc, const t_shape& shape)
{
    if (shape.node_count() < 1) return;
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
void set_head(Out& out, const map_document& doc, const t_set& set)
{
    out.text("set ").text(item_name(set.name, set.number)).end();
    out.indent(2).line("{");
    write_class_references(out, doc, set);
    out.indent(4).line("points");
    out.indent(6).line("{");
}

// Point `i` (0-based) of the set.
template <class Out>
void set_point(Out& out, const map_document& doc, const t_set& set, std::int32_t i)
{
    const point_record& p = set.points[static_cast<std::size_t>(i)];
    out.indent(8).text(item_name(p.name, i + 1)).text(",").end();
    out.indent(8).text("colour ").rgb(p.colour).end();
    out.indent(8).text("border ").rgb(p.border).end();
    out.indent(8).text(marker_word(p.marker)).text(",").end();
    out.indent(8).real(p.size).text(",").end();
    out.indent(8).text(p.show_name ? "1" : "0").text(",").end();
    write_position(out, doc, p.waypoint, p.lon, p.lat);
}

template <class Out>
void set_tail(Out& out)
{
    out.indent(6).line("}");
    out.indent(2).line("}");
    out.line("");
}

// A set without points writes nothing.
template <class Out>
void set_to(Out& out, const map_document& doc, const t_set& set)
{
    if (set.point_count < 1) return;
    set_head(out, doc, set);
    for (std::int32_t i = 0; i < set.point_count; ++i) set_point(out, doc, set, i);
    set_tail(out);
}

// The whole map: the waypoints block, then every class, shape and point set
// in chain order.
template <class Out>
void map_to(Out& out, const map_document& doc)
{
    if (!doc.waypoints.empty()) waypoints_to(out, doc);
    for (const auto& c : doc.classes) class_to(out, *c);
    for (const auto& shape : doc.shapes) shape_to(out, doc, *shape);
    for (const auto& set : doc.sets) set_to(out, doc, *set);
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

} // namespace map_text
} // namespace wayloom
