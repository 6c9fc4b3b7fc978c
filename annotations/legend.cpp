#include "annotations/legend.h"

#include "annotations/nudge.h"
#include "model/map_document.h"
#include "source/number_text.h"

#include <algorithm>

namespace wayloom {

namespace {

const t_shape* shape_by_serial(const map_document& doc, std::int32_t serial)
{
    for (const auto& shape : doc.shapes)
        if (shape->number == serial) return shape.get();
    return nullptr;
}

std::int32_t read_integer(const setting_reader& read, std::string_view key,
                          std::int32_t fallback)
{
    const std::optional<std::string> text = read ? read(key) : std::nullopt;
    return text ? parse_whole_32(*text).value_or(fallback) : fallback;
}

} // namespace

void analyse(legend_state& legend, map_document& doc)
{
    doc.legend_ready = false;
    const std::vector<legend_list_item> before = std::move(legend.legend_list);
    legend.legend_list.clear();
    legend.layout = {};
    const auto was_chosen = [&before](const legend_list_item& item) {
        return std::ranges::any_of(before, [&item](const legend_list_item& old) {
            return old.selected && old.shape_number == item.shape_number &&
                   old.class_number == item.class_number;
        });
    };
    if (doc.shapes.empty()) return;
    const bool classes = legend.classification == legend_classification::classes;
    if (doc.shape_list.empty() || (classes && doc.class_list.empty())) {
        doc.legend_ready = true;
        return;
    }
    if (classes)
        for (const auto& c : doc.classes) legend.legend_list.push_back({c->name, 0, c->number});
    else
        for (const auto& shape : doc.shapes) legend.legend_list.push_back({shape->name, shape->number});
    for (legend_list_item& item : legend.legend_list) item.selected = was_chosen(item);
    doc.legend_ready = true;
}

void legend_items_changed(legend_state& legend, map_document& doc, const text_measure& measure)
{
    const bool had_entries = legend.count() > 0;
    analyse(legend, doc);
    if (had_entries) update_legend(legend, doc, measure);
}

void update_legend(legend_state& legend, const map_document& doc, const text_measure& measure)
{
    std::vector<legend_source> sources;
    for (const legend_list_item& item : legend.legend_list) {
        if (!item.selected) continue;
        if (item.shape_number != 0) {
            if (const t_shape* shape = shape_by_serial(doc, item.shape_number))
                sources.push_back({item.text, shape->colour});
        } else if (const t_class* c = doc.class_by_number(item.class_number)) {
            sources.push_back({item.text, c->colour});
        }
    }
    legend.layout = measure_legend(sources, measure);
}

bool change_colour(const legend_state& legend, map_document& doc, colour_value colour)
{
    bool changed = false;
    for (const legend_list_item& item : legend.legend_list) {
        if (!item.selected) continue;
        if (item.shape_number != 0) {
            for (auto& shape : doc.shapes)
                if (shape->number == item.shape_number) {
                    shape->colour = colour;
                    changed = true;
                }
            continue;
        }
        if (t_class* c = doc.class_by_number(item.class_number)) {
            doc.recolour_class(*c, colour);
            changed = true;
        }
    }
    return changed;
}

plonk_result plonk(legend_state& legend, const map_document& doc, const text_measure& measure)
{
    if (doc.shape_list.empty() || !doc.legend_ready) return {};
    update_legend(legend, doc, measure);
    legend.on_map = !legend.on_map;
    return {legend.on_map, legend.on_map};
}

bool nudge_legend(legend_state& legend, const map_document& doc, nudge_direction direction,
                  long double fit_width, long double fit_height)
{
    if (!doc.legend_ready) return false;
    const std::int32_t old_x = legend.x, old_y = legend.y;
    switch (direction) {
    case nudge_direction::up: legend.y = nudge_back(legend.y, legend.step); break;
    case nudge_direction::left: legend.x = nudge_back(legend.x, legend.step); break;
    case nudge_direction::down:
        legend.y = nudge_forward(legend.y, legend.step, legend.layout.height, fit_height);
        break;
    case nudge_direction::right:
        legend.x = nudge_forward(legend.x, legend.step, legend.layout.width, fit_width);
        break;
    }
    return legend.x != old_x || legend.y != old_y;
}

std::optional<std::string> step_edit_change(legend_state& legend, std::string_view text)
{
    const std::optional<std::int32_t> step = parse_whole_32(text);
    if (!step || *step == -1) {
        legend.step = 1;
        return "1";
    }
    legend.step = *step;
    return std::nullopt;
}

std::int32_t font_size_from_text(std::string_view text)
{
    const std::optional<std::int64_t> size = parse_whole_number(text);
    return size ? legend_font_size(*size) : legend_font{}.size;
}

bool exactly_bold(const font_style& style)
{
    return style.bold && !style.italic && !style.underline && !style.strike_out;
}

void load_legend_settings(legend_state& legend, const setting_reader& read)
{
    legend.x = read_integer(read, "x", 0);
    legend.y = read_integer(read, "y", 0);
    legend.step = read_integer(read, "step", 1);
    legend.font.size = read_integer(read, "font_size", 10);
    if (legend_font_size(legend.font.size) != legend.font.size) legend.font.size = 10;
    legend.font.bold = read_integer(read, "font_bold", 0) != 0;
    legend.legend_image = read_integer(read, "legend_image", 0) != 0;
}

void save_legend_settings(const legend_state& legend, const setting_writer& write)
{
    if (!write) return;
    write("x", std::to_string(legend.x));
    write("y", std::to_string(legend.y));
    write("step", std::to_string(legend.step));
    write("font_size", std::to_string(legend.font.size));
    write("font_bold", legend.font.bold ? "1" : "0");
    write("legend_image", legend.legend_image ? "1" : "0");
}

} // namespace wayloom
