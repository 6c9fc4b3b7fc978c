#include "source/scanner.h"

#include "source/number_text.h"

#include <array>
#include <cstring>
#include <utility>

namespace wayloom {

namespace {

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

enum char_class : std::uint8_t { separator, word_char, open_brace, close_brace };

// One look-up per character: the scanner's inner loops run over every byte of the text.
constexpr std::array<char_class, 256> classes = [] {
    std::array<char_class, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '.' || c == '_';
        table[static_cast<std::size_t>(c)] = word ? word_char : separator;
    }
    table['{'] = open_brace;
    table['}'] = close_brace;
    return table;
}();

char_class class_of(char c) { return classes[static_cast<unsigned char>(c)]; }

} // namespace

bool is_word_char(char c) { return class_of(c) == word_char; }

source_scanner::source_scanner(const tsource_text& text, error_sink report)
    : text_(text), all_(text.whole()), report_(std::move(report)), here_(first_line())
{
}

namespace {

// Where the line starting at `start` ends: before its "\n" or "\r\n", or
// at the end of the text (where a last "\r" is dropped as well). A map's
// lines are short, so eight bytes are tried at a time rather than calling
// memchr for each.
std::size_t line_end(std::string_view all, std::size_t start)
{
    constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    constexpr std::uint64_t line_feeds = ones * '\n';
    const char* const data = all.data();
    std::size_t end = start;
    for (; end + 8 <= all.size(); end += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + end, 8);
        const std::uint64_t x = word ^ line_feeds;  // a zero byte where a line feed was
        if ((x - ones) & ~x & highs) break;
    }
    while (end < all.size() && data[end] != '\n') ++end;
    if (end > start && data[end - 1] == '\r') --end;
    return end;
}

} // namespace

source_scanner::place source_scanner::first_line() const
{
    place p;
    if (!all_.empty()) p.end = line_end(all_, 0);
    return p;
}

bool source_scanner::settle(place& p) const
{
    while (within(p) && p.at >= p.end) {
        ++p.line;
        p.start = p.end < all_.size() && all_[p.end] == '\r' ? p.end + 2 : p.end + 1;
        p.at = p.start;
        if (!within(p)) break;
        p.end = line_end(all_, p.start);
        // Every so many lines: a text read through a file mapping then
        // holds only the part not yet read.
        if (p.line % (1 << 14) == 0) text_.release_before(p.start);
    }
    return within(p);
}

token source_scanner::scan(std::uint8_t accept)
{
    token t;
    if (here_.at == looked_from_) here_ = looked_to_;
    // Skip separators up to a word or a brace.
    for (;;) {
        if (!settle(here_)) {
            t.kinds |= k_end;
            break;
        }
        while (here_.at < here_.end && class_of(all_[here_.at]) == separator) ++here_.at;
        if (here_.at < here_.end) break;
    }

    // Collect the word. Line ends do not separate: a word that ends a line
    // goes on with the next line's first character. The place moves only
    // over what is consumed, so a word ending a line leaves it on that line.
    std::string_view word;
    bool copied = false;
    while (!(t.kinds & k_end)) {
        const char c = all_[here_.at];
        if (c == '{' || c == '}') {
            // A brace before any word ends the call at once.
            ++here_.at;
            if (c == '{') {
                t.kinds |= k_open;
                ++depth;
            } else {
                t.kinds |= k_close;
            }
            return t;
        }
        const std::size_t start = here_.at;
        while (here_.at < here_.end && is_word_char(all_[here_.at])) ++here_.at;
        const std::string_view part = all_.substr(start, here_.at - start);
        if (copied) joined_.append(part);
        else word = part;
        if (here_.at < here_.end) break;  // a separator or brace follows on this line
        place next = here_;
        if (!settle(next)) {
            here_ = next;
            t.kinds |= k_end;
            break;
        }
        // Only a word character carries the word on: a brace starting the
        // next line ends it as a separator would, and the look past the word
        // then takes the brace.
        if (class_of(all_[next.at]) != word_char) break;
        if (!copied) joined_.assign(part);  // the word runs over the line end
        copied = true;
        here_ = next;
    }
    if (copied) word = joined_;

    t.has_word = true;
    if (!(accept & want_number)) {
        // Numbers keep their text and other words are lower-cased, which
        // only matters for a word with capitals in it.
        bool upper = false;
        for (const char c : word) upper |= is_upper(c);
        if (upper && !parse_decimal(word)) {
            if (!copied) joined_.assign(word);
            for (char& c : joined_)
                if (is_upper(c)) c = static_cast<char>(c - 'A' + 'a');
            word = joined_;
        }
        t.text = word;
        look_past_word(accept, t);
        return t;
    }
    if (const auto number = parse_decimal(word)) {
        t.value = number->value;
        t.integral = number->integral;
        t.whole = number->whole;
    } else {
        report_("Value expected");
        t.kinds = k_error;
    }
    t.text = word;
    look_past_word(accept, t);
    return t;
}

void source_scanner::look_past_word(std::uint8_t accept, token& t)
{
    if (!within(here_)) {
        t.kinds |= k_end;
        return;
    }
    place p = here_;
    bool met_close = false;
    bool on_open = false;
    for (;;) {
        if (!settle(p)) {
            t.kinds |= k_end;
            break;
        }
        for (; p.at < p.end; ++p.at) {
            const char_class c = class_of(all_[p.at]);
            if (c == open_brace) {
                on_open = true;
                break;
            }
            if (c == word_char) break;
            if (c == close_brace && !met_close) {
                // Only the first "}" is taken; any further one is the next call's.
                met_close = true;
                here_ = p;
                ++here_.at;
            }
        }
        if (p.at < p.end) break;
    }
    if (!on_open && !met_close && within(p)) {
        looked_from_ = here_.at;
        looked_to_ = p;
    }
    if (on_open) {
        if (!(accept & open_allowed)) {
            report_("Unexpected {");
            t.kinds |= k_error;
        }
        ++depth;
        t.kinds |= k_open;
        here_ = p;
        ++here_.at;
    } else if (met_close) {
        if (!(accept & close_allowed)) {
            report_("Unexpected }");
            t.kinds |= k_error;
        }
        t.kinds |= k_close;
    }
}

} // namespace wayloom
