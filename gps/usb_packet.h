// Garmin USB packets: a 12-byte header (packet type, three reserved bytes,
// a 16-bit packet id, two reserved bytes, a 32-bit data size, all
// little-endian) and the data. The USB protocol layer's own packets start a
// session and announce data on the bulk pipe; the application layer carries
// the same packets as the serial line, without its framing or its
// acknowledgements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace wayloom::gps {

constexpr std::size_t usb_header_size = 12;
// Packet types.
constexpr std::uint8_t usb_protocol_layer = 0, usb_application_layer = 20;
// Packet ids of the USB protocol layer.
constexpr std::uint16_t usb_data_available = 2, usb_start_session = 5, usb_session_started = 6;
// The interrupt-in endpoint moves at most this many bytes a transaction.
constexpr std::size_t usb_interrupt_size = 64;
// A larger data size is taken for a broken header, not waited for.
constexpr std::uint32_t usb_data_limit = 65536;

struct usb_packet {
    std::uint8_t type = usb_application_layer;
    std::uint16_t id = 0;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> encode_usb_packet(const usb_packet& p);

struct usb_packet_read {
    enum class outcome { whole, need_more, broken };
    outcome status = outcome::need_more;
    std::size_t consumed = 0;  // bytes the packet took, when whole
    usb_packet p;
};
// The packet at the start of `bytes`.
usb_packet_read decode_usb_packet(std::span<const std::uint8_t> bytes);

} // namespace wayloom::gps
