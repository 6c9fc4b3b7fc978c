#include "source/reader_words.h"

#include "source/number_text.h"

namespace wayloom {

namespace {

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

} // namespace

lexeme word_reader::take()
{
    if (!has_ahead_) return lexemes_.next();
    has_ahead_ = false;
    return ahead_;
}

token word_reader::scan(std::uint8_t accept)
{
    token t;
    const lexeme first = take();
    line_ = first.line;
    if (first.kind == lexeme_kind::open || first.kind == lexeme_kind::close) {
        // A brace where a word should be ends the scan at once.
        t.kinds = first.kind == lexeme_kind::open ? k_open : k_close;
        return t;
    }
    t.has_word = true;
    std::string_view word = first.text;
    if (first.last) {
        // The word runs to the end of the text, which is where the reading
        // then stands.
        word_.assign(word);
        word = word_;
        ahead_ = lexemes_.next();
        has_ahead_ = true;
        line_ = ahead_.line;
    }
    if (accept & want_number) {
        if (const auto number = parse_decimal(word)) {
            t.value = number->value;
            t.integral = number->integral;
            t.whole = number->whole;
        } else {
            report_("Value expected");
            t.kinds = k_error;
        }
    } else {
        // Numbers keep their text and other words are lower-cased, which
        // only matters for a word with capitals in it.
        if (word.data() != word_.data()) word_.assign(word);
        bool upper = false;
        for (const char c : word_) upper |= is_upper(c);
        if (upper && !parse_decimal(word_))
            for (char& c : word_)
                if (is_upper(c)) c = static_cast<char>(c - 'A' + 'a');
        t.text = word_;
    }
    if (first.kind == lexeme_kind::end || first.last) t.kinds |= k_end;
    else look_past_word(accept, t);
    return t;
}

// A brace after the word, across separators and line ends, is taken with it.
void word_reader::look_past_word(std::uint8_t accept, token& t)
{
    lexeme after = lexemes_.next();
    if (after.kind == lexeme_kind::close) {
        // The first of a run of closes is taken and the others are left to
        // the next scans, unless an opening brace ends the run: then the
        // closes are passed over and the opening brace is taken.
        line_ = after.line;
        lexemes_.mark();
        bool more = false;
        for (after = lexemes_.next(); after.kind == lexeme_kind::close; after = lexemes_.next()) more = true;
        if (after.kind != lexeme_kind::open) {
            if (after.kind == lexeme_kind::end) t.kinds |= k_end;
            if (!(accept & close_allowed)) {
                report_("Unexpected }");
                t.kinds |= k_error;
            }
            t.kinds |= k_close;
            if (more) {
                lexemes_.back_to_mark();
                return;
            }
        }
        lexemes_.drop_mark();
    }
    if (after.kind == lexeme_kind::open) {
        if (!(accept & open_allowed)) {
            report_("Unexpected {");
            t.kinds |= k_error;
        }
        t.kinds |= k_open;
        line_ = after.line;
        return;
    }
    if (after.kind == lexeme_kind::end) t.kinds |= k_end;
    ahead_ = after;
    has_ahead_ = true;
}

} // namespace wayloom
