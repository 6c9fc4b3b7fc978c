// A serial device whose other end is a script: it records what the link
// writes and hands out prepared replies, one reply per read.
#pragma once

#include "gps/serial_device.h"

#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace wayloom::gps::testing {

class scripted_device : public serial_device {
public:
    struct shared {
        std::vector<std::uint8_t> written;
        std::deque<std::vector<std::uint8_t>> replies;  // each read takes the front one; none: time-out
        int read_error_at = -1;                         // the read with this number fails
        int reads = 0;
        bool refuse_open = false, refuse_settings = false;
        bool opened = false;
        int interval_ms = -1, total_ms = -1;  // the time-outs set last
    };
    explicit scripted_device(shared& s) : s_(s) {}

    bool open(const std::string&) override { return s_.opened = !s_.refuse_open; }
    bool is_open() const override { return s_.opened; }
    bool set_queues(std::size_t, std::size_t) override { return true; }
    bool read_line_settings() override { return true; }
    bool apply_line_settings(const line_settings&) override { return !s_.refuse_settings; }
    void set_timeouts(int interval, int total) override { s_.interval_ms = interval, s_.total_ms = total; }
    read_result read(std::uint8_t* into, std::size_t max, const enough_test& = {}) override
    {
        read_result r;
        if (s_.reads++ == s_.read_error_at) {
            r.error = 5;
            return r;
        }
        if (s_.replies.empty()) return r;
        auto& front = s_.replies.front();
        r.count = std::min(max, front.size());
        std::copy(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(r.count), into);
        front.erase(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(r.count));
        if (front.empty()) s_.replies.pop_front();
        return r;
    }
    long write(const std::uint8_t* bytes, std::size_t count) override
    {
        s_.written.insert(s_.written.end(), bytes, bytes + count);
        return static_cast<long>(count);
    }
    void close() override { s_.opened = false; }

private:
    shared& s_;
};

// Frames a packet as a handset sends it.
inline std::vector<std::uint8_t> frame(std::uint8_t id, std::vector<std::uint8_t> data)
{
    std::vector<std::uint8_t> out{16};
    unsigned sum = id + static_cast<unsigned>(data.size());
    auto put = [&](std::uint8_t b) {
        out.push_back(b);
        if (b == 16) out.push_back(16);
    };
    put(id);
    put(static_cast<std::uint8_t>(data.size()));
    for (auto b : data) {
        put(b);
        sum += b;
    }
    put(static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF));
    out.push_back(16);
    out.push_back(3);
    return out;
}

// Puts a 32-bit little-endian value at `at`.
inline void put32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

// A D108 waypoint record as a handset sends it: the fixed part with the
// position and altitude, the ident and an empty comment.
inline std::vector<std::uint8_t> d108(const std::string& ident, std::int32_t lat, std::int32_t lon, float alt)
{
    std::vector<std::uint8_t> r(48, 0);
    put32(r, 24, lat);
    put32(r, 28, lon);
    std::memcpy(r.data() + 32, &alt, 4);
    r.insert(r.end(), ident.begin(), ident.end());
    r.push_back(0);
    r.push_back(0);
    return r;
}

} // namespace wayloom::gps::testing
