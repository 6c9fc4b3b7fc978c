#include "source/scanner.h"

#include "source/number_text.h"

#include <array>
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
    : text_(text), report_(std::move(report))
{
}

bool source_scanner::settle(std::size_t& line, std::size_t& column) const
{
    while (line < text_.count() && column >= text_.line(line).size()) {
        ++line;
        column = 0;
        // Every so many lines: a text read through a file mapping then
        // holds only the part not yet read.
        if (line % (1 << 14) == 0) text_.release_before(line);
    }
    return line < text_.count();
}

token source_scanner::scan(std::uint8_t accept)
{
    token t;
    if (line_ == looked_from_line_ && column_ == looked_from_column_) {
        line_ = looked_to_line_;
        column_ = looked_to_column_;
    }
    // Skip separators up to a word or a brace.
    std::string_view text;
    for (;;) {
        if (!settle(line_, column_)) {
            t.kinds |= k_end;
            break;
        }
        text = text_.line(line_);
        while (column_ < text.size() && class_of(text[column_]) == separator) ++column_;
        if (column_ < text.size()) break;
    }

    // Collect the word. Line ends do not separate: a word that ends a line
    // goes on with the next line's first character. The position moves only
    // over what is consumed, so a word ending a line leaves it on that line.
    std::string_view word;
    bool copied = false;
    while (!(t.kinds & k_end)) {
        const char c = text[column_];
        if (c == '{' || c == '}') {
            // A brace before any word ends the call at once.
            ++column_;
            if (c == '{') {
                t.kinds |= k_open;
                ++depth;
            } else {
                t.kinds |= k_close;
            }
            return t;
        }
        const std::size_t start = column_;
        while (column_ < text.size() && is_word_char(text[column_])) ++column_;
        const std::string_view part = text.substr(start, column_ - start);
        if (copied) joined_.append(part);
        else word = part;
        if (column_ < text.size()) break;  // a separator or brace follows on this line
        std::size_t next_line = line_, next_column = column_;
        if (!settle(next_line, next_column)) {
            line_ = next_line;
            column_ = next_column;
            t.kinds |= k_end;
            break;
        }
        // Only a word character carries the word on: a brace starting the
        // next line ends it as a separator would, and the look past the word
        // then takes the brace.
        const std::string_view next = text_.line(next_line);
        if (class_of(next[0]) != word_char) break;
        if (!copied) joined_.assign(part);  // the word runs over the line end
        copied = true;
        line_ = next_line;
        column_ = 0;
        text = next;
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
    if (line_ >= text_.count()) {
        t.kinds |= k_end;
        return;
    }
    std::size_t line = line_, column = column_;
    bool met_close = false;
    bool on_open = false;
    for (;;) {
        if (!settle(line, column)) {
            t.kinds |= k_end;
            break;
        }
        const std::string_view text = text_.line(line);
        for (; column < text.size(); ++column) {
            const char_class c = class_of(text[column]);
            if (c == open_brace) {
                on_open = true;
                break;
            }
            if (c == word_char) break;
            if (c == close_brace && !met_close) {
                // Only the first "}" is taken; any further one is the next call's.
                met_close = true;
                line_ = line;
                column_ = column + 1;
            }
        }
        if (column < text.size()) break;
    }
    if (!on_open && !met_close && line < text_.count()) {
        looked_from_line_ = line_;
        looked_from_column_ = column_;
        looked_to_line_ = line;
        looked_to_column_ = column;
    }
    if (on_open) {
        if (!(accept & open_allowed)) {
            report_("Unexpected {");
            t.kinds |= k_error;
        }
        ++depth;
        t.kinds |= k_open;
        line_ = line;
        column_ = column + 1;
    } else if (met_close) {
        if (!(accept & close_allowed)) {
            report_("Unexpected }");
            t.kinds |= k_error;
        }
        t.kinds |= k_close;
    }
}

} // namespace wayloom
