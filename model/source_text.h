// The map source text held for the map last read or written: lines kept in
// one buffer so that a large map costs no allocation per line. The reader
// goes through the text as a whole; the index of its lines is made only when
// lines are asked for by number (an error's surroundings, saving the text).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

struct item_list;

// How a map file's text is held once read: copied into memory (the window
// saves from it), or read once a block at a time and not kept (the command
// line writes from the map itself).
enum class text_holding { copied, streamed };

class tsource_text {
public:
    // Replaces the lines with those of `text`: lines end with CR LF or LF,
    // and the last may have none.
    void set_text(std::string text);
    void clear();
    // For the files read from now on; copied unless told otherwise.
    void set_holding(text_holding holding) { holding_ = holding; }
    text_holding holding() const { return holding_; }

    // The text as read: lines end with "\n" or "\r\n"; the last may have no line end.
    std::string_view whole() const { return text_; }
    bool empty() const { return text_.empty(); }

    std::size_t count() const { return line_ends().size(); }
    std::string_view line(std::size_t index) const
    {
        const std::size_t start = index == 0 ? 0 : next_start(end(index - 1));
        return {text_.data() + start, end(index) - start};
    }
    void append(std::string_view line);
    // The whole text with CR LF line ends, as a map file is saved.
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

    text_holding holding_ = text_holding::copied;
    std::string text_;
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
