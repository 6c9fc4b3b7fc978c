// The reader's view of the text: each word with the brace that follows it.
// A brace right after a word (across separators and line ends) is taken
// with the word and checked against what the reader allows there; a brace
// where a word should be comes on its own.
#pragma once

#include "source/scanner.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace wayloom {

// What a scan met; a flag set.
enum token_kind : std::uint16_t {
    k_open = 1 << 0,   // a "{" was taken
    k_close = 1 << 1,  // a "}" was taken
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
    // False when the scan met a brace of its own: then nothing was read and
    // the caller's target keeps its value. The end of the text reads as an
    // empty word.
    bool has_word = false;
    // With want_string, the word in lower case unless it is a number. Valid
    // until the next scan.
    std::string_view text;
    long double value = 0;  // with want_number, when the word is a number
    // With want_number, whether the word is a whole number within 64 bits,
    // and that number: integer targets then need no real arithmetic.
    bool integral = false;
    std::int64_t whole = 0;

    bool bare_brace() const { return !has_word && (kinds & (k_open | k_close)); }
};

class word_reader {
public:
    using error_sink = std::function<void(std::string_view message)>;

    word_reader(text_feed& feed, error_sink report) : lexemes_(feed), report_(std::move(report)) {}

    token scan(std::uint8_t accept);

    // The line the reading has got to, 0-based, for an error's place: the
    // line of the last word or brace taken, or past the last line once the
    // end of the text was taken.
    std::size_t line() const { return line_; }

private:
    lexeme take();
    void look_past_word(std::uint8_t accept, token& t);

    source_scanner lexemes_;
    error_sink report_;
    lexeme ahead_;          // a lexeme looked at but not yet taken
    bool has_ahead_ = false;
    std::size_t line_ = 0;
    std::string word_;      // the word of the last scan
};

} // namespace wayloom
