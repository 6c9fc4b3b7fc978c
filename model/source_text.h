// The map source text held for the map last read or written: lines kept in
// one buffer so that a large map costs no allocation per line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

struct item_list;

class tsource_text {
public:
    // Replaces the lines with the file's; accepts CR LF, LF and a last line
    // without a line end. Returns false when the file cannot be read.
    bool load_from_file(const std::string& file_name);
    // Writes every line ended by CR LF. Returns false, with the reason in
    // `error`, when the file cannot be written completely.
    bool save_to_file(const std::string& file_name, std::string* error = nullptr) const;
    // Replaces the lines with those of `text`, split as load_from_file does.
    void set_text(std::string text);
    void clear();

    std::size_t count() const { return starts_.size(); }
    std::string_view line(std::size_t index) const
    {
        return {buffer_.data() + starts_[index], ends_[index] - starts_[index]};
    }
    void append(std::string_view line);
    // The whole text with CR LF line ends, as save_to_file writes it.
    std::string text() const;

    // Fills `list` with the lines around line `index` (0-based) and selects
    // that line; an index past the end is taken as the last line.
    void show_error(std::size_t index, item_list& list) const;

private:
    std::string buffer_;
    std::vector<std::size_t> starts_;  // start of each line in buffer_
    std::vector<std::size_t> ends_;
};

} // namespace wayloom
