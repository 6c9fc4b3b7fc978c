#include "annotations/qt/legend_painter.h"
#include "annotations/qt/ruler_painter.h"
#include "cli/commands.h"
#include "cli/drawing_support.h"
#include "cli/legend_options.h"
#include "cli/map_loading.h"
#include "cli/option_values.h"
#include "cli/page_options.h"
#include "editing/map_files.h"
#include "print/qt/vector_export.h"
#include "view/bitmap_export.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include <QPalette>

#include <array>
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

int usage(std::string_view problem = {}) { return wrong_arguments(render_usage, problem); }

// Marks the named items selected. Returns the first name no item carries,
// or nothing.
std::optional<std::string> select_items(item_list& shape_list, std::span<const std::string> names)
{
    for (const std::string& name : names) {
        bool found = false;
        for (list_entry& entry : shape_list.entries)
            if (names_item(name, entry.text)) entry.selected = found = true;
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
    std::int64_t width = default_width, height = default_height, border = 0;
    std::array<std::int64_t, 3> rgb{255, 255, 255};
    for (auto wrong : {read_whole_option(parsed, "--width", 1, largest_side, {&width, 1}),
                       read_whole_option(parsed, "--height", 1, largest_side, {&height, 1}),
                       read_whole_option(parsed, "--border", INT64_MIN, INT64_MAX, {&border, 1}),
                       read_whole_option(parsed, "--background", 0, 255, rgb, "R,G,B")})
        if (wrong) return usage(*wrong);
    state.avail_width = static_cast<std::int32_t>(width);
    state.avail_height = static_cast<std::int32_t>(height);
    state.set_map_border(border);
    if (parsed.option("--background"))
        state.background = make_colour(static_cast<std::uint32_t>(rgb[0]), static_cast<std::uint32_t>(rgb[1]),
                                       static_cast<std::uint32_t>(rgb[2]));
    // "all", the default, selects every item; an empty list none.
    const std::string* selection = parsed.option("--select");
    const bool select_all = !selection || *selection == "all";
    std::vector<std::string> selected;
    if (auto wrong = read_names("--select", select_all ? "" : *selection, selected)) return usage(*wrong);
    measurement units;
    if (auto wrong = read_unit_option(parsed, units.choice)) return usage(*wrong);
    // The ruler as the scale window plonks it: placed at X,Y, the amount typed.
    scale_ruler ruler;
    if (const std::string* amount = parsed.option("--ruler")) {
        ruler.visible = true;
        ruler.amount = *amount;
        ruler.w = ruler.h = 0;
        if (parsed.has_flag("--vertical")) ruler.orientation = ruler_orientation::vertical;
        std::array<std::int64_t, 2> at{0, 0};
        if (auto wrong = read_whole_option(parsed, "--ruler-at", 0, largest_side, at, "X,Y"))
            return usage(*wrong);
        ruler.x = static_cast<std::int32_t>(at[0]);
        ruler.y = static_cast<std::int32_t>(at[1]);
    } else if (parsed.option("--ruler-at") || parsed.has_flag("--vertical")) {
        return usage("--ruler-at and --vertical place a --ruler");
    }

    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr, view_after_read(state))) return 1;
    // An empty list draws no item, on the map the whole selection would
    // show: the ruler and the legend keep its scale.
    const bool select_none = !select_all && selected.empty();
    for (list_entry& entry : doc.shape_list.entries) entry.selected = select_all || select_none;
    if (auto missing = select_items(doc.shape_list, selected)) {
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
    const item_list measured = doc.shape_list;
    if (select_none)
        for (list_entry& entry : doc.shape_list.entries) entry.selected = false;

    const offscreen_application application;
    map_annotations annotations;
    if (ruler.visible)  // the label on the text-field colour, as in the window
        annotations.scale_ruler = [&](QPainter& painter) {
            draw_ruler(painter, ruler, state, measured, units,
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
