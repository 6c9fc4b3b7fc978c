#include "model/source_text.h"

#include "model/item_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wayloom {

bool tsource_text::load_from_file(const std::string& file_name)
{
    const int fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info{};
    const std::size_t size =
        ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    if (holding_ == text_holding::mapped) {
        file_mapping mapping;
        if (mapping.map(fd, size)) {
            ::close(fd);
            clear();
            mapping_ = std::move(mapping);
            text_ = mapping_.text();
            return true;
        }
    }
    // One buffer the size of the file, filled by as few reads as the system
    // allows; a file that grows meanwhile is read to its new end.
    std::string text(size, '\0');
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
    if (failed) return false;
    text.resize(filled);
    set_text(std::move(text));
    return true;
}

void tsource_text::set_text(std::string text)
{
    clear();
    buffer_ = std::move(text);
    text_ = buffer_;
}

void tsource_text::split_lines() const
{
    ends_.clear();
    wraps_.clear();
    indexed_ = true;
    const char* const data = text_.data();
    const std::size_t size = text_.size();
    ends_.reserve(static_cast<std::size_t>(std::count(data, data + size, '\n')) + 1);
    std::size_t start = 0;
    while (start < size) {
        const void* lf = std::memchr(data + start, '\n', size - start);
        const std::size_t stop = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        std::size_t end = stop;
        if (end > start && data[end - 1] == '\r') --end;
        add_end(end);
        start = stop + 1;
    }
}

void tsource_text::clear()
{
    buffer_.clear();
    mapping_.reset();
    text_ = {};
    ends_.clear();
    wraps_.clear();
    indexed_ = false;
}

void tsource_text::add_end(std::size_t end) const
{
    const std::size_t index = ends_.size();
    ends_.push_back(static_cast<std::uint32_t>(end));
    while ((end >> 32) > wraps_.size()) wraps_.push_back(index);
}

std::size_t tsource_text::high_part(std::size_t index) const
{
    const auto passed = std::upper_bound(wraps_.begin(), wraps_.end(), index) - wraps_.begin();
    return static_cast<std::size_t>(passed) << 32;
}

void tsource_text::hold_copy()
{
    if (text_.data() == buffer_.data()) return;
    buffer_.assign(text_);
    mapping_.reset();
    text_ = buffer_;
}

void tsource_text::append(std::string_view line)
{
    hold_copy();
    // Each appended line is followed by "\n" in the buffer, so that its end
    // gives the next start as for a line read from a file; a last line read
    // without a line end gets one first.
    const std::size_t start = count() == 0 ? 0 : next_start(end(count() - 1));
    if (buffer_.size() < start) buffer_.resize(start, '\n');
    buffer_.append(line);
    add_end(buffer_.size());
    buffer_.push_back('\n');
    text_ = buffer_;
}

std::string tsource_text::text() const
{
    std::string out;
    out.reserve(text_.size() + count());
    for (std::size_t i = 0; i < count(); ++i) {
        out.append(line(i));
        out.append("\r\n");
    }
    return out;
}

bool tsource_text::save_to_file(const std::string& file_name, std::string* error) const
{
    std::FILE* file = std::fopen(file_name.c_str(), "wb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    const std::string out = text();
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const int write_errno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!(written && closed)) {
        if (error) *error = std::strerror(written ? errno : write_errno);
        return false;
    }
    return true;
}

void tsource_text::show_error(std::size_t index, item_list& list) const
{
    list.clear();
    if (count() == 0) return;
    const std::size_t at = std::min(index, count() - 1);
    const std::size_t first = at < 10 ? 0 : at - 10;
    const std::size_t last = std::min(at + 10, count() - 1);
    for (std::size_t i = first; i <= last; ++i) list.add(std::string(line(i)));
    list.select_only(at - first);
}

} // namespace wayloom
