#include "source/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace wayloom {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// True when the word has the shape of a plain decimal.
bool is_plain_decimal(std::string_view w)
{
    std::size_t i = 0;
    if (i < w.size() && w[i] == '-') ++i;
    std::size_t digits = 0;
    while (i < w.size() && is_digit(w[i])) ++i, ++digits;
    if (i < w.size() && w[i] == '.') {
        ++i;
        while (i < w.size() && is_digit(w[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        ++i;
        if (i < w.size() && w[i] == '-') ++i;
        std::size_t exponent_digits = 0;
        while (i < w.size() && is_digit(w[i])) ++i, ++exponent_digits;
        if (exponent_digits == 0) return false;
    }
    return i == w.size();
}


// Powers of ten that long double holds exactly (5^27 still fits 64 bits).
constexpr int exact_powers = 28;
constexpr std::array<long double, exact_powers> powers_of_ten = [] {
    std::array<long double, exact_powers> p{};
    long double v = 1;
    for (auto& x : p) {
        x = v;
        v *= 10;
    }
    return p;
}();

// The common word of a map source, a decimal without exponent of at most 19
// significant digits, is an exact integer over an exact power of ten: one
// division then rounds correctly, as the general conversion does. Gives
// nothing for any other word, which the general path then judges.
std::optional<decimal_value> quick_decimal(std::string_view w)
{
    const char* p = w.data();
    const char* const end = p + w.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t mantissa = 0;
    int significant = 0, fraction = 0, digits = 0;
    bool point = false;
    for (; p != end; ++p) {
        const char c = *p;
        if (c == '.') {
            if (point) return std::nullopt;
            point = true;
            continue;
        }
        const unsigned d = static_cast<unsigned>(c - '0');
        if (d > 9) return std::nullopt;
        ++digits;
        if (mantissa != 0 || d != 0) ++significant;
        mantissa = mantissa * 10 + d;
        fraction += point;
    }
    if (digits == 0 || significant > 19 || fraction >= exact_powers) return std::nullopt;
    decimal_value out;
    out.value = static_cast<long double>(mantissa);
    if (point) {
        if (fraction > 0) out.value /= powers_of_ten[static_cast<std::size_t>(fraction)];
    } else if (mantissa <= static_cast<std::uint64_t>(INT64_MAX)) {
        out.integral = true;
        out.whole = negative ? -static_cast<std::int64_t>(mantissa) : static_cast<std::int64_t>(mantissa);
    }
    if (negative) out.value = -out.value;
    return out;
}

} // namespace

namespace detail {

void append_real_general(std::string& out, long double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 15);
    // The general format gives "1.5e-06" / "2e+20"; the map source wants "1.5E-6" / "2E20".
    for (const char* p = buffer; p < result.ptr; ++p) {
        if (*p != 'e') {
            out += *p;
            continue;
        }
        out += 'E';
        ++p;
        if (*p == '-') out += '-';
        if (*p == '-' || *p == '+') ++p;
        while (p + 1 < result.ptr && *p == '0') ++p;
        out.append(p, static_cast<std::size_t>(result.ptr - p));
        break;
    }
}

} // namespace detail

namespace {

// Fixed notation straight from the value scaled to 15 digits; false when the
// value is outside the fixed range or too close to a rounding tie to decide
// here, and the general conversion must do it.
bool append_fixed_quickly(std::string& out, long double value)
{
    const long double a = std::fabs(value);
    if (!(a >= 1e-4L && a < 1e15L)) return false;
    int exponent = 14;  // a in [10^exponent, 10^(exponent+1))
    while (exponent > 0 && a < powers_of_ten[static_cast<std::size_t>(exponent)]) --exponent;
    if (exponent == 0 && a < 1) {
        exponent = -1;
        while (exponent > -4 && a * powers_of_ten[static_cast<std::size_t>(-exponent)] < 1) --exponent;
    }
    const long double scaled = a * powers_of_ten[static_cast<std::size_t>(14 - exponent)];
    const long double whole = std::floor(scaled);
    const long double fraction = scaled - whole;
    if (whole < 1e14L || std::fabs(fraction - 0.5L) < 1e-3L) return false;
    auto digits = static_cast<std::uint64_t>(whole) + (fraction > 0.5L ? 1 : 0);
    if (digits == 1'000'000'000'000'000ULL) {
        digits = 100'000'000'000'000ULL;
        if (++exponent == 15) return false;
    }
    char text[15];
    for (int i = 14; i >= 0; --i, digits /= 10) text[i] = static_cast<char>('0' + digits % 10);
    int used = 15;
    while (used > 1 && text[used - 1] == '0') --used;
    if (value < 0) out += '-';
    if (exponent >= 0) {
        const int before = exponent + 1;
        out.append(text, static_cast<std::size_t>(before));
        if (used > before) {
            out += '.';
            out.append(text + before, static_cast<std::size_t>(used - before));
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(text, static_cast<std::size_t>(used));
    }
    return true;
}

} // namespace

std::optional<decimal_value> parse_decimal(std::string_view word)
{
    if (const auto quick = quick_decimal(word)) return quick;
    if (!is_plain_decimal(word)) return std::nullopt;
    long double value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
        return std::nullopt;
    return decimal_value{value, false, 0};
}

std::optional<std::int64_t> parse_whole_number(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<long double> parse_number(std::string_view word)
{
    const auto d = parse_decimal(word);
    if (!d) return std::nullopt;
    return d->value;
}

void append_real(std::string& out, long double value)
{
    if (value == 0) {  // also turns -0 into "0"
        out += '0';
        return;
    }
    if (!append_fixed_quickly(out, value)) detail::append_real_general(out, value);
}

std::string format_real(long double value)
{
    std::string out;
    append_real(out, value);
    return out;
}

void append_integer(std::string& out, std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace wayloom
