// The Garmin USB transport on libusb-1.0: finds Garmin devices (vendor
// 0x091E with a bulk-out, a bulk-in and an interrupt-in endpoint on one
// interface), opens and claims one, and moves bytes with time-outs. Nothing
// else: packets and sessions are garmin_usb's.
#pragma once

#include "gps/usb_transport.h"

#include <cstdint>
#include <string>
#include <vector>

struct libusb_context;
struct libusb_device_handle;

namespace wayloom::gps {

class libusb_transport : public usb_transport {
public:
    libusb_transport() = default;
    ~libusb_transport() override;
    libusb_transport(const libusb_transport&) = delete;
    libusb_transport& operator=(const libusb_transport&) = delete;

    std::string open(std::size_t index) override;
    bool is_open() const override { return handle_ != nullptr; }
    void close() override;
    usb_result write_bulk(std::span<const std::uint8_t> bytes, int timeout_ms) override;
    usb_result read_bulk(std::span<std::uint8_t> into, int timeout_ms) override;
    usb_result read_interrupt(std::span<std::uint8_t> into, int timeout_ms) override;

private:
    libusb_context* context_ = nullptr;
    libusb_device_handle* handle_ = nullptr;
    int interface_ = -1;
    std::uint8_t bulk_in_ = 0, bulk_out_ = 0, interrupt_in_ = 0;
};

// The port names of the Garmin USB devices present now: "usb:1", "usb:2" ...
std::vector<std::string> present_garmin_usb_devices();

} // namespace wayloom::gps
