#include "source/plain_letters.h"

namespace wayloom {

namespace {

// The plain letter of each character from U+00C0 to U+017F, '.' where the
// character is no Latin letter with an accent (× ÷ Þ þ, ligatures).
constexpr std::string_view latin_letters =
    "AAAAAAACEEEEIIII"  // U+00C0
    "DNOOOOO.OUUUUY.s"  // U+00D0
    "aaaaaaaceeeeiiii"  // U+00E0
    "dnooooo.ouuuuy.y"  // U+00F0
    "AaAaAaCcCcCcCcDd"  // U+0100
    "DdEeEeEeEeEeGgGg"  // U+0110
    "GgGgHhHhIiIiIiIi"  // U+0120
    "Ii..JjKkkLlLlLlL"  // U+0130
    "lLlNnNnNnnNnOoOo"  // U+0140
    "Oo..RrRrRrSsSsSs"  // U+0150
    "SsTtTtTtUuUuUuUu"  // U+0160
    "UuUuWwYyYZzZzZzs";  // U+0170
constexpr char32_t first_latin = 0xC0;
constexpr char32_t no_letter = '.';

char32_t decoded(std::string_view text, std::size_t i, std::size_t n)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    if (n == 0) return byte(0);  // Latin-1
    char32_t c = byte(0) & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (byte(k) & 0x3F);
    return c;
}

bool combining(char32_t c) { return (c >= 0x300 && c <= 0x36F) || (c >= 0x1DC0 && c <= 0x1DFF); }

char plain(char32_t c, char other)
{
    if (c < 0x80) return static_cast<char>(c);
    if (c >= first_latin && c < first_latin + latin_letters.size()) {
        const char letter = latin_letters[c - first_latin];
        return letter == no_letter ? other : letter;
    }
    switch (c) {  // the comma-below letters of Romanian
    case 0x218: return 'S';
    case 0x219: return 's';
    case 0x21A: return 'T';
    case 0x21B: return 't';
    default: return other;
    }
}

} // namespace

std::size_t utf8_length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                                                        : 0;
    if (n == 0 || i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

std::string plain_letters(std::string_view text, char other)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = static_cast<unsigned char>(text[i]) < 0x80 ? 1 : utf8_length(text, i);
        const char32_t c = decoded(text, i, n == 1 ? 0 : n);
        i += n == 0 ? 1 : n;
        // An accent on nothing is a character of its own, so that a name
        // never comes out empty.
        if (!combining(c)) out += plain(c, other);
        else if (out.empty()) out += other;
    }
    return out;
}

} // namespace wayloom
