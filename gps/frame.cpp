#include "gps/frame.h"

namespace wayloom::gps {

std::uint8_t frame_checksum(std::uint8_t id, std::span<const std::uint8_t> data)
{
    unsigned sum = id + static_cast<unsigned>(data.size());
    for (const std::uint8_t b : data) sum += b;
    return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

std::vector<std::uint8_t> make_frame(std::uint8_t id, std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> frame{dle};
    auto put = [&](std::uint8_t b) {
        frame.push_back(b);
        if (b == dle) frame.push_back(dle);
    };
    put(id);
    put(static_cast<std::uint8_t>(data.size()));
    for (std::size_t i = 0; i < data.size() && frame.size() < frame_limit; ++i) put(data[i]);
    put(frame_checksum(id, data));
    frame.push_back(dle);
    frame.push_back(etx);
    return frame;
}

extracted_frame extract_frame(std::span<const std::uint8_t> received)
{
    extracted_frame out;
    if (received.size() < 3 || received[0] != dle) return out;
    const std::size_t length = received[2] + std::size_t{6};
    if (length > incoming_frame_limit) return out;
    out.status = frame_status::found;
    out.raw.reserve(length);
    // Bytes that have not arrived are never read: the frame is then cut off.
    std::size_t at = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (at >= received.size()) {
            out.status = frame_status::cut_off;
            out.raw.push_back(0);
            continue;
        }
        const std::uint8_t b = received[at++];
        out.raw.push_back(b);
        if (b == dle && i > 0 && i + 2 < length && at < received.size()) ++at;
    }
    out.consumed = at;
    return out;
}

std::optional<packet> open_frame(std::span<const std::uint8_t> raw)
{
    if (raw.size() < 4) return std::nullopt;
    const std::size_t n = raw[2];
    if (raw.size() < n + 4) return std::nullopt;
    packet p{raw[1], {raw.begin() + 3, raw.begin() + 3 + static_cast<std::ptrdiff_t>(n)}};
    if (frame_checksum(p.id, p.data) != raw[3 + n]) return std::nullopt;
    return p;
}

bool ends_with_whole_frame(std::span<const std::uint8_t> received)
{
    const std::size_t end = received.size();
    std::size_t i = 0;
    bool any = false;
    while (i < end) {
        if (received[i] != dle) return false;
        ++i;
        // id, size, data and checksum, with every DLE doubled
        int size = -1, taken = 0;
        while (i < end) {
            const std::uint8_t b = received[i];
            if (b == dle) {
                if (i + 1 >= end) return false;
                if (received[i + 1] != dle) break;  // the closing DLE
                ++i;
            }
            if (taken == 1) size = b;
            ++taken;
            ++i;
            if (size >= 0 && taken == size + 3) break;
        }
        if (size < 0 || taken != size + 3) return false;
        if (i + 2 > end || received[i] != dle || received[i + 1] != etx) return false;
        i += 2;
        any = true;
    }
    return any;
}

} // namespace wayloom::gps
