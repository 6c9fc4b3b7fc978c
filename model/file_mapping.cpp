#include "model/file_mapping.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace wayloom {

file_mapping::file_mapping(file_mapping&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      released_(std::exchange(other.released_, 0))
{
}

file_mapping& file_mapping::operator=(file_mapping&& other) noexcept
{
    if (this != &other) {
        reset();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        released_ = std::exchange(other.released_, 0);
    }
    return *this;
}

bool file_mapping::map(int fd, std::size_t size)
{
    reset();
    if (size == 0) return false;
    void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (at == MAP_FAILED) return false;
    ::madvise(at, size, MADV_SEQUENTIAL);
    data_ = static_cast<const char*>(at);
    size_ = size;
    return true;
}

void file_mapping::reset()
{
    if (data_) ::munmap(const_cast<char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    released_ = 0;
}

void file_mapping::release_before(std::size_t offset) const
{
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t whole = std::min(offset, size_) / page * page;
    // The mapping is private and never written, so the dropped pages are
    // read from the file again should they be needed (only an error's
    // surroundings are), and stay until the mapping goes.
    if (whole <= released_) return;
    ::madvise(const_cast<char*>(data_ + released_), whole - released_, MADV_DONTNEED);
    released_ = whole;
}

} // namespace wayloom
