// A text given a few bytes at a time, as a file is read, so that every word
// and line end of it crosses the end of a part somewhere: the reader must
// read it as it reads the whole text.
#pragma once

#include "source/text_feed.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace wayloom::testing {

class text_in_pieces final : public block_feed {
public:
    text_in_pieces(std::string_view text, std::size_t size) : block_feed(size), text_(text) {}

private:
    std::size_t read_block(char* into, std::size_t size) override
    {
        const std::size_t n = std::min(size, text_.size());
        std::memcpy(into, text_.data(), n);
        text_.remove_prefix(n);
        return n;
    }
    std::string_view text_;
};

} // namespace wayloom::testing
