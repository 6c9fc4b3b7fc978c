#include "app/ini_file.h"

#include "source/number_text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

namespace wayloom {

namespace {

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool is_comment(std::string_view trimmed) { return !trimmed.empty() && trimmed.front() == ';'; }

} // namespace

ini_file::ini_file(std::string file_name) : file_name_(std::move(file_name))
{
    // A file this big was not written by the program: it is not read at all,
    // and the next save replaces it.
    std::error_code ec;
    const auto size = std::filesystem::file_size(file_name_, ec);
    if (ec || size > largest_file) return;
    std::ifstream in(file_name_, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    if (all.find('\0') != std::string::npos) return;  // binary: not a settings file
    parse(all);
}

void ini_file::parse(std::string_view text)
{
    // Editors that save as UTF-8 may put a byte order mark first, and one
    // that adds its own to a file that has one already a second. All are
    // skipped: the file is written back without them, and a mark left in
    // the first line would make it a different line when read again.
    constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
    while (text.starts_with(byte_order_mark)) text.remove_prefix(byte_order_mark.size());
    std::string section;
    bool in_section = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (raw.size() > longest_line) continue;  // no value of ours is this long; dropped

        line_info line{std::string(raw), section, {}, false};
        const std::string_view t = trim(raw);
        if (!t.empty() && t.front() == '[') {
            const auto close = t.find(']');
            if (close != std::string_view::npos) {
                section = lower(trim(t.substr(1, close - 1)));
                in_section = true;
                line.section = section;
                line.header = true;
            }
        } else if (in_section && !is_comment(t)) {
            const auto equals = t.find('=');
            if (equals != std::string_view::npos) line.key = lower(trim(t.substr(0, equals)));
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<std::size_t> ini_file::find(std::string_view section, std::string_view key) const
{
    const std::string s = lower(trim(section));
    const std::string k = lower(trim(key));
    if (k.empty()) return std::nullopt;
    // The first section of that name and the first key in it count, as on Windows.
    bool seen_section = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const line_info& line = lines_[i];
        if (line.header) {
            if (seen_section) return std::nullopt;
            seen_section = line.section == s;
            continue;
        }
        if (seen_section && line.key == k) return i;
    }
    return std::nullopt;
}

bool ini_file::contains(std::string_view section, std::string_view key) const
{
    return find(section, key).has_value();
}

std::string ini_file::read_string(std::string_view section, std::string_view key,
                                  std::string_view fallback) const
{
    const auto line = find(section, key);
    if (!line) return std::string(fallback);
    const std::string_view t = trim(lines_[*line].text);
    std::string_view value = trim(t.substr(t.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::int64_t ini_file::read_integer(std::string_view section, std::string_view key,
                                    std::int64_t fallback) const
{
    if (!contains(section, key)) return fallback;
    return parse_whole_number(read_string(section, key, "")).value_or(fallback);
}

bool ini_file::read_bool(std::string_view section, std::string_view key, bool fallback) const
{
    return read_integer(section, key, fallback ? 1 : 0) != 0;
}

void ini_file::write_string(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string s = lower(trim(section));
    const std::string k = lower(trim(key));
    if (k.empty()) return;
    const std::string new_line = std::string(trim(key)) + "=" + std::string(value);

    if (const auto found = find(section, key)) {
        // The key keeps the spelling it has in the file.
        std::string& text = lines_[*found].text;
        const std::string_view t = trim(text);
        text = std::string(trim(t.substr(0, t.find('=')))) + "=" + std::string(value);
        return;
    }
    // After the last non-blank line of the first section of that name.
    std::size_t header = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].header && lines_[i].section == s) { header = i; break; }
    if (header == lines_.size()) {
        if (!lines_.empty() && !trim(lines_.back().text).empty())
            lines_.push_back({"", lines_.back().section, {}, false});
        lines_.push_back({"[" + std::string(trim(section)) + "]", s, {}, true});
        lines_.push_back({new_line, s, k, false});
        return;
    }
    std::size_t insert_at = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i)
        if (!trim(lines_[i].text).empty()) insert_at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at),
                  line_info{new_line, s, k, false});
}

void ini_file::write_integer(std::string_view section, std::string_view key, std::int64_t value)
{
    write_string(section, key, std::to_string(value));
}

void ini_file::write_bool(std::string_view section, std::string_view key, bool value)
{
    write_string(section, key, value ? "1" : "0");
}

std::string ini_file::text() const
{
    std::string out;
    for (const line_info& line : lines_) {
        out += line.text;
        out += '\n';
    }
    return out;
}

bool ini_file::save(std::string* error) const
{
    const std::string temporary = file_name_ + ".tmp";
    auto fail = [&](const std::string& reason) {
        if (error) *error = "cannot write " + file_name_ + ": " + reason;
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    };
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return fail(std::error_code(errno, std::generic_category()).message());
        out << text();
        out.flush();
        if (!out) return fail(std::error_code(errno, std::generic_category()).message());
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file_name_, ec);
    if (ec) return fail(ec.message());
    return true;
}

} // namespace wayloom
