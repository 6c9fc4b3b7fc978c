#include "cli/legend_options.h"

#include "cli/option_values.h"
#include "model/map_document.h"

#include <array>

namespace wayloom::cli {

namespace {

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
    out.legend.classification =
        shapes ? legend_classification::shapes : legend_classification::classes;
    if (out.wanted) {
        const std::string_view option = shapes ? shapes_option : classes_option;
        if (auto wrong = read_names(option, shapes ? *shapes : *classes, out.names)) return wrong;
        if (out.names.empty()) return std::string(option) + " wants at least one name";
    }
    std::array<std::int64_t, 2> at{0, 0};
    std::int64_t size = out.legend.font.size;
    for (auto wrong : {placed ? read_whole_option(parsed, "--legend-at", 0, largest_position, at, "X,Y")
                              : std::nullopt,
                       read_whole_option(parsed, "--font-size", min_legend_font_size, max_legend_font_size,
                                         {&size, 1})})
        if (wrong) return wrong;
    out.legend.x = static_cast<std::int32_t>(at[0]);
    out.legend.y = static_cast<std::int32_t>(at[1]);
    out.legend.font.size = static_cast<std::int32_t>(size);
    out.legend.font.bold = parsed.has_flag("--bold");
    return std::nullopt;
}

std::optional<std::string> choose_legend_items(legend_request& request, map_document& doc)
{
    analyse(request.legend, doc);
    const bool shapes = request.legend.classification == legend_classification::shapes;
    for (const std::string& name : request.names) {
        bool found = false;
        for (legend_list_item& item : request.legend.legend_list)
            if (names_item(name, item.text)) item.selected = found = true;
        if (!found) return std::string(shapes ? "no shape is named " : "no class is named ") + name;
    }
    return std::nullopt;
}

} // namespace wayloom::cli
