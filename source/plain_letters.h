// Names as plain ASCII, one character at a time: what a handset's ident and
// a map source word can hold. Both the upload and the map writer go through
// here, so a name loses its accents the same way everywhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wayloom {

// `text` as UTF-8, character by character: ASCII as it is; a Latin letter
// with an accent, cedilla or stroke as the letter without it (é gives e,
// Ł gives L, ß gives s); a combining accent dropped (it belongs to the
// letter before it, and stands for itself only at the start); any other
// character as one `other`. So a name never comes out empty. A byte that starts
// no UTF-8 character is read as Latin-1, as older handsets send names.
std::string plain_letters(std::string_view text, char other);

// Length of the UTF-8 sequence starting at text[i], or 0 when none does.
std::size_t utf8_length(std::string_view text, std::size_t i);

} // namespace wayloom
