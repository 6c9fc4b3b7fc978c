#include "cli/page_options.h"

#include <array>
#include <string_view>

namespace wayloom::cli {

bool wants_page(const parsed_arguments& parsed)
{
    return parsed.option("--scale") || parsed.option("--paper") || parsed.has_flag("--landscape");
}

std::optional<std::string> read_page_options(const parsed_arguments& parsed, page_order& order)
{
    if (const std::string* name = parsed.option("--paper")) {
        const std::optional<paper_size> paper = paper_named(*name);
        if (!paper) return "--paper wants a4, a3 or letter, not " + *name;
        order.paper = *paper;
    }
    order.landscape = parsed.has_flag("--landscape");
    if (const std::string* text = parsed.option("--scale")) {
        const scale_choice choice = parse_scale(*text);
        if (!choice.error.empty() || !choice.scale)
            return "--scale wants N of 1:N, a whole number from 1 to " + std::to_string(largest_scale) +
                   ", not " + *text;
        order.scale = choice.scale;
    }
    return std::nullopt;
}

std::optional<std::string> picture_only_option(const parsed_arguments& parsed)
{
    constexpr std::array<std::string_view, 4> placed{"--width", "--height", "--ruler-at", "--legend-at"};
    for (std::string_view name : placed)
        if (parsed.option(name)) return std::string(name);
    if (parsed.has_flag("--vertical")) return "--vertical";
    return std::nullopt;
}

} // namespace wayloom::cli
