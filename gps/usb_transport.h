// A Garmin handset on USB as the link needs it: one claimed interface with
// a bulk-out, a bulk-in and an interrupt-in endpoint, and transfers that end
// at a time-out. The libusb one is thin; tests put a simulated handset here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wayloom::gps {

// Garmin's USB vendor id.
constexpr std::uint16_t garmin_vendor_id = 0x091E;

struct usb_result {
    enum class outcome { done, timed_out, failed };
    outcome status = outcome::done;
    std::size_t count = 0;  // bytes moved, also before a time-out
    std::string error;      // the system's words when failed
};

class usb_transport {
public:
    virtual ~usb_transport() = default;

    // Opens and claims the Garmin USB device with this index (from 0) among
    // those present; an empty text when it did, else what went wrong in the
    // user's words ("no Garmin USB device found", or the system's reason).
    virtual std::string open(std::size_t index) = 0;
    virtual bool is_open() const = 0;
    virtual void close() = 0;

    virtual usb_result write_bulk(std::span<const std::uint8_t> bytes, int timeout_ms) = 0;
    // A read ends with what one transfer brought: a short packet, possibly
    // of no bytes at all, ends it.
    virtual usb_result read_bulk(std::span<std::uint8_t> into, int timeout_ms) = 0;
    virtual usb_result read_interrupt(std::span<std::uint8_t> into, int timeout_ms) = 0;
};

// Port names: "usb:" is the first Garmin USB device, "usb:N" the N-th.
bool is_usb_port_name(std::string_view name);
// The device index a USB port name stands for; nothing when the name is
// not "usb:" or "usb:N" with N from 1.
std::optional<std::size_t> usb_port_index(std::string_view name);
// The name of the device with this index ("usb:1" for index 0).
std::string usb_port_name(std::size_t index);

} // namespace wayloom::gps
