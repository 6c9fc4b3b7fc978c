// The handset on USB: the same session, its packets carried in Garmin USB
// packets (a 12-byte header: packet type, three reserved bytes, a 16-bit
// id, two reserved bytes, a 32-bit data size) on three pipes. The host
// writes on bulk out. The handset answers the start of a session and sends
// its product data and protocol array on interrupt in, at most 64 bytes a
// transaction; anything else it announces there ("data available") and
// sends on bulk in, one packet a transfer, ending with a transfer of no
// bytes. USB delivers or fails, so no acknowledgement is sent or awaited,
// and a record spoilt by the faults is lost instead.
#pragma once

#include "handset.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace handset {

constexpr std::uint8_t usb_protocol_layer = 0, usb_application_layer = 20;
constexpr std::uint16_t usb_data_available = 2, usb_start_session = 5, usb_session_started = 6;
constexpr std::uint32_t usb_unit_id = 0x3A61E0F5;

class usb_handset {
public:
    usb_handset(options o, std::vector<waypoint> waypoints);

    // One transfer from the host on bulk out.
    void bulk_out(std::span<const std::uint8_t> bytes);
    // One transfer to the host; nothing when the pipe has nothing to send
    // (the host's read times out). A bulk transfer may hold no bytes.
    std::optional<std::vector<std::uint8_t>> interrupt_in();
    std::optional<std::vector<std::uint8_t>> bulk_in();
    // The handset was unplugged: every transfer fails.
    bool gone() const { return session_.hung_up(); }

    session& handset() { return session_; }

private:
    session session_;
    frame_reader replies_reader_;
    std::deque<packet> replies_;        // from the session, not yet on a pipe
    std::vector<std::uint8_t> interrupt_;  // bytes still to go on interrupt in
    bool announced_ = false;            // data announced and not yet ended
};

} // namespace handset
