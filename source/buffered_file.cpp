#include "source/buffered_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wayloom {

buffered_file::buffered_file(const std::string& file_name)
{
    fd_ = ::open(file_name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) error_ = errno;
    buffer_.reserve(block_size + block_size / 4);
}

buffered_file::~buffered_file()
{
    if (fd_ >= 0) ::close(fd_);
}

void buffered_file::write_out()
{
    const char* at = buffer_.data();
    std::size_t left = buffer_.size();
    while (error_ == 0 && left > 0) {
        const ssize_t n = ::write(fd_, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A write that takes nothing on a regular file means the disk is full.
            error_ = n < 0 ? errno : ENOSPC;
            break;
        }
        at += n;
        left -= static_cast<std::size_t>(n);
        written_ += static_cast<std::size_t>(n);
    }
    buffer_.clear();
    if (error_ == 0 && written_ - flushed_ >= flush_step) {
        // Starts the writing only; a failure shows in the flush at the end.
        ::sync_file_range(fd_, static_cast<off_t>(flushed_), static_cast<off_t>(written_ - flushed_),
                          SYNC_FILE_RANGE_WRITE);
        flushed_ = written_;
    }
}

bool buffered_file::close(std::string& reason)
{
    write_out();
    if (fd_ >= 0 && ::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
    if (error_ != 0) reason = std::strerror(error_);
    return error_ == 0;
}

} // namespace wayloom
