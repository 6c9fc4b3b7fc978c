// The map source text held for the map last read or written: lines kept in
// one buffer so that a large map costs no allocation per line. The reader
// goes through the text as a whole; the index of its lines is made only when
// lines are asked for by number (an error's surroundings, saving the text).
#pragma once

#include "model/file_mapping.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

struct item_list;

// How a file's text is held: copied into memory (the window saves from it),
// or read through a mapping of the file that lets each part go once the
// reader has passed it (the command line writes from the map itself).
enum class text_holding { copied, mapped };

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
    // For the files loaded from now on; copied unless told otherwise.
    void set_holding(text_holding holding) { holding_ = holding; }

    // The text as read: lines end with "\n" or "\r\n"; the last may have no line end.
    std::string_view whole() const { return text_; }
    // True when the file of a mapped text was cut short by another program
    // while it was held: what lay past its new end read as zeros.
    bool cut_short() const { return mapping_.cut_short(); }
    bool empty() const { return text_.empty(); }

    std::size_t count() const { return line_ends().size(); }
    std::string_view line(std::size_t index) const
    {
        const std::size_t start = index == 0 ? 0 : next_start(end(index - 1));
        return {text_.data() + start, end(index) - start};
    }
    // A mapped text lets go of the whole pages before byte `offset` of
    // whole(); what lies there can still be read. A copied text ignores it.
    void release_before(std::size_t offset) const { mapping_.release_before(offset); }
    void append(std::string_view line);
    // The whole text with CR LF line ends, as save_to_file writes it.
    std::string text() const;

    // Fills `list` with the lines around line `index` (0-based) and selects
    // that line; an index past the end is taken as the last line.
    void show_error(std::size_t index, item_list& list) const;

private:
    // Where line `index` ends in the text, before its line end.
    std::size_t end(std::size_t index) const
    {
        return wraps_.empty() ? line_ends()[index] : line_ends()[index] + high_part(index);
    }
    std::size_t high_part(std::size_t index) const;
    // A line ends before "\r\n", before "\n", or at the end of the text;
    // the next line starts after that line end.
    std::size_t next_start(std::size_t line_end) const
    {
        return line_end < text_.size() && text_[line_end] == '\r' ? line_end + 2 : line_end + 1;
    }
    const std::vector<std::uint32_t>& line_ends() const
    {
        if (!indexed_) split_lines();
        return ends_;
    }
    void split_lines() const;
    void add_end(std::size_t end) const;
    void hold_copy();

    text_holding holding_ = text_holding::copied;
    std::string buffer_;      // the copied text
    file_mapping mapping_;    // or the mapped one
    std::string_view text_;   // whichever holds the text
    // The end of each line in the text, in 32 bits: a map has millions of
    // short lines, and their starts follow from the previous line's end.
    // Made on first use.
    mutable std::vector<std::uint32_t> ends_;
    // For a text past 4 GiB: the first line whose end passes each further
    // 4 GiB, which the 32-bit ends leave out.
    mutable std::vector<std::size_t> wraps_;
    mutable bool indexed_ = false;
};

} // namespace wayloom
