// Splits map source text into words and braces, one token per call.
#pragma once

#include "model/source_text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace wayloom {

// What a scan met; a 16-bit flag set.
enum token_kind : std::uint16_t {
    k_open = 1 << 0,   // a "{" was consumed
    k_close = 1 << 1,  // a "}" was consumed
    k_end = 1 << 2,    // the end of the text was reached
    k_error = 1 << 3,  // an error was reported
};

// What the caller allows.
enum accept_flag : std::uint8_t {
    open_allowed = 1 << 0,
    close_allowed = 1 << 1,
    want_string = 1 << 2,
    want_number = 1 << 3,
};

struct token {
    std::uint16_t kinds = 0;
    // False when the scan ended on a brace of its own: then nothing was
    // read and the caller's target keeps its value.
    bool has_word = false;
    // The word as written when it is a number, else in lower case. Valid
    // until the next scan.
    std::string_view text;
    long double value = 0;  // with want_number, when the word is a number
    // With want_number, whether the word is a whole number within 64 bits,
    // and that number: integer targets then need no real arithmetic.
    bool integral = false;
    std::int64_t whole = 0;

    bool bare_brace() const { return !has_word && (kinds & (k_open | k_close)); }
};

class source_scanner {
public:
    using error_sink = std::function<void(std::string_view message)>;

    source_scanner(const tsource_text& text, error_sink report);

    token scan(std::uint8_t accept);

    // Brace depth: the scanner adds 1 for every "{"; the reader takes 1 off
    // when it accepts a close.
    std::int32_t depth = 0;

    // Line of the next character to scan, 0-based; past the last line at the end.
    std::size_t line() const { return here_.line; }

private:
    // A place in the text: a line and a character of it, or the end of the
    // line where the character is its line end. Lines are counted as the
    // scan passes their ends, so that no index of a large text's lines is
    // needed.
    struct place {
        std::size_t line = 0;  // the line count once past the last line
        std::size_t at = 0;
        bool past = false;     // past the last line
    };
    // Whether `at` is where its line ends: the end of the text, a line feed,
    // or a carriage return before a line feed or the end of the text.
    bool at_line_end(std::size_t at) const
    {
        if (at >= all_.size()) return true;
        const char c = all_[at];
        return c == '\n' || (c == '\r' && (at + 1 == all_.size() || all_[at + 1] == '\n'));
    }
    // Moves the place onto the next character there is, skipping line ends
    // and empty lines; false past the last line.
    bool settle(place& p) const
    {
        return !p.past && (!at_line_end(p.at) || next_line(p));
    }
    bool next_line(place& p) const;
    void look_past_word(std::uint8_t accept, token& t);

    const tsource_text& text_;
    std::string_view all_;
    error_sink report_;
    place here_;
    std::string joined_;  // a word that runs over a line end, or one lower-cased
    // Where the last look past a word started and stopped (the next word),
    // so that the next scan need not skip the same separators again.
    std::size_t looked_from_ = SIZE_MAX;
    place looked_to_;
};

bool is_word_char(char c);

} // namespace wayloom
