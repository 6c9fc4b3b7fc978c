#include "source/number_text.h"

#include <charconv>
#include <cmath>

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

} // namespace

std::optional<long double> parse_number(std::string_view word)
{
    if (!is_plain_decimal(word)) return std::nullopt;
    long double value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void append_real(std::string& out, long double value)
{
    if (value == 0) {  // also turns -0 into "0"
        out += '0';
        return;
    }
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
