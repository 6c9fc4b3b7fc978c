#include "source/file_feed.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wayloom {

namespace {

// The file's size, 0 when the system cannot tell.
std::size_t size_of(int fd)
{
    struct stat info{};
    return ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

} // namespace

file_feed::file_feed(const std::string& file_name, std::size_t block_size) : block_feed(block_size)
{
    fd_ = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    size_ = size_of(fd_);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

file_feed::~file_feed()
{
    if (fd_ >= 0) ::close(fd_);
}

std::size_t file_feed::read_block(char* into, std::size_t size)
{
    while (!ended_ && !failed_) {
        const ssize_t n = ::pread(fd_, into, size, static_cast<off_t>(offset_));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed_ = true;
        if (n <= 0) break;
        offset_ += static_cast<std::size_t>(n);
        return static_cast<std::size_t>(n);
    }
    ended_ = true;
    return 0;
}

std::optional<std::string> read_whole_file(const std::string& file_name)
{
    const int fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    // One buffer the size of the file, filled by as few reads as the system
    // allows; a file that grows meanwhile is read to its new end.
    std::string text(size_of(fd), '\0');
    std::size_t filled = 0;
    bool failed = false;
    char more[1 << 12];  // past the size the file had: appended, not made room for ahead
    for (;;) {
        const bool inside = filled < text.size();
        char* const at = inside ? text.data() + filled : more;
        const ssize_t n = ::read(fd, at, inside ? text.size() - filled : sizeof more);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        if (!inside) text.append(more, static_cast<std::size_t>(n));
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (failed) return std::nullopt;
    text.resize(filled);
    return text;
}

} // namespace wayloom
