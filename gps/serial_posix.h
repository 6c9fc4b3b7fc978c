// The serial port on a POSIX terminal device (termios and poll).
#pragma once

#include "gps/serial_device.h"

#include <termios.h>

namespace wayloom::gps {

class posix_serial : public serial_device {
public:
    ~posix_serial() override { close(); }

    bool open(const std::string& name) override;
    bool is_open() const override { return fd_ >= 0; }
    bool set_queues(std::size_t receive, std::size_t transmit) override;
    bool read_line_settings() override;
    bool apply_line_settings(const line_settings& settings) override;
    void set_timeouts(int interval_ms, int total_ms) override;
    read_result read(std::uint8_t* into, std::size_t max, const enough_test& enough = {}) override;
    long write(const std::uint8_t* bytes, std::size_t count) override;
    void close() override;

private:
    int fd_ = -1;
    termios settings_{};
    int interval_ms_ = 100;
    int total_ms_ = 1000;
};

} // namespace wayloom::gps
