// The settings file: a Windows-style INI file of [section] headers and
// key=value lines. Section and key names compare without regard to case, a
// missing file, section or key gives the caller's default, and values are
// kept as text. Writes change the copy in memory; save() puts it on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

class ini_file {
public:
    // A file over this many bytes, or one holding a NUL byte, is not a
    // settings file: it reads as an empty one, which the next save replaces.
    static constexpr std::uintmax_t largest_file = 1 << 20;
    // Lines over this many bytes are left out, so their keys read as missing
    // and the next save drops them.
    static constexpr std::size_t longest_line = 1 << 15;

    // Reads the file when it exists; a missing or unreadable file is an empty
    // one. UTF-8 byte order marks at the start are skipped (and not written back).
    explicit ini_file(std::string file_name);

    const std::string& file_name() const { return file_name_; }

    bool contains(std::string_view section, std::string_view key) const;
    // The value with the blanks around it removed, and one pair of enclosing
    // double quotes; `fallback` when the key is missing.
    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view fallback) const;
    // A decimal integer with an optional sign; `fallback` when the key is
    // missing or its value is not a whole number in range.
    std::int64_t read_integer(std::string_view section, std::string_view key,
                              std::int64_t fallback) const;
    // Any integer other than 0 is true; `fallback` as for read_integer.
    bool read_bool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the value of an existing key in its line; a new key goes after
    // the last line of its section, a new section at the end of the file.
    // Every other line, unknown sections and keys and comments among them,
    // stays as it was.
    void write_string(std::string_view section, std::string_view key, std::string_view value);
    void write_integer(std::string_view section, std::string_view key, std::int64_t value);
    void write_bool(std::string_view section, std::string_view key, bool value);  // 1 or 0

    // Writes the whole file through a temporary file renamed over it, so a
    // failed write leaves the old settings. Returns false with the reason in
    // `error`.
    bool save(std::string* error = nullptr) const;

    // The file as save() writes it, one "\n" after every line.
    std::string text() const;

private:
    struct line_info {
        std::string text;
        std::string section;  // lower case, of the section the line is in
        std::string key;      // lower case; empty for headers, comments, blanks
        bool header = false;
    };
    std::string file_name_;
    std::vector<line_info> lines_;

    void parse(std::string_view text);
    std::optional<std::size_t> find(std::string_view section, std::string_view key) const;
};

} // namespace wayloom
