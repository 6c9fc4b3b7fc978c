// Garmin serial frames as bytes: building one with its checksum and doubled
// DLEs, finding one at the start of received bytes, and opening it into a
// packet. Pure functions over byte spans; offsets are 0-based.
//
// On the wire: DLE, id, size n, n data bytes, checksum, DLE, ETX; every byte
// from the id to the checksum that equals DLE goes out twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace wayloom::gps {

constexpr std::uint8_t dle = 16, etx = 3;
// An outgoing frame after stuffing, and one port read, take at most this.
constexpr std::size_t frame_limit = 261;
// An incoming frame is taken only when its size byte + 6 is at most this.
constexpr std::size_t incoming_frame_limit = 255;

// The link's acknowledgement and its refusal of a spoilt packet.
constexpr std::uint8_t ack_id = 6, nak_id = 21;

struct packet {
    std::uint8_t id = 0;
    std::vector<std::uint8_t> data;
};

// The checksum byte: two's complement of the low byte of id + size + data.
std::uint8_t frame_checksum(std::uint8_t id, std::span<const std::uint8_t> data);

// The frame for a packet, stuffed; data that would take it past frame_limit
// is left out (the checksum still covers all of it).
std::vector<std::uint8_t> make_frame(std::uint8_t id, std::span<const std::uint8_t> data);

enum class frame_status {
    found,         // a frame of size byte + 6 bytes was taken
    cut_off,       // the bytes ended inside the frame: the missing ones read as 0
    unrecognised,  // no DLE first, fewer than 3 bytes, or a size byte + 6 over 255
};

struct extracted_frame {
    frame_status status = frame_status::unrecognised;
    std::size_t consumed = 0;       // received bytes the frame took, doubled DLEs included
    std::vector<std::uint8_t> raw;  // the frame with doubled DLEs made single
};

// The frame at the start of `received`. The size byte is taken as it lies
// (third byte); a DLE among id .. checksum skips the byte after it unseen;
// the closing DLE ETX are copied without being checked.
extracted_frame extract_frame(std::span<const std::uint8_t> received);

// The packet in an extracted frame, or nothing when the checksum does not match.
std::optional<packet> open_frame(std::span<const std::uint8_t> raw);

// True when `received` holds whole frames only, the last one ending at the
// last byte: a reply is then complete and no more bytes are coming for it.
bool ends_with_whole_frame(std::span<const std::uint8_t> received);

} // namespace wayloom::gps
