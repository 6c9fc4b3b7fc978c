// Map files read from the disk: whole, for a text the program keeps, or a
// block at a time with pread, for one it reads once.
#pragma once

#include "source/text_feed.h"

#include <cstddef>
#include <optional>
#include <string>

namespace wayloom {

// A file read a block at a time. A file found shorter than it was when
// opened (another program cut it short meanwhile) or a read that fails
// ends the text early, and cut_short() then tells so.
class file_feed final : public block_feed {
public:
    explicit file_feed(const std::string& file_name, std::size_t block_size = std::size_t{1} << 20);
    ~file_feed() override;
    file_feed(const file_feed&) = delete;
    file_feed& operator=(const file_feed&) = delete;

    bool opened() const { return fd_ >= 0; }
    bool cut_short() const override { return failed_ || (ended_ && offset_ < size_); }

private:
    std::size_t read_block(char* into, std::size_t size) override;

    int fd_ = -1;
    std::size_t size_ = 0;    // when opened
    std::size_t offset_ = 0;  // read so far
    bool ended_ = false;
    bool failed_ = false;
};

// The whole file, read to its end even when it grows meanwhile; nothing
// when it cannot be opened or read.
std::optional<std::string> read_whole_file(const std::string& file_name);

} // namespace wayloom
