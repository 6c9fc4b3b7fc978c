// Garmin serial frames as a handset sends and receives them:
// DLE id size data checksum DLE ETX, with every DLE between the ends doubled.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace handset {

constexpr std::uint8_t dle = 16;
constexpr std::uint8_t etx = 3;

struct packet {
    std::uint8_t id = 0;
    std::vector<std::uint8_t> data;
};

// Two's complement of the low byte of id + size + data.
std::uint8_t checksum_of(std::uint8_t id, std::span<const std::uint8_t> data);

// The bytes on the wire; `corrupt` spoils the checksum on purpose.
std::vector<std::uint8_t> encode(const packet& p, bool corrupt = false);

// Finds frames in a byte stream fed in any pieces.
class frame_reader {
public:
    struct result {
        packet p;
        bool checksum_ok = true;
    };
    // Feeds bytes; returns every frame they completed, in order.
    std::vector<result> feed(std::span<const std::uint8_t> bytes);

private:
    enum class state { idle, body, after_dle };
    state state_ = state::idle;
    std::vector<std::uint8_t> body_;  // id, size, data, checksum, unstuffed
};

} // namespace handset
