#include "gps/system_port.h"

#include "gps/garmin_usb.h"
#include "gps/serial_posix.h"
#include "gps/usb_libusb.h"

namespace wayloom::gps {

port_by_name::port_by_name(std::unique_ptr<serial_device> serial, std::unique_ptr<serial_device> usb)
    : serial_(std::move(serial)), usb_(std::move(usb)), active_(serial_.get())
{
}

bool port_by_name::open(const std::string& name)
{
    active_->close();
    active_ = is_usb_port_name(name) ? usb_.get() : serial_.get();
    return active_->open(name);
}

void port_by_name::set_timeouts(int interval_ms, int total_ms)
{
    // Both keep them: the serial line's are its own, USB ignores them.
    serial_->set_timeouts(interval_ms, total_ms);
    usb_->set_timeouts(interval_ms, total_ms);
}

std::unique_ptr<serial_device> system_port()
{
    return std::make_unique<port_by_name>(std::make_unique<posix_serial>(),
                                          std::make_unique<garmin_usb>(std::make_unique<libusb_transport>()));
}

} // namespace wayloom::gps
