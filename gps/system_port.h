// The port a name asks for, chosen again at every open: "usb:" and "usb:N"
// are Garmin handsets on USB, any other name is a serial device.
#pragma once

#include "gps/serial_device.h"

#include <memory>

namespace wayloom::gps {

class port_by_name : public serial_device {
public:
    port_by_name(std::unique_ptr<serial_device> serial, std::unique_ptr<serial_device> usb);

    bool open(const std::string& name) override;
    bool is_open() const override { return active_->is_open(); }
    bool set_queues(std::size_t receive, std::size_t transmit) override { return active_->set_queues(receive, transmit); }
    bool read_line_settings() override { return active_->read_line_settings(); }
    bool apply_line_settings(const line_settings& settings) override { return active_->apply_line_settings(settings); }
    void set_timeouts(int interval_ms, int total_ms) override;
    read_result read(std::uint8_t* into, std::size_t max, const enough_test& enough = {}) override
    {
        return active_->read(into, max, enough);
    }
    long write(const std::uint8_t* bytes, std::size_t count) override { return active_->write(bytes, count); }
    void close() override { active_->close(); }
    std::string open_failure() const override { return active_->open_failure(); }
    bool has_line_speed() const override { return active_->has_line_speed(); }

private:
    std::unique_ptr<serial_device> serial_, usb_;
    serial_device* active_;
};

// The system's serial devices and Garmin USB handsets.
std::unique_ptr<serial_device> system_port();

} // namespace wayloom::gps
