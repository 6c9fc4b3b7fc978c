// Text to number and number to text, one rule each, the same bytes in every
// locale ("." as the decimal point whatever the user's):
//  - whole numbers as typed into a box, given as an option or kept in the
//    settings file;
//  - reals as typed into a box or shown to the user;
//  - the map source's own words and fixed formats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

// ---- whole numbers

// Decimal digits with an optional "+" or "-" in front and blanks (spaces,
// tabs) around; nothing when the text is not one or does not fit 64 bits.
std::optional<std::int64_t> parse_whole_number(std::string_view text);
// The same, and nothing outside [low, high].
std::optional<std::int64_t> parse_whole_number(std::string_view text, std::int64_t low,
                                               std::int64_t high);
// A whole number that fits 32 bits.
std::optional<std::int32_t> parse_whole_32(std::string_view text);

// ---- reals as typed and shown

// A decimal with an optional "+" or "-" and blanks around: digits with at
// most one ".", and an optional exponent "E" or "e" with an optional sign.
// Nothing for any other text ("inf", "nan", hexadecimal, a comma) and for a
// value no long double holds.
std::optional<long double> parse_real(std::string_view text);
// The shortest general form with up to 15 significant digits ("0.5", "80",
// "1e+20"), as C's "%.15Lg" writes it in the C locale.
std::string format_general(long double value);
// `decimals` digits after the point, as C's "%.*Lf" writes it in the C locale.
std::string format_fixed(long double value, int decimals);

// ---- the map source

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

// At most 15 significant digits, no trailing zeros; fixed notation from
// 0.0001 up to 15 digits before the point, otherwise scientific ("1.5E-6", "2E20").
void append_real(std::string& out, long double value);
std::string format_real(long double value);

void append_integer(std::string& out, std::int64_t value);

// The shortest decimal that reads back as `value`, as a long double: a
// handset's 59.4f becomes 59.4, which the map then writes as "59.4" rather
// than 59.4000015258789. Infinities and NaN pass unchanged.
long double float_as_decimal(float value);

namespace detail {
// The general conversion the quick paths must agree with.
void append_real_general(std::string& out, long double value);
} // namespace detail

} // namespace wayloom
