// A Garmin handset on USB behind the serial device interface, so that the
// packet port and the session above run unchanged: the frames the link
// writes go out as USB application packets, and the packets the handset
// sends come back as frames. USB delivers every packet or fails, so the
// link's acknowledgements are neither sent nor awaited: each packet written
// is answered at once with its acknowledgement frame. A read ends the moment
// a packet is in, never on the serial line's time-outs.
#pragma once

#include "gps/serial_device.h"
#include "gps/usb_packet.h"
#include "gps/usb_transport.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wayloom::gps {

// How long a read waits for a handset that says nothing.
constexpr std::chrono::milliseconds usb_reply_wait{1000};

class garmin_usb : public serial_device {
public:
    explicit garmin_usb(std::unique_ptr<usb_transport> transport);

    // Opens "usb:" or "usb:N" and starts the USB session.
    bool open(const std::string& name) override;
    bool is_open() const override { return transport_->is_open(); }
    // There is no line to set up on USB.
    bool set_queues(std::size_t, std::size_t) override { return is_open(); }
    bool read_line_settings() override { return is_open(); }
    bool apply_line_settings(const line_settings&) override { return is_open(); }
    void set_timeouts(int, int) override {}
    read_result read(std::uint8_t* into, std::size_t max, const enough_test& enough = {}) override;
    long write(const std::uint8_t* bytes, std::size_t count) override;
    void close() override;
    std::string open_failure() const override { return failure_; }
    bool has_line_speed() const override { return false; }

private:
    using clock = std::chrono::steady_clock;
    // The next packet the handset sends, from the interrupt pipe or, after
    // it announced data, the bulk pipe; nothing at the deadline or when the
    // device failed (`error` then set).
    std::optional<usb_packet> next_packet(clock::time_point deadline, int& error);

    std::unique_ptr<usb_transport> transport_;
    std::string failure_;
    std::vector<std::uint8_t> frames_;     // frames ready for the link
    std::vector<std::uint8_t> interrupt_;  // bytes of a packet still coming
    std::vector<std::uint8_t> bulk_;
    bool bulk_mode_ = false;               // the handset announced data on the bulk pipe
};

} // namespace wayloom::gps
