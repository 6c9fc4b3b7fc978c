#include "source/word_values.h"

#include "model/map_units.h"

#include <cmath>
#include <optional>

namespace wayloom {

namespace {

// Integer part of a number word, when it fits a 32-bit integer.
std::optional<std::int64_t> integer_part(const token& t)
{
    if (t.integral) {
        if (t.whole < INT32_MIN || t.whole > INT32_MAX) return std::nullopt;
        return t.whole;
    }
    const long double whole = std::trunc(t.value);
    if (whole < -2147483648.0L || whole > 2147483647.0L) return std::nullopt;
    return static_cast<std::int64_t>(whole);
}

} // namespace

bool colour_component(const token& t, std::uint32_t& component)
{
    if (!t.has_word) return true;
    const auto whole = integer_part(t);
    if (!whole) return false;
    component = static_cast<std::uint32_t>(*whole) & 0xFF;
    return true;
}

bool waypoint_reference(const token& t, std::int32_t base, std::int32_t& number)
{
    if (!t.has_word) return true;
    const auto whole = integer_part(t);
    const std::int64_t shifted = whole ? *whole + base : 0;
    if (!whole || shifted > INT32_MAX) return false;
    number = static_cast<std::int32_t>(shifted);
    return true;
}

bool degrees_to_map_units(const token& t, long double& target)
{
    if (!t.has_word) return true;
    const long double units = to_map_units(t.value);
    if (!std::isfinite(units)) return false;
    target = units;
    return true;
}

bool same_text_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

} // namespace wayloom
