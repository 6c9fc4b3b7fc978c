#include "gps/usb_packet.h"

namespace wayloom::gps {

namespace {

void put_le(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t get_le(std::span<const std::uint8_t> in, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(in[at + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

} // namespace

std::vector<std::uint8_t> encode_usb_packet(const usb_packet& p)
{
    std::vector<std::uint8_t> out(usb_header_size, 0);
    out[0] = p.type;
    put_le(out, 4, p.id, 2);
    put_le(out, 8, static_cast<std::uint32_t>(p.data.size()), 4);
    out.insert(out.end(), p.data.begin(), p.data.end());
    return out;
}

usb_packet_read decode_usb_packet(std::span<const std::uint8_t> bytes)
{
    usb_packet_read r;
    if (bytes.size() < usb_header_size) return r;
    const std::uint32_t size = get_le(bytes, 8, 4);
    if (size > usb_data_limit) {
        r.status = usb_packet_read::outcome::broken;
        return r;
    }
    if (bytes.size() < usb_header_size + size) return r;
    r.status = usb_packet_read::outcome::whole;
    r.consumed = usb_header_size + size;
    r.p.type = bytes[0];
    r.p.id = static_cast<std::uint16_t>(get_le(bytes, 4, 2));
    r.p.data.assign(bytes.begin() + usb_header_size, bytes.begin() + static_cast<std::ptrdiff_t>(r.consumed));
    return r;
}

} // namespace wayloom::gps
