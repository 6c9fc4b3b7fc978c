#include "gps/usb_libusb.h"

#include <libusb.h>

#include <algorithm>
#include <optional>

namespace wayloom::gps {

namespace {

struct garmin_interface {
    int number = -1;
    std::uint8_t bulk_in = 0, bulk_out = 0, interrupt_in = 0;
};

// The interface a Garmin handset talks on, if `device` is one.
std::optional<garmin_interface> garmin_interface_of(libusb_device* device)
{
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != 0 || descriptor.idVendor != garmin_vendor_id)
        return std::nullopt;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 && libusb_get_config_descriptor(device, 0, &config) != 0)
        return std::nullopt;
    std::optional<garmin_interface> found;
    for (int i = 0; i < config->bNumInterfaces && !found; ++i) {
        if (config->interface[i].num_altsetting < 1) continue;
        const libusb_interface_descriptor& setting = config->interface[i].altsetting[0];
        garmin_interface g;
        g.number = setting.bInterfaceNumber;
        for (int e = 0; e < setting.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& end = setting.endpoint[e];
            const int kind = end.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
            const bool in = (end.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
            if (kind == LIBUSB_TRANSFER_TYPE_BULK) (in ? g.bulk_in : g.bulk_out) = end.bEndpointAddress;
            if (kind == LIBUSB_TRANSFER_TYPE_INTERRUPT && in) g.interrupt_in = end.bEndpointAddress;
        }
        if (g.bulk_in && g.bulk_out && g.interrupt_in) found = g;
    }
    libusb_free_config_descriptor(config);
    return found;
}

// Every Garmin handset on the buses, in the order libusb lists them.
std::vector<std::pair<libusb_device*, garmin_interface>> garmin_devices(libusb_device** list, ssize_t count)
{
    std::vector<std::pair<libusb_device*, garmin_interface>> found;
    for (ssize_t i = 0; i < count; ++i)
        if (const auto g = garmin_interface_of(list[i])) found.emplace_back(list[i], *g);
    return found;
}

usb_result transferred(int status, int count)
{
    usb_result r;
    r.count = static_cast<std::size_t>(std::max(0, count));
    if (status == LIBUSB_ERROR_TIMEOUT) r.status = usb_result::outcome::timed_out;
    else if (status != 0) r.status = usb_result::outcome::failed, r.error = libusb_strerror(status);
    return r;
}

} // namespace

libusb_transport::~libusb_transport()
{
    close();
    if (context_) libusb_exit(context_);
}

std::string libusb_transport::open(std::size_t index)
{
    close();
    const std::string not_found = "no Garmin USB device found";
    if (!context_ && libusb_init(&context_) != 0) {
        context_ = nullptr;
        return not_found;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) return not_found;
    const auto devices = garmin_devices(list, count);
    std::string failure;
    if (index >= devices.size()) {
        failure = not_found;
    } else {
        const std::string name = usb_port_name(index);
        const auto& [device, found] = devices[index];
        libusb_device_handle* handle = nullptr;
        if (const int opened = libusb_open(device, &handle); opened != 0) {
            failure = "cannot open the Garmin USB device " + name + ": " + libusb_strerror(opened);
            if (opened == LIBUSB_ERROR_ACCESS)
                failure += "; a udev rule must let you use it: install 60-wayloom-garmin.rules as the README "
                           "says and plug the handset in again";
        } else {
            // A kernel driver that took the handset as a serial port lets go of it while we use it.
            libusb_set_auto_detach_kernel_driver(handle, 1);
            if (const int claimed = libusb_claim_interface(handle, found.number); claimed != 0) {
                failure = "cannot use the Garmin USB device " + name + ": " + libusb_strerror(claimed);
                libusb_close(handle);
            } else {
                handle_ = handle;
                interface_ = found.number;
                bulk_in_ = found.bulk_in;
                bulk_out_ = found.bulk_out;
                interrupt_in_ = found.interrupt_in;
            }
        }
    }
    libusb_free_device_list(list, 1);
    return failure;
}

void libusb_transport::close()
{
    if (!handle_) return;
    libusb_release_interface(handle_, interface_);
    libusb_close(handle_);
    handle_ = nullptr;
}

// libusb takes a time-out of 0 as none at all: the shortest wait is 1 ms.
usb_result libusb_transport::write_bulk(std::span<const std::uint8_t> bytes, int timeout_ms)
{
    int count = 0;
    const int status = libusb_bulk_transfer(handle_, bulk_out_, const_cast<unsigned char*>(bytes.data()),
                                            static_cast<int>(bytes.size()), &count, std::max(1, timeout_ms));
    return transferred(status, count);
}

usb_result libusb_transport::read_bulk(std::span<std::uint8_t> into, int timeout_ms)
{
    int count = 0;
    const int status = libusb_bulk_transfer(handle_, bulk_in_, into.data(), static_cast<int>(into.size()), &count,
                                            std::max(1, timeout_ms));
    return transferred(status, count);
}

usb_result libusb_transport::read_interrupt(std::span<std::uint8_t> into, int timeout_ms)
{
    int count = 0;
    const int status = libusb_interrupt_transfer(handle_, interrupt_in_, into.data(), static_cast<int>(into.size()),
                                                 &count, std::max(1, timeout_ms));
    return transferred(status, count);
}

std::vector<std::string> present_garmin_usb_devices()
{
    std::vector<std::string> names;
    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0) return names;
    libusb_device** list = nullptr;
    if (const ssize_t count = libusb_get_device_list(context, &list); count >= 0) {
        for (std::size_t i = 0; i < garmin_devices(list, count).size(); ++i) names.push_back(usb_port_name(i));
        libusb_free_device_list(list, 1);
    }
    libusb_exit(context);
    return names;
}

} // namespace wayloom::gps
