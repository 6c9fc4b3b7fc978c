#include "cli/option_values.h"

#include "source/number_text.h"

#include <algorithm>
#include <limits>

namespace wayloom::cli {

namespace {

char folded(char c)
{
    if (c == ' ') return '_';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::vector<std::string> split_commas(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return parts;
}

std::optional<std::string> read_whole_option(const parsed_arguments& parsed, std::string_view name,
                                             std::int64_t low, std::int64_t high,
                                             std::span<std::int64_t> values, std::string_view fields)
{
    const std::string* text = parsed.option(name);
    if (!text) return std::nullopt;
    const std::vector<std::string> parts = split_commas(*text);
    bool sound = parts.size() == values.size();
    for (std::size_t i = 0; sound && i < parts.size(); ++i) {
        const std::optional<std::int64_t> value = parse_whole_number(parts[i], low, high);
        if (value) values[i] = *value;
        sound = value.has_value();
    }
    if (sound) return std::nullopt;
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    std::string wanted = fields.empty() ? "a whole number" : std::string(fields);
    if (low != lowest || high != highest)
        wanted += " from " + std::to_string(low) + " to " + std::to_string(high);
    return std::string(name) + " wants " + wanted + ", not " + *text;
}

std::optional<std::string> read_names(std::string_view option, std::string_view text,
                                      std::vector<std::string>& names)
{
    names.clear();
    if (text.empty()) return std::nullopt;
    names = split_commas(text);
    if (std::ranges::find(names, "") != names.end())
        return std::string(option) + " has an empty name in " + std::string(text);
    return std::nullopt;
}

bool names_item(std::string_view asked, std::string_view name)
{
    return std::ranges::equal(asked, name, [](char a, char b) { return folded(a) == folded(b); });
}

} // namespace wayloom::cli
