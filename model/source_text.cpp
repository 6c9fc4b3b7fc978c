#include "model/source_text.h"

#include "model/item_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace wayloom {

bool tsource_text::load_from_file(const std::string& file_name)
{
    std::FILE* file = std::fopen(file_name.c_str(), "rb");
    if (!file) return false;
    std::string text;
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return false;
    set_text(std::move(text));
    return true;
}

void tsource_text::set_text(std::string text)
{
    clear();
    buffer_ = std::move(text);
    // Map source lines are short; guessing their number saves regrowing the index.
    starts_.reserve(buffer_.size() / 16 + 1);
    ends_.reserve(buffer_.size() / 16 + 1);
    const std::size_t size = buffer_.size();
    std::size_t start = 0;
    while (start < size) {
        const std::size_t lf = buffer_.find('\n', start);
        const std::size_t stop = lf == std::string::npos ? size : lf;
        std::size_t end = stop;
        if (end > start && buffer_[end - 1] == '\r') --end;
        starts_.push_back(start);
        ends_.push_back(end);
        start = stop + 1;
    }
}

void tsource_text::clear()
{
    buffer_.clear();
    starts_.clear();
    ends_.clear();
}

void tsource_text::append(std::string_view line)
{
    starts_.push_back(buffer_.size());
    buffer_.append(line);
    ends_.push_back(buffer_.size());
}

std::string tsource_text::text() const
{
    std::string out;
    out.reserve(buffer_.size() + 2 * count());
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
