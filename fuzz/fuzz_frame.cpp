// Feeds arbitrary received bytes to the frame layer the way the packet port
// does: ask whether they end on a whole frame, then take frames one after
// another and open them. Nothing may read past the bytes given. The same
// bytes as a packet (first byte the id) then go through make_frame and back,
// which must give the packet again.
#include "gps/frame.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using namespace wayloom::gps;

void check(bool holds)
{
    if (!holds) std::abort();
}

void take_frames(std::span<const std::uint8_t> rest)
{
    while (!rest.empty()) {
        const extracted_frame f = extract_frame(rest);
        if (f.status == frame_status::unrecognised) {
            rest = rest.subspan(1);  // the port drops the byte and looks again
            continue;
        }
        check(f.consumed > 0 && f.consumed <= rest.size());
        check(f.raw.size() == rest[2] + std::size_t{6});
        if (const auto p = open_frame(f.raw)) check(p->data.size() == f.raw[2]);
        rest = rest.subspan(f.consumed);
    }
}

// Bytes of the frame for (id, data) when nothing is left out.
std::size_t stuffed_size(std::uint8_t id, std::span<const std::uint8_t> data)
{
    const auto doubled = [](std::uint8_t b) { return b == dle ? std::size_t{2} : std::size_t{1}; };
    std::size_t n = 1 + doubled(id) + doubled(static_cast<std::uint8_t>(data.size())) + 2;
    for (const std::uint8_t b : data) n += doubled(b);
    return n + doubled(frame_checksum(id, data));
}

void round_trip(std::uint8_t id, std::span<const std::uint8_t> data)
{
    // Frames longer than an incoming frame may be are not read back.
    data = data.first(std::min(data.size(), incoming_frame_limit - 6));
    const std::vector<std::uint8_t> frame = make_frame(id, data);
    // The data stops once the frame reaches the limit; a doubled last byte, a
    // doubled checksum and the closing pair may follow.
    check(frame.size() <= frame_limit + 5);
    // The reader takes the size as the third byte, so a DLE id is not read back;
    // no handset sends one.
    if (id == dle || frame.size() != stuffed_size(id, data)) return;
    check(ends_with_whole_frame(frame));
    const extracted_frame f = extract_frame(frame);
    check(f.status == frame_status::found && f.consumed == frame.size());
    const auto p = open_frame(f.raw);
    check(p && p->id == id && std::ranges::equal(p->data, data));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    ends_with_whole_frame(bytes);
    take_frames(bytes);
    if (!bytes.empty()) round_trip(bytes[0], bytes.subspan(1));
    return 0;
}
