#include "app/save_dialog.h"

#include <algorithm>
#include <cctype>

namespace wayloom {

namespace {

bool ends_with_no_case(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

std::string filter_extension(std::string_view filter)
{
    const auto bar = filter.find('|');
    std::string_view pattern = bar == std::string_view::npos ? filter : filter.substr(bar + 1);
    const auto dot = pattern.find("*.");
    if (dot == std::string_view::npos) return {};
    pattern = pattern.substr(dot + 2);
    pattern = pattern.substr(0, pattern.find(';'));
    if (pattern == "*") return {};
    return std::string(pattern);
}

std::string filter_description(std::string_view filter)
{
    return std::string(filter.substr(0, filter.find('|')));
}

std::string add_default_extension(std::string_view file_name, std::string_view extension)
{
    if (extension.empty()) return std::string(file_name);
    const auto slash = file_name.find_last_of('/');
    const std::string_view last = slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
    if (last.empty() || last.find('.') != std::string_view::npos) return std::string(file_name);
    return std::string(file_name) + "." + std::string(extension);
}

std::string export_file_name(const save_choice& choice, const save_request& request)
{
    const std::string chosen_extension =
        choice.filter < request.filters.size() ? filter_extension(request.filters[choice.filter]) : "";
    if (!chosen_extension.empty() && chosen_extension != request.default_extension) {
        if (ends_with_no_case(choice.file_name, "." + chosen_extension)) return choice.file_name;
        return choice.file_name + "." + chosen_extension;
    }
    return add_default_extension(choice.file_name, request.default_extension);
}

} // namespace wayloom
