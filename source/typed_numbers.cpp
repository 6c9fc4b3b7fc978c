// Whole numbers and reals as the user types and reads them; the map source's
// own formats are in number_text.cpp.
#include "source/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace wayloom {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view without_blanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The digits after an optional sign; `negative` tells which sign it was.
std::string_view unsigned_part(std::string_view text, bool& negative)
{
    negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return text;
}

// Digits with at most one "." (a digit on one side of it at least), then
// an optional exponent with an optional sign.
bool is_decimal(std::string_view w)
{
    std::size_t i = 0, digits = 0;
    while (i < w.size() && is_digit(w[i])) ++i, ++digits;
    if (i < w.size() && w[i] == '.')
        for (++i; i < w.size() && is_digit(w[i]); ++i) ++digits;
    if (digits == 0) return false;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        ++i;
        if (i < w.size() && (w[i] == '-' || w[i] == '+')) ++i;
        const std::size_t from = i;
        while (i < w.size() && is_digit(w[i])) ++i;
        if (i == from) return false;
    }
    return i == w.size();
}

std::string to_text(long double value, std::chars_format format, int precision)
{
    // Room for the 4,933 digits of the largest long double in fixed notation.
    char buffer[5000];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::string();
}

} // namespace

std::optional<std::int64_t> parse_whole_number(std::string_view text)
{
    bool negative = false;
    const std::string_view digits = unsigned_part(without_blanks(text), negative);
    if (digits.empty() || !is_digit(digits.front())) return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    constexpr auto highest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > highest + (negative ? 1 : 0)) return std::nullopt;
    if (!negative) return static_cast<std::int64_t>(magnitude);
    return magnitude == highest + 1 ? std::numeric_limits<std::int64_t>::min()
                                    : -static_cast<std::int64_t>(magnitude);
}

std::optional<std::int64_t> parse_whole_number(std::string_view text, std::int64_t low,
                                               std::int64_t high)
{
    const std::optional<std::int64_t> value = parse_whole_number(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

std::optional<std::int32_t> parse_whole_32(std::string_view text)
{
    const auto value = parse_whole_number(text, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max());
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<long double> parse_real(std::string_view text)
{
    bool negative = false;
    const std::string_view number = unsigned_part(without_blanks(text), negative);
    if (!is_decimal(number)) return std::nullopt;
    long double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string format_general(long double value)
{
    return to_text(value, std::chars_format::general, 15);
}

std::string format_fixed(long double value, int decimals)
{
    return to_text(value, std::chars_format::fixed, decimals);
}

} // namespace wayloom
