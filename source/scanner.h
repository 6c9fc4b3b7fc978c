// Splits map source text into lexemes: words, opening and closing braces and
// the end of the text, each with its line. Which of them the map wants where
// is the reader's business.
#pragma once

#include "source/text_feed.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wayloom {

enum class lexeme_kind : std::uint8_t { word, open, close, end };

struct lexeme {
    lexeme_kind kind = lexeme_kind::end;
    // A word as written; one that runs over a line end is joined up. Valid
    // until the next lexeme is taken.
    std::string_view text;
    // 0-based: the line a word ends on or a brace is on; for the end, the
    // line past the last one.
    std::size_t line = 0;
    // For a word: nothing but line ends follows it.
    bool last = false;
};

// Words are runs of letters, digits, "-", "." and "_"; braces stand alone;
// anything else separates. Lines end at "\n", "\r\n", or a "\r" or the end of
// the text after their last character. A word that ends a line goes on with
// the next line that is not empty when that line starts with a word character.
class source_scanner {
public:
    explicit source_scanner(text_feed& feed) : feed_(feed) {}

    lexeme next();

    // A place to come back to: after mark(), the text from here on is kept
    // until back_to_mark() returns here or drop_mark() lets it go.
    void mark() { mark_ = {pos_, line_, in_line_}; }
    void back_to_mark();
    void drop_mark() { mark_.pos = no_mark; }

private:
    static constexpr std::size_t no_mark = SIZE_MAX;
    struct place {
        std::size_t pos = no_mark;
        std::size_t line = 0;
        bool in_line = false;
    };

    std::size_t window_end() const { return base_ + text_.size(); }
    char at(std::size_t pos) const { return text_[pos - base_]; }
    // More text after the window, keeping the window from `keep_from` on (and
    // from the mark); false when the text has ended.
    bool fill(std::size_t keep_from);
    // Whether the text holds a character at `pos`, filling as needed.
    bool has(std::size_t pos, std::size_t keep_from)
    {
        while (pos >= window_end())
            if (!fill(keep_from)) return false;
        return true;
    }
    // Whether a line ends at the current place; `keep_from` as for fill.
    bool at_line_end(std::size_t keep_from)
    {
        if (pos_ + 1 >= window_end()) return at_line_end_of_window(keep_from);
        const char c = at(pos_);
        return c == '\n' || (c == '\r' && at(pos_ + 1) == '\n');
    }
    bool at_line_end_of_window(std::size_t keep_from);
    // Past the line end at the current place, which at_line_end found there.
    void pass_line_end()
    {
        if (pos_ < window_end() && at(pos_) == '\r') ++pos_;
        if (pos_ < window_end() && at(pos_) == '\n') ++pos_;
        ++line_;
        in_line_ = false;
    }
    lexeme word();
    lexeme word_ending(std::size_t line, bool last);
    // Moves the uncopied part of the word being read into joined_.
    void take_part();
    lexeme end() const { return {lexeme_kind::end, {}, in_line_ ? line_ + 1 : line_, false}; }

    text_feed& feed_;
    std::string_view text_;   // the window: the text from byte base_ on
    std::size_t base_ = 0;
    std::size_t pos_ = 0;     // the next byte to scan, counted from the start of the text
    std::size_t line_ = 0;
    bool in_line_ = false;    // a character of the current line was passed
    bool ended_ = false;
    place mark_;
    // The word being read: the part of it in the window not yet copied, and
    // the parts copied once it ran over a line end or the window's end.
    std::size_t part_start_ = no_mark, part_end_ = 0;
    std::string joined_;
    bool copied_ = false;
};

bool is_word_char(char c);

} // namespace wayloom
