#include "source/scanner.h"

#include <array>
#include <bit>
#include <cstring>

namespace wayloom {

namespace {

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
std::size_t past_blanks(std::string_view text, std::size_t at)
{
    constexpr std::uint64_t blanks = 0x2020202020202020;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        if (const std::uint64_t other = word ^ blanks) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(other)
                                                                        : std::countl_zero(other);
            return at + static_cast<std::size_t>(bit) / 8;
        }
    }
    while (at < text.size() && text[at] == ' ') ++at;
    return at;
}

} // namespace

bool is_word_char(char c) { return class_of(c) == word_char; }

bool source_scanner::fill(std::size_t keep_from)
{
    if (ended_) return false;
    if (part_start_ != no_mark) take_part();
    if (mark_.pos < keep_from) keep_from = mark_.pos;
    const std::size_t keep = window_end() - keep_from;
    text_ = feed_.next(keep);
    base_ = keep_from;
    if (text_.size() > keep) return true;
    ended_ = true;
    return false;
}

void source_scanner::take_part()
{
    joined_.append(text_.substr(part_start_ - base_, part_end_ - part_start_));
    part_start_ = no_mark;
    copied_ = true;
}

bool source_scanner::at_line_end_of_window(std::size_t keep_from)
{
    if (!has(pos_, keep_from)) return true;  // the end of the text
    const char c = at(pos_);
    if (c == '\n') return true;
    if (c != '\r') return false;
    return !has(pos_ + 1, keep_from) || at(pos_ + 1) == '\n';
}

void source_scanner::back_to_mark()
{
    pos_ = mark_.pos;
    line_ = mark_.line;
    in_line_ = mark_.in_line;
    drop_mark();
}

lexeme source_scanner::next()
{
    for (;;) {
        if (!has(pos_, pos_)) return end();
        switch (class_of(at(pos_))) {
        case word_char:
            return word();
        case open_brace:
        case close_brace: {
            const bool open = at(pos_) == '{';
            ++pos_;
            in_line_ = true;
            return {open ? lexeme_kind::open : lexeme_kind::close, {}, line_, false};
        }
        case line_feed:
            pass_line_end();
            break;
        case carriage_return:
            if (at_line_end(pos_)) {
                pass_line_end();
                break;
            }
            [[fallthrough]];
        case separator: {
            // In a local: a member could be changed by any store through a
            // char, so the loop would keep writing it back.
            std::size_t p = pos_ - base_;
            for (++p; p < text_.size(); ++p) {
                if (text_[p] == ' ') p = past_blanks(text_, p);
                if (p == text_.size() || class_of(text_[p]) != separator) break;
            }
            pos_ = base_ + p;
            in_line_ = true;
            break;
        }
        }
    }
}

lexeme source_scanner::word()
{
    joined_.clear();
    copied_ = false;
    for (;;) {
        part_start_ = pos_;
        for (;;) {
            std::size_t p = pos_ - base_;
            while (p < text_.size() && class_of(text_[p]) == word_char) ++p;
            pos_ = part_end_ = base_ + p;
            if (p < text_.size() || !fill(pos_)) break;
            part_start_ = pos_;  // the word goes on in the new window
        }
        in_line_ = true;
        const std::size_t line = line_;
        if (!at_line_end(pos_)) return word_ending(line, false);
        // Over the line end and the empty lines after it: only a word
        // character starting the next line carries the word on.
        do {
            pass_line_end();
            if (!has(pos_, pos_)) return word_ending(line, true);
        } while (at_line_end(pos_));
        if (class_of(at(pos_)) != word_char) return word_ending(line, false);
        if (part_start_ != no_mark) take_part();
    }
}

lexeme source_scanner::word_ending(std::size_t line, bool last)
{
    std::string_view text;
    if (copied_) {
        if (part_start_ != no_mark) take_part();
        text = joined_;
    } else {
        text = text_.substr(part_start_ - base_, part_end_ - part_start_);
    }
    part_start_ = no_mark;
    return {lexeme_kind::word, text, line, last};
}

} // namespace wayloom
