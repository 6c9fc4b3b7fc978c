// A file mapped read-only into memory. Its pages can be let go once read, so
// that reading a large file never keeps the whole of it resident: a page read
// again is brought back from the file. Should another program cut the file
// short while it is mapped, the pages past its new end read as zeros and
// cut_short() tells so, where the system would otherwise stop the program.
#pragma once

#include <cstddef>
#include <string_view>

namespace wayloom {

class file_mapping {
public:
    file_mapping() = default;
    ~file_mapping() { reset(); }
    file_mapping(file_mapping&& other) noexcept;
    file_mapping& operator=(file_mapping&& other) noexcept;
    file_mapping(const file_mapping&) = delete;
    file_mapping& operator=(const file_mapping&) = delete;

    // Maps the first `size` bytes of the open file `fd` (the file may be
    // closed afterwards). False when the system refuses the mapping.
    bool map(int fd, std::size_t size);
    void reset();

    std::string_view text() const { return {data_, size_}; }
    // True once a page of the mapping was found past the file's end.
    bool cut_short() const;
    // Lets go of the whole pages before byte `offset`; nothing changes for
    // the reader of text() but the memory the process holds.
    void release_before(std::size_t offset) const;

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    mutable std::size_t released_ = 0;  // the pages before it are let go already
    int watch_ = -1;                    // the mapping's place among those watched for a cut
};

} // namespace wayloom
