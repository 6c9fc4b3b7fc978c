#include "annotations/qt/legend_painter.h"
#include "annotations/qt/ruler_painter.h"
#include "cli/commands.h"
#include "cli/drawing_support.h"
#include "cli/legend_options.h"
#include "cli/map_loading.h"
#include "cli/page_options.h"
#include "editing/map_files.h"
#include "print/qt/vector_export.h"
#include "view/bitmap_export.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include <QPalette>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace wayloom::cli {

namespace {

constexpr std::string_view render_usage =
    "usage: wayloom-cli render MAP [MAP...] -o FILE.bmp|FILE.png|FILE.pdf|FILE.svg [--width W] [--height H] "
    "[--border N] [--select all|NAME,NAME...] [--background R,G,B] "
    "[--legend NAME,... | --legend-classes NAME,...] [--legend-at X,Y] [--font-size N] [--bold] "
    "[--unit metre|kilometre|feet|yard|mile] [--ruler AMOUNT [--ruler-at X,Y] [--vertical]] "
    "[--scale N] [--paper a4|a3|letter] [--landscape]";

// The window's draw panel on first start.
constexpr std::int32_t default_width = 800;
constexpr std::int32_t default_height = 600;
// Larger images than this would only exhaust memory.
constexpr std::int64_t largest_side = 20000;

std::optional<std::int64_t> whole_number(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<colour_value> colour_from(std::string_view text)
{
    const std::vector<std::string> parts = split_commas(text);
    if (parts.size() != 3) return std::nullopt;
    std::array<std::uint32_t, 3> rgb{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto value = whole_number(parts[i]);
        if (!value || *value < 0 || *value > 255) return std::nullopt;
        rgb[i] = static_cast<std::uint32_t>(*value);
    }
    return make_colour(rgb[0], rgb[1], rgb[2]);
}

int usage(std::string_view problem = {}) { return wrong_arguments(render_usage, problem); }

// Marks the named items selected; "all" selects every item. Returns the
// first name no item carries, or nothing.
std::optional<std::string> select_items(item_list& shape_list, std::string_view selection)
{
    if (selection == "all") {
        for (list_entry& entry : shape_list.entries) entry.selected = true;
        return std::nullopt;
    }
    for (const std::string& name : split_commas(selection)) {
        bool found = false;
        for (list_entry& entry : shape_list.entries)
            if (entry.text == name) entry.selected = found = true;
        if (!found) return name;
    }
    return std::nullopt;
}

} // namespace

int render_command(arguments args)
{
    constexpr std::array<std::string_view, 16> with_value{
        "-o",          "--output",     "--width",  "--height", "--border",   "--select",   "--background",
        "--legend",    "--legend-classes", "--legend-at", "--font-size", "--unit", "--ruler", "--ruler-at",
        "--scale",     "--paper"};
    constexpr std::array<std::string_view, 3> flags{"--bold", "--vertical", "--landscape"};
    parsed_arguments parsed;
    std::string problem;
    if (!parse_arguments(args, with_value, flags, parsed, problem)) return usage(problem);
    legend_request legend;
    if (auto wrong = read_legend_options(parsed, "--legend", "--legend-classes", true, legend))
        return usage(*wrong);
    const std::string* out = parsed.output();
    if (!out || parsed.files.empty()) return usage();
    const std::optional<vector_format> vector = vector_format_of(*out);
    page_order page;
    if (wants_page(parsed)) {
        if (!vector) return usage("--scale, --paper and --landscape make a page: write a .pdf or .svg file");
        if (auto placed = picture_only_option(parsed))
            return usage(*placed + " is for a picture: a page places the map, the ruler and the legend itself");
        if (auto wrong = read_page_options(parsed, page)) return usage(*wrong);
    }

    view_state state;
    state.avail_width = default_width;
    state.avail_height = default_height;
    for (auto [name, target] : {std::pair{"--width", &state.avail_width},
                                std::pair{"--height", &state.avail_height}}) {
        const std::string* text = parsed.option(name);
        if (!text) continue;
        const auto value = whole_number(*text);
        if (!value || *value < 1 || *value > largest_side)
            return usage(std::string(name) + " wants a whole number from 1 to " +
                         std::to_string(largest_side) + ", not " + *text);
        *target = static_cast<std::int32_t>(*value);
    }
    if (const std::string* text = parsed.option("--border")) {
        const auto value = whole_number(*text);
        if (!value) return usage("--border wants a whole number, not " + *text);
        state.set_map_border(*value);
    }
    if (const std::string* text = parsed.option("--background")) {
        const auto colour = colour_from(*text);
        if (!colour) return usage("--background wants R,G,B from 0 to 255, not " + *text);
        state.background = *colour;
    }
    const std::string* selection = parsed.option("--select");
    measurement units;
    if (auto wrong = read_unit_option(parsed, units.choice)) return usage(*wrong);
    // The ruler as the scale window plonks it: placed at X,Y, the amount typed.
    scale_ruler ruler;
    if (const std::string* amount = parsed.option("--ruler")) {
        ruler.visible = true;
        ruler.amount = *amount;
        ruler.w = ruler.h = 0;
        if (parsed.has_flag("--vertical")) ruler.orientation = ruler_orientation::vertical;
        if (const std::string* at = parsed.option("--ruler-at")) {
            const std::vector<std::string> parts = split_commas(*at);
            const auto x = parts.size() == 2 ? whole_number(parts[0]) : std::nullopt;
            const auto y = parts.size() == 2 ? whole_number(parts[1]) : std::nullopt;
            if (!x || !y || *x < 0 || *y < 0 || *x > largest_side || *y > largest_side)
                return usage("--ruler-at wants X,Y from 0 to " + std::to_string(largest_side) +
                             ", not " + *at);
            ruler.x = static_cast<std::int32_t>(*x);
            ruler.y = static_cast<std::int32_t>(*y);
        }
    } else if (parsed.option("--ruler-at") || parsed.has_flag("--vertical")) {
        return usage("--ruler-at and --vertical place a --ruler");
    }

    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr, view_after_read(state))) return 1;
    if (auto missing = select_items(doc.shape_list, selection ? *selection : "all")) {
        std::cerr << "error: no shape or point set is named " << *missing << '\n';
        return 1;
    }
    if (legend.wanted) {
        if (auto missing = choose_legend_items(legend, doc)) {
            std::cerr << "error: " << *missing << '\n';
            return 1;
        }
    }
    // What "Draw map" does once the items are selected.
    resize_window(state, doc.shape_list);

    const offscreen_application application;
    map_annotations annotations;
    if (ruler.visible)  // the label on the text-field colour, as in the window
        annotations.scale_ruler = [&](QPainter& painter) {
            draw_ruler(painter, ruler, state, doc.shape_list, units,
                       QGuiApplication::palette().color(QPalette::Base));
        };
    if (legend.wanted)
        annotations.legend = [&](QPainter& painter) {
            update_legend_on(legend.legend, doc, painter.device());
            draw_legend(painter, legend.legend, legend.legend.x, legend.legend.y, state.background);
        };

    std::string error;
    if (wants_page(parsed)) {
        page.title = map_name(parsed.files.front());
        page.unit = units.choice;
        if (ruler.visible) page.ruler = ruler;
        if (legend.wanted) page.legend = legend.legend;
        prepared_page prepared = prepare_page(doc, state, page);
        if (!prepared.page) {
            std::cerr << "error: " << prepared.error << '\n';
            return 1;
        }
        if (!save_page(*out, *prepared.page, doc, &error)) {
            std::cerr << "error: " << error << '\n';
            return 1;
        }
        std::cout << "wrote " << *out << ", " << paper_description(page.paper, page.landscape)
                  << (page.scale ? " at " : " fitted at ")
                  << scale_text(std::llround(prepared.page->plan.scale)) << '\n';
        return 0;
    }
    const bool written =
        vector ? save_vector(*out, *vector, page_millimetres(state.surface.width),
                             page_millimetres(state.surface.height),
                             [&](QPainter& painter) { draw(painter, state, doc.shape_list, annotations); },
                             &error)
               : save_bitmap(render_map(state, doc.shape_list, annotations), state.surface.width,
                             state.surface.height, *out, &error);
    if (!written) {
        std::cerr << "error: " << error << '\n';
        return 1;
    }
    std::cout << "wrote " << *out << ", " << state.surface.width << " x " << state.surface.height
              << " pixels\n";
    return 0;
}

} // namespace wayloom::cli
