// Where the reader's text comes from, a part at a time: a text held in
// memory gives itself whole; a file is read a block at a time, so that a
// large map never needs its whole text in memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wayloom {

class text_feed {
public:
    virtual ~text_feed() = default;

    // The last `keep` bytes of the part given before (none before the first
    // call), followed by the next part of the text. What is given stays valid
    // until the next call. A part no longer than `keep` means the text ended.
    virtual std::string_view next(std::size_t keep) = 0;
    // True once the text ended before its known end: a file cut short by
    // another program while it was read, or a read that failed part way.
    virtual bool cut_short() const { return false; }
};

// A text already in memory, given in one part.
class held_text final : public text_feed {
public:
    explicit held_text(std::string_view text) : text_(text) {}
    std::string_view next(std::size_t keep) override;

private:
    std::string_view text_;
    bool given_ = false;
};

// A text read into a buffer of its own, a block at a time; what the reader
// keeps of a part is moved to the buffer's front before the next block.
class block_feed : public text_feed {
public:
    explicit block_feed(std::size_t block_size) : block_(block_size) {}
    std::string_view next(std::size_t keep) final;

protected:
    // Reads up to `size` bytes of the text, following what was read before,
    // into `into`; 0 at the end of the text.
    virtual std::size_t read_block(char* into, std::size_t size) = 0;

private:
    std::size_t block_;
    std::string buffer_;
    std::size_t given_ = 0;  // the length of the part given last
    bool ended_ = false;
};

} // namespace wayloom
