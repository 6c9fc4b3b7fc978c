#include "source/scanner.h"

#include "source/number_text.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace wayloom {

namespace {

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

enum char_class : std::uint8_t { separator, word_char, open_brace, close_brace, line_feed, carriage_return };

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
    table['\n'] = line_feed;
    table['\r'] = carriage_return;  // a line end before a line feed, else a separator
    return table;
}();

char_class class_of(char c) { return classes[static_cast<unsigned char>(c)]; }

// The first character at or after `at` that is not a blank. A map's lines
// are indented by runs of blanks, taken eight at a time.
std::size_t past_blanks(std::string_view all, std::size_t at)
{
    constexpr std::uint64_t blanks = 0x2020202020202020;
    for (; at + 8 <= all.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, all.data() + at, 8);
        if (const std::uint64_t other = word ^ blanks) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(other)
                                                                        : std::countl_zero(other);
            return at + static_cast<std::size_t>(bit) / 8;
        }
    }
    while (at < all.size() && all[at] == ' ') ++at;
    return at;
}

} // namespace

bool is_word_char(char c) { return class_of(c) == word_char; }

source_scanner::source_scanner(const tsource_text& text, error_sink report)
    : text_(text), all_(text.whole()), report_(std::move(report))
{
    here_.past = all_.empty();
}

bool source_scanner::next_line(place& p) const
{
    // From a line end over every line end and empty line after it.
    do {
        if (p.at < all_.size() && all_[p.at] == '\r') ++p.at;
        ++p.line;
        if (p.at >= all_.size() || ++p.at >= all_.size()) {
            p.past = true;
            return false;
        }
        // Every so many lines: a text read through a file mapping then
        // holds only the part not yet read.
        if (p.line % (1 << 14) == 0) text_.release_before(p.at);
    } while (at_line_end(p.at));
    return true;
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
        char_class c = line_feed;
        for (; here_.at < all_.size(); ++here_.at) {
            if (all_[here_.at] == ' ') here_.at = past_blanks(all_, here_.at);
            if (here_.at == all_.size()) break;
            c = class_of(all_[here_.at]);
            if (c != separator && (c != carriage_return || at_line_end(here_.at))) break;
        }
        if (c == word_char || c == open_brace || c == close_brace) break;
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
        // In a local: a member could be changed by any store through a char,
        // so the loop would keep writing it back.
        std::size_t at = start;
        while (at < all_.size() && class_of(all_[at]) == word_char) ++at;
        here_.at = at;
        const std::string_view part = all_.substr(start, at - start);
        if (copied) joined_.append(part);
        else word = part;
        if (!at_line_end(here_.at)) break;  // a separator or brace follows on this line
        place next = here_;
        if (!next_line(next)) {
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
    if (here_.past) {
        t.kinds |= k_end;
        return;
    }
    place p = here_;
    bool met_close = false;
    bool on_open = false;
    for (bool stopped = false; !stopped;) {
        if (!settle(p)) {
            t.kinds |= k_end;
            break;
        }
        for (; p.at < all_.size(); ++p.at) {
            if (all_[p.at] == ' ') p.at = past_blanks(all_, p.at);
            if (p.at == all_.size()) break;
            const char_class c = class_of(all_[p.at]);
            if (c == separator || (c == carriage_return && !at_line_end(p.at))) continue;
            if (c == line_feed || c == carriage_return) break;
            if (c == open_brace || c == word_char) {
                on_open = c == open_brace;
                stopped = true;
                break;
            }
            if (!met_close) {
                // Only the first "}" is taken; any further one is the next call's.
                met_close = true;
                here_ = p;
                ++here_.at;
            }
        }
    }
    if (!on_open && !met_close && !p.past) {
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
