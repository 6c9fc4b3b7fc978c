#include "frame.h"

namespace handset {

std::uint8_t checksum_of(std::uint8_t id, std::span<const std::uint8_t> data)
{
    unsigned sum = id + static_cast<unsigned>(data.size());
    for (const std::uint8_t b : data) sum += b;
    return static_cast<std::uint8_t>(-static_cast<int>(sum & 0xFF) & 0xFF);
}

std::vector<std::uint8_t> encode(const packet& p, bool corrupt)
{
    std::vector<std::uint8_t> out{dle};
    auto put = [&](std::uint8_t b) {
        out.push_back(b);
        if (b == dle) out.push_back(dle);
    };
    put(p.id);
    put(static_cast<std::uint8_t>(p.data.size()));
    for (const std::uint8_t b : p.data) put(b);
    std::uint8_t sum = checksum_of(p.id, p.data);
    if (corrupt) sum = static_cast<std::uint8_t>(sum ^ 0x5A);
    put(sum);
    out.push_back(dle);
    out.push_back(etx);
    return out;
}

// The frame ends at the first single DLE followed by ETX; a doubled DLE is
// one data byte. Anything that does not fit starts the search afresh.
std::vector<frame_reader::result> frame_reader::feed(std::span<const std::uint8_t> bytes)
{
    std::vector<result> done;
    for (const std::uint8_t b : bytes) {
        switch (state_) {
        case state::idle:
            if (b == dle) {
                body_.clear();
                state_ = state::body;
            }
            break;
        case state::body:
            if (b == dle)
                state_ = state::after_dle;
            else
                body_.push_back(b);
            break;
        case state::after_dle:
            if (b == dle) {
                body_.push_back(dle);
                state_ = state::body;
            } else if (b == etx) {
                state_ = state::idle;
                if (body_.size() >= 3 && body_[1] + 3u == body_.size()) {
                    result r;
                    r.p.id = body_[0];
                    r.p.data.assign(body_.begin() + 2, body_.end() - 1);
                    r.checksum_ok = checksum_of(r.p.id, r.p.data) == body_.back();
                    done.push_back(std::move(r));
                }
            } else {
                // A lone DLE inside a frame: take it as the start of a new one.
                body_.assign(1, b);
                state_ = state::body;
            }
            break;
        }
    }
    return done;
}

} // namespace handset
