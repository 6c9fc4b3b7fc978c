#include "source/scanner.h"

#include "source/number_text.h"

#include <utility>

namespace wayloom {

bool is_word_char(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

source_scanner::source_scanner(const tsource_text& text, error_sink report)
    : text_(text), report_(std::move(report))
{
}

bool source_scanner::char_at(place& p, char& c) const
{
    while (p.line < text_.count() && p.column >= text_.line(p.line).size()) {
        ++p.line;
        p.column = 0;
    }
    if (p.line >= text_.count()) return false;
    c = text_.line(p.line)[p.column];
    return true;
}

token source_scanner::scan(std::uint8_t accept)
{
    token t;
    word_.clear();
    // The position only moves over what is consumed, so a word that ends a
    // line leaves the position on that line (errors then point at it).
    place p{line_, column_};
    for (;;) {
        char c;
        if (!char_at(p, c)) {
            line_ = p.line;
            column_ = p.column;
            t.kinds |= k_end;
            break;
        }
        if (c == '{' || c == '}') {
            // A brace ends the call at once; a word being collected is dropped.
            line_ = p.line;
            column_ = p.column + 1;
            if (c == '{') {
                t.kinds |= k_open;
                ++depth;
            } else {
                t.kinds |= k_close;
            }
            return t;
        }
        if (is_word_char(c)) {
            word_ += c;
        } else if (!word_.empty()) {
            break;
        }
        ++p.column;
        line_ = p.line;
        column_ = p.column;
    }

    t.has_word = true;
    const auto number = parse_number(word_);
    if (accept & want_number) {
        if (number) {
            t.value = *number;
        } else {
            report_("Value expected");
            t.kinds = k_error;
        }
    } else if (!number) {
        for (char& c : word_)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    t.text = word_;
    look_past_word(accept, t);
    return t;
}

void source_scanner::look_past_word(std::uint8_t accept, token& t)
{
    if (line_ >= text_.count()) {
        t.kinds |= k_end;
        return;
    }
    place look{line_, column_};
    bool met_close = false;
    bool on_open = false;
    for (;;) {
        char c;
        if (!char_at(look, c)) {
            t.kinds |= k_end;
            break;
        }
        if (c == '{') {
            on_open = true;
            break;
        }
        if (is_word_char(c)) break;
        if (c == '}' && !met_close) {
            // Only the first "}" is taken; any further one is the next call's.
            met_close = true;
            line_ = look.line;
            column_ = look.column + 1;
        }
        ++look.column;
    }
    if (on_open) {
        if (!(accept & open_allowed)) {
            report_("Unexpected {");
            t.kinds |= k_error;
        }
        ++depth;
        t.kinds |= k_open;
        line_ = look.line;
        column_ = look.column + 1;
    } else if (met_close) {
        if (!(accept & close_allowed)) {
            report_("Unexpected }");
            t.kinds |= k_error;
        }
        t.kinds |= k_close;
    }
}

} // namespace wayloom
