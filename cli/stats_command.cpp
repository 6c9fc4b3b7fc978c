// wayloom-cli stats: the area report, byte for byte as the statistics window
// writes it, to standard output or a file.
#include "cli/commands.h"
#include "cli/map_loading.h"
#include "cli/option_values.h"
#include "model/map_document.h"
#include "statistics/area_report.h"
#include "view/geometry/ellipsoidal_area.h"
#include "view/geometry/map_refresh.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>

namespace wayloom::cli {

namespace {

constexpr std::string_view stats_usage =
    "usage: wayloom-cli stats MAP [MAP...] [--perimeter NAME] [--shapes NAME,... | --classes NAME,...] "
    "[--unit metre|kilometre|feet|yard|mile] [--ellipsoidal] [-o FILE]";

int usage(std::string_view problem = {}) { return wrong_arguments(stats_usage, problem); }

// The registry's items named in `names`, in registry order; the first name
// no item carries in `unknown`.
template <class Item>
std::vector<const Item*> named(const std::vector<std::unique_ptr<Item>>& items,
                               const std::vector<std::string>& names, std::string& unknown)
{
    std::vector<bool> chosen(items.size(), false);
    for (const std::string& name : names) {
        bool found = false;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (names_item(name, items[i]->name)) chosen[i] = found = true;
        if (!found && unknown.empty()) unknown = name;
    }
    std::vector<const Item*> out;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (chosen[i]) out.push_back(items[i].get());
    return out;
}

} // namespace

int stats_command(arguments args)
{
    constexpr std::array<std::string_view, 6> with_value{"-o", "--output", "--perimeter",
                                                         "--shapes", "--classes", "--unit"};
    constexpr std::array<std::string_view, 1> flags{"--ellipsoidal"};
    parsed_arguments parsed;
    std::string problem;
    if (!parse_arguments(args, with_value, flags, parsed, problem)) return usage(problem);
    if (parsed.files.empty()) return usage();
    const std::string* shapes = parsed.option("--shapes");
    const std::string* classes = parsed.option("--classes");
    if (shapes && classes) return usage("give --shapes or --classes, not both");
    report_choice choice;
    if (auto wrong = read_unit_option(parsed, choice.unit)) return usage(*wrong);
    // An empty list names none: the report of the perimeter and a zero total.
    std::vector<std::string> names;
    if (shapes || classes)
        if (auto wrong = read_names(shapes ? "--shapes" : "--classes", shapes ? *shapes : *classes, names))
            return usage(*wrong);

    map_document doc;
    view_state state;
    if (!read_maps(doc, parsed.files, std::cerr, view_after_read(state))) return 1;
    if (doc.shapes.empty()) {
        std::cerr << "error: the map has no shape\n";
        return 1;
    }

    choice.perimeter = doc.shapes.front().get();
    if (const std::string* perimeter = parsed.option("--perimeter")) {
        choice.perimeter = nullptr;
        for (const auto& shape : doc.shapes)
            if (!choice.perimeter && names_item(*perimeter, shape->name)) choice.perimeter = shape.get();
        if (!choice.perimeter) {
            std::cerr << "error: no shape named " << *perimeter << '\n';
            return 1;
        }
    }
    std::string unknown;
    if (classes) {
        choice.mode = report_mode::classes;
        choice.classes = named(doc.classes, names, unknown);
        if (!unknown.empty()) {
            std::cerr << "error: no class named " << unknown << '\n';
            return 1;
        }
    } else {
        choice.shapes = named(doc.shapes, names, unknown);
        if (!shapes)
            for (const auto& shape : doc.shapes) choice.shapes.push_back(shape.get());
        if (!unknown.empty()) {
            std::cerr << "error: no shape named " << unknown << '\n';
            return 1;
        }
    }
    if (parsed.has_flag("--ellipsoidal")) choice.ellipsoidal_area = ellipsoidal_area;

    const std::string text = report_text(report_lines(doc, choice));
    const std::string* output = parsed.output();
    if (!output) {
        std::cout << text;
        return std::cout ? 0 : 1;
    }
    std::ofstream out(*output, std::ios::binary | std::ios::trunc);
    if (out) out << text;
    if (out) out.close();
    if (!out) {
        std::cerr << "error: cannot write " << *output << '\n';
        return 1;
    }
    return 0;
}

} // namespace wayloom::cli
