// Packets framed by hand from the link's rules: DLE (16) doubled wherever
// it stands, in the id, the size, the data or the checksum, and the
// checksum the two's complement of the sum of id, size and data. The
// program's framing and the simulator's are each held to them.
#pragma once

#include <cstdint>
#include <vector>

namespace wayloom::testing {

struct worked_frame {
    const char* name;
    std::uint8_t id;
    std::vector<std::uint8_t> data, wire;
};

inline std::vector<worked_frame> worked_frames()
{
    std::vector<std::uint8_t> size_16{16, 1, 16, 16};
    size_16.insert(size_16.end(), 16, 0);
    size_16.insert(size_16.end(), {239, 16, 3});
    return {
        {"product request", 254, {}, {16, 254, 0, 2, 16, 3}},
        {"ack of 255", 6, {255, 0}, {16, 6, 2, 255, 0, 249, 16, 3}},
        {"waypoint command", 10, {7, 0}, {16, 10, 2, 7, 0, 237, 16, 3}},
        {"data byte 16 doubled, size counts it once", 35, {16, 1}, {16, 35, 2, 16, 16, 1, 202, 16, 3}},
        // 10 + 2 + 228 = 240, whose complement is 16.
        {"checksum of 16 doubled", 10, {228, 0}, {16, 10, 2, 228, 0, 16, 16, 16, 3}},
        {"id 16 doubled", 16, {}, {16, 16, 16, 0, 240, 16, 3}},
        {"size 16 doubled", 1, std::vector<std::uint8_t>(16, 0), size_16},
    };
}

} // namespace wayloom::testing
