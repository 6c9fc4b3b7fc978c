#include "source/text_feed.h"

#include <algorithm>
#include <cstring>

namespace wayloom {

std::string_view held_text::next(std::size_t keep)
{
    if (!given_) {
        given_ = true;
        return text_;
    }
    return text_.substr(text_.size() - std::min(keep, text_.size()));
}

std::string_view block_feed::next(std::size_t keep)
{
    keep = std::min(keep, given_);
    if (keep > 0 && keep < given_) std::memmove(buffer_.data(), buffer_.data() + given_ - keep, keep);
    std::size_t filled = keep;
    // A block at least, and more when what is kept takes much of the buffer.
    const std::size_t wanted = keep + std::max(block_, keep);
    if (buffer_.size() < wanted) buffer_.resize(wanted);
    while (!ended_ && filled < buffer_.size()) {
        const std::size_t n = read_block(buffer_.data() + filled, buffer_.size() - filled);
        if (n == 0) ended_ = true;
        filled += n;
        if (filled > keep) break;  // something new to give
    }
    given_ = filled;
    return {buffer_.data(), filled};
}

} // namespace wayloom
