#include "gps/handset_idents.h"

#include "source/plain_letters.h"

#include <unordered_map>
#include <unordered_set>

namespace wayloom::gps {

namespace {

constexpr std::size_t fixed_length = 6;
constexpr std::size_t longest_string = 51;

// A fixed ident holds upper-case letters, digits, spaces and hyphens.
char fixed_ident_char(char c)
{
    const char up = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    const bool shown = (up >= 'A' && up <= 'Z') || (up >= '0' && up <= '9') || up == '-' || up == ' ';
    return shown ? up : ' ';
}

char string_ident_char(char c) { return c >= 32 && c <= 126 ? c : ' '; }

std::size_t longest(const record_reader& reader) { return has_fixed_ident(reader) ? fixed_length : longest_string; }

// `ident` with its end replaced by `number`, padded again when fixed.
std::string numbered(const record_reader& reader, std::string ident, const std::string& number)
{
    while (!ident.empty() && ident.back() == ' ') ident.pop_back();
    const std::size_t room = longest(reader) - number.size();
    if (ident.size() > room) ident.resize(room);
    ident += number;
    if (has_fixed_ident(reader)) ident.resize(fixed_length, ' ');
    return ident;
}

} // namespace

bool has_fixed_ident(const record_reader& reader)
{
    return reader.kind == reader_kind::d100 || reader.data_type == 155;
}

std::string handset_ident(const record_reader& reader, std::string_view name)
{
    std::string ident = plain_letters(name, ' ');
    const bool fixed = has_fixed_ident(reader);
    if (ident.size() > longest(reader)) ident.resize(longest(reader));
    for (char& c : ident) c = fixed ? fixed_ident_char(c) : string_ident_char(c);
    if (fixed) ident.resize(fixed_length, ' ');
    return ident;
}

std::vector<std::string> unique_idents(const record_reader& reader, std::span<const std::string> names)
{
    std::vector<std::string> idents;
    idents.reserve(names.size());
    std::unordered_set<std::string> taken;
    std::vector<bool> repeated;
    repeated.reserve(names.size());
    for (const std::string& name : names) {
        idents.push_back(handset_ident(reader, name));
        repeated.push_back(!taken.insert(idents.back()).second);
    }
    // Numbers go on from where the last search for the same ident stopped,
    // so that a thousand alike take a thousand tries, not half a million.
    std::unordered_map<std::string, long long> next_number;
    for (std::size_t i = 0; i < idents.size(); ++i) {
        if (!repeated[i]) continue;
        long long& n = next_number[idents[i]];
        std::string candidate;
        do candidate = numbered(reader, idents[i], std::to_string(++n));
        while (!taken.insert(candidate).second);
        idents[i] = std::move(candidate);
    }
    return idents;
}

} // namespace wayloom::gps
