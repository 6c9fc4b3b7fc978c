// A file written through a block-sized buffer, so that a long text goes out
// in large writes without ever being held whole in memory.
#pragma once

#include <string>
#include <string_view>

namespace wayloom {

class buffered_file {
public:
    // Opens the file for writing, emptying it; ok() tells whether that worked.
    explicit buffered_file(const std::string& file_name);
    ~buffered_file();
    buffered_file(const buffered_file&) = delete;
    buffered_file& operator=(const buffered_file&) = delete;

    bool ok() const { return error_ == 0; }

    // Text is appended to the buffer, then written out once a block is full.
    std::string& buffer() { return buffer_; }
    void write_when_full()
    {
        if (buffer_.size() >= block_size) write_out();
    }
    void append(std::string_view text)
    {
        buffer_.append(text);
        write_when_full();
    }

    // Writes what is left and closes the file. False, with the system's
    // reason for the first failure ("No space left on device"), when any
    // part of the text did not reach the file.
    bool close(std::string& reason);

private:
    static constexpr std::size_t block_size = 1 << 16;
    // Written text is handed to the disk every so often while the rest is
    // still being made, so that the flush before the file replaces a map
    // has little left to wait for.
    static constexpr std::size_t flush_step = std::size_t{4} << 20;

    void write_out();

    int fd_ = -1;
    int error_ = 0;  // errno of the first failure
    std::size_t written_ = 0;  // bytes in the file
    std::size_t flushed_ = 0;  // of which the disk was asked to take
    std::string buffer_;
};

} // namespace wayloom
