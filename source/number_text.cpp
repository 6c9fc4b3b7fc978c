#include "source/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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
// digits, is an exact integer over an exact power of ten: one division then
// rounds correctly, as the general conversion does. Gives nothing for any
// other word, which the general path then judges.
// The value of eight digits read as a little-endian word (the first digit
// in the lowest byte), or nothing when one of the eight is not a digit.
std::optional<std::uint32_t> eight_digits(const char* p)
{
    constexpr std::uint64_t zeros = 0x3030303030303030, highs = 0x8080808080808080;
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    // A byte below '0' borrows into its high bit; one above '9' carries into it.
    if (((v - zeros) | (v + 0x4646464646464646)) & highs) return std::nullopt;
    v -= zeros;
    // Pairs, then all eight: byte 2i comes to hold 10 * digit(2i) + digit(2i + 1),
    // and two multiplications weigh the four pairs by 10^6, 10^4, 10^2 and 1
    // into the high half.
    v = v * 10 + (v >> 8);
    constexpr std::uint64_t pairs = 0x000000FF000000FF;
    return static_cast<std::uint32_t>(
        ((v & pairs) * (100 + (1000000ULL << 32)) + ((v >> 16) & pairs) * (1 + (10000ULL << 32))) >> 32);
}

std::optional<decimal_value> quick_decimal(std::string_view w)
{
    const char* p = w.data();
    const char* const end = p + w.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    // Up to 19 digits, zeros in front included, cannot overflow 64 bits;
    // a longer word is left to the general path.
    std::uint64_t mantissa = 0;
    const char* const whole_from = p;
    for (unsigned d; p != end && (d = static_cast<unsigned>(*p - '0')) <= 9; ++p) mantissa = mantissa * 10 + d;
    const auto whole_digits = p - whole_from;
    const bool point = p != end && *p == '.';
    if (point) ++p;
    const char* const fraction_from = p;
    // A map's fractions are long: eight digits at a time where eight follow.
    if constexpr (std::endian::native == std::endian::little) {
        for (std::optional<std::uint32_t> eight; end - p >= 8 && (eight = eight_digits(p)); p += 8)
            mantissa = mantissa * 100'000'000 + *eight;
    }
    for (unsigned d; p != end && (d = static_cast<unsigned>(*p - '0')) <= 9; ++p) mantissa = mantissa * 10 + d;
    const auto fraction = static_cast<std::size_t>(p - fraction_from);
    const auto digits = static_cast<std::size_t>(whole_digits) + fraction;
    if (p != end || digits == 0 || digits > 19) return std::nullopt;
    decimal_value out;
    out.value = static_cast<long double>(mantissa);
    if (point) {
        if (fraction > 0) out.value /= powers_of_ten[fraction];
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

// "00" to "99": digits go out two at a time.
constexpr std::array<char, 200> digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the last `count` (even) decimal digits of `n` ending at `end`.
void put_digit_pairs(char* end, std::uint32_t n, int count)
{
    for (; count > 0; count -= 2, n /= 100) {
        end -= 2;
        std::memcpy(end, &digit_pairs[2 * (n % 100)], 2);
    }
}

// The whole number nearest to x, for 0 <= x < 2^62. Adding 2^63 leaves no
// bits for a fraction, so the sum is rounded to a whole number and its
// significand is 2^63 plus that number: read from memory, it needs none of
// the rounding-mode changes a conversion to an integer costs on the x87 unit.
std::uint64_t nearest_whole(long double x)
{
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10 &&
                  std::endian::native == std::endian::little) {
        const long double shifted = x + 0x1p63L;
        std::uint64_t significand;
        std::memcpy(&significand, &shifted, sizeof significand);
        return significand - (std::uint64_t{1} << 63);
    } else {
        return static_cast<std::uint64_t>(std::llround(x));
    }
}

// Fixed notation straight from the value scaled to 15 digits; false when the
// value is outside the fixed range or too close to a rounding tie to decide
// here, and the general conversion must do it.
bool append_fixed_quickly(std::string& out, long double value)
{
    const long double a = std::fabs(value);
    if (!(a >= 1e-4L && a < 1e15L)) return false;
    // a in [10^exponent, 10^(exponent+1)). A map's numbers are mostly
    // degrees and metres, so the search starts from the units.
    int exponent = 0;
    if (a >= 1) {
        while (exponent < 14 && a >= powers_of_ten[static_cast<std::size_t>(exponent + 1)]) ++exponent;
    } else {
        exponent = -1;
        while (exponent > -4 && a * powers_of_ten[static_cast<std::size_t>(-exponent)] < 1) --exponent;
    }
    const long double scaled = a * powers_of_ten[static_cast<std::size_t>(14 - exponent)];
    if (scaled < 1e14L || scaled >= 1e15L) return false;  // the exponent was misjudged by rounding
    const std::uint64_t nearest = nearest_whole(scaled);
    const long double fraction = scaled - static_cast<long double>(static_cast<std::int64_t>(nearest));
    // Too close to half-way between two last digits to tell here.
    if (std::fabs(std::fabs(fraction) - 0.5L) < 1e-3L) return false;
    std::uint64_t digits = nearest;
    if (digits == 1'000'000'000'000'000ULL) {
        digits = 100'000'000'000'000ULL;
        if (++exponent == 15) return false;
    }
    char text[16];
    put_digit_pairs(text + 16, static_cast<std::uint32_t>(digits % 100'000'000), 8);
    put_digit_pairs(text + 8, static_cast<std::uint32_t>(digits / 100'000'000), 8);
    const char* const first = text + 1;  // the 15 digits; text[0] is a 0 of the padding
    int used = 15;
    while (used > 1 && first[used - 1] == '0') --used;
    // Made whole here, then appended once.
    char written[24];
    char* at = written;
    if (value < 0) *at++ = '-';
    if (exponent >= 0) {
        const int before = exponent + 1;
        at = std::copy(first, first + before, at);
        if (used > before) {
            *at++ = '.';
            at = std::copy(first + before, first + used, at);
        }
    } else {
        *at++ = '0';
        *at++ = '.';
        at = std::fill_n(at, -exponent - 1, '0');
        at = std::copy(first, first + used, at);
    }
    out.append(written, at);
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

long double float_as_decimal(float value)
{
    if (!std::isfinite(value)) return value;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    long double decimal = value;
    std::from_chars(text, written.ptr, decimal);
    return decimal;
}

} // namespace wayloom
