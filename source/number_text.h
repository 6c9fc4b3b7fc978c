// Numbers as the map source writes them: "." as decimal point whatever the
// user's locale, 15 significant digits, "E" exponents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

// The value of a plain decimal word: an optional "-", digits with at most one
// ".", and an optional exponent "E" or "e" with an optional "-". Anything else
// (hexadecimal, "inf", "nan", a lone "-") and values out of range are not numbers.
std::optional<long double> parse_number(std::string_view word);

// The same, telling also whether the word is a whole number that fits 64
// bits (written without a point or exponent), and which.
struct decimal_value {
    long double value = 0;
    bool integral = false;
    std::int64_t whole = 0;
};
std::optional<decimal_value> parse_decimal(std::string_view word);

// A whole decimal number as typed into a box or kept in the settings file:
// an optional sign and blanks around it; nothing when it is not one or does
// not fit 64 bits.
std::optional<std::int64_t> parse_whole_number(std::string_view text);

// At most 15 significant digits, no trailing zeros; fixed notation from
// 0.0001 up to 15 digits before the point, otherwise scientific ("1.5E-6", "2E20").
void append_real(std::string& out, long double value);
std::string format_real(long double value);

void append_integer(std::string& out, std::int64_t value);

namespace detail {
// The general conversion the quick paths must agree with.
void append_real_general(std::string& out, long double value);
} // namespace detail

} // namespace wayloom
