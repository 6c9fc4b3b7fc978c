#include "model/source_text.h"

#include "model/item_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace wayloom {

void tsource_text::set_text(std::string text)
{
    clear();
    text_ = std::move(text);
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
    text_.clear();
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

void tsource_text::append(std::string_view line)
{
    // Each appended line is followed by "\n" in the buffer, so that its end
    // gives the next start as for a line read from a file; a last line read
    // without a line end gets one first.
    const std::size_t start = count() == 0 ? 0 : next_start(end(count() - 1));
    if (text_.size() < start) text_.resize(start, '\n');
    text_.append(line);
    add_end(text_.size());
    text_.push_back('\n');
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
