#include "usb_handset.h"

#include <algorithm>

namespace handset {

namespace {

constexpr std::size_t header_size = 12, interrupt_size = 64;

std::vector<std::uint8_t> usb_bytes(std::uint8_t type, std::uint16_t id, std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> out(header_size, 0);
    out[0] = type;
    out[4] = static_cast<std::uint8_t>(id);
    out[5] = static_cast<std::uint8_t>(id >> 8);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) out[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

options on_usb(options o)
{
    o.usb = true;
    o.ack_wait = std::chrono::milliseconds(0);
    return o;
}

} // namespace

usb_handset::usb_handset(options o, std::vector<waypoint> waypoints)
    : session_(on_usb(std::move(o)), std::move(waypoints), [this](const std::vector<std::uint8_t>& bytes) {
          for (auto& frame : replies_reader_.feed(bytes))
              if (frame.checksum_ok) replies_.push_back(std::move(frame.p));
      })
{
}

void usb_handset::bulk_out(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < header_size) return;
    const std::uint32_t size = bytes[8] | bytes[9] << 8 | bytes[10] << 16 | static_cast<std::uint32_t>(bytes[11]) << 24;
    if (bytes.size() != header_size + size) return;
    const std::uint16_t id = static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8);
    if (bytes[0] == usb_protocol_layer && id == usb_start_session) {
        const std::uint8_t unit[4] = {static_cast<std::uint8_t>(usb_unit_id), static_cast<std::uint8_t>(usb_unit_id >> 8),
                                      static_cast<std::uint8_t>(usb_unit_id >> 16),
                                      static_cast<std::uint8_t>(usb_unit_id >> 24)};
        const auto started = usb_bytes(usb_protocol_layer, usb_session_started, unit);
        interrupt_.insert(interrupt_.end(), started.begin(), started.end());
    } else if (bytes[0] == usb_application_layer && id < 256) {
        session_.receive(encode({static_cast<std::uint8_t>(id), {bytes.begin() + header_size, bytes.end()}}));
    }
}

std::optional<std::vector<std::uint8_t>> usb_handset::interrupt_in()
{
    if (interrupt_.empty() && !announced_) {
        if (replies_.empty()) session_.tick();
        if (!replies_.empty()) {
            const packet& next = replies_.front();
            if (next.id == pid::product_data || next.id == pid::protocol_array) {
                interrupt_ = usb_bytes(usb_application_layer, next.id, next.data);
                replies_.pop_front();
            } else {
                interrupt_ = usb_bytes(usb_protocol_layer, usb_data_available, {});
                announced_ = true;
            }
        }
    }
    if (interrupt_.empty()) return std::nullopt;
    const std::size_t n = std::min(interrupt_.size(), interrupt_size);
    std::vector<std::uint8_t> out(interrupt_.begin(), interrupt_.begin() + static_cast<std::ptrdiff_t>(n));
    interrupt_.erase(interrupt_.begin(), interrupt_.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

std::optional<std::vector<std::uint8_t>> usb_handset::bulk_in()
{
    if (!announced_) return std::nullopt;
    if (replies_.empty()) session_.tick();
    if (replies_.empty()) {
        announced_ = false;
        return std::vector<std::uint8_t>{};
    }
    const packet next = std::move(replies_.front());
    replies_.pop_front();
    return usb_bytes(usb_application_layer, next.id, next.data);
}

} // namespace handset
