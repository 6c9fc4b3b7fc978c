#include "cli/legend_options.h"

#include "cli/drawing_support.h"
#include "model/map_document.h"
#include "source/number_text.h"

namespace wayloom::cli {

namespace {

// Beyond this a legend would only exhaust memory.
constexpr std::int64_t largest_font_size = 500;
constexpr std::int64_t largest_position = 20000;

} // namespace

std::optional<std::string> read_legend_options(const parsed_arguments& parsed,
                                               std::string_view shapes_option,
                                               std::string_view classes_option, bool placed,
                                               legend_request& out)
{
    const std::string* shapes = parsed.option(shapes_option);
    const std::string* classes = parsed.option(classes_option);
    if (shapes && classes)
        return "give " + std::string(shapes_option) + " or " + std::string(classes_option) +
               ", not both";
    out.wanted = shapes || classes;
    out.names = shapes ? *shapes : classes ? *classes : "";
    out.legend.classification =
        shapes ? legend_classification::shapes : legend_classification::classes;
    if (const std::string* text = placed ? parsed.option("--legend-at") : nullptr) {
        const std::vector<std::string> parts = split_commas(*text);
        std::optional<std::int64_t> x, y;
        if (parts.size() == 2) {
            x = parse_whole_number(parts[0]);
            y = parse_whole_number(parts[1]);
        }
        if (!x || !y || *x < 0 || *y < 0 || *x > largest_position || *y > largest_position)
            return "--legend-at wants X,Y from 0 to " + std::to_string(largest_position) +
                   ", not " + *text;
        out.legend.x = static_cast<std::int32_t>(*x);
        out.legend.y = static_cast<std::int32_t>(*y);
    }
    if (const std::string* text = parsed.option("--font-size")) {
        const std::optional<std::int64_t> size = parse_whole_number(*text);
        if (!size || *size < 1 || *size > largest_font_size)
            return "--font-size wants a whole number from 1 to " +
                   std::to_string(largest_font_size) + ", not " + *text;
        out.legend.font.size = static_cast<std::int32_t>(*size);
    }
    out.legend.font.bold = parsed.has_flag("--bold");
    return std::nullopt;
}

std::optional<std::string> choose_legend_items(legend_request& request, map_document& doc)
{
    analyse(request.legend, doc);
    const bool shapes = request.legend.classification == legend_classification::shapes;
    for (const std::string& name : split_commas(request.names)) {
        bool found = false;
        for (legend_list_item& item : request.legend.legend_list)
            if (item.text == name) item.selected = found = true;
        if (!found) return std::string(shapes ? "no shape is named " : "no class is named ") + name;
    }
    return std::nullopt;
}

} // namespace wayloom::cli
