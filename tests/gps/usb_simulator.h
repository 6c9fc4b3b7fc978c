// The USB transport with the handset simulator's USB unit in-process on
// the other end; a time-out comes at once instead of after its wait.
#pragma once

#include "gps/usb_transport.h"
#include "usb_handset.h"

#include <algorithm>
#include <memory>
#include <string>

namespace wayloom::gps::testing {

struct usb_bench {
    std::unique_ptr<handset::usb_handset> unit;
    std::size_t devices = 1;
    std::string refusal;  // what open says instead of opening
};

class simulated_usb : public usb_transport {
public:
    explicit simulated_usb(usb_bench& bench) : bench_(bench) {}

    std::string open(std::size_t index) override
    {
        if (index >= bench_.devices) return "no Garmin USB device found";
        open_ = bench_.refusal.empty();
        return bench_.refusal;
    }
    bool is_open() const override { return open_; }
    void close() override { open_ = false; }
    usb_result write_bulk(std::span<const std::uint8_t> bytes, int) override
    {
        if (bench_.unit->gone()) return {usb_result::outcome::failed, 0, "No such device"};
        bench_.unit->bulk_out(bytes);
        return {usb_result::outcome::done, bytes.size(), {}};
    }
    usb_result read_bulk(std::span<std::uint8_t> into, int) override { return take(bench_.unit->bulk_in(), into); }
    usb_result read_interrupt(std::span<std::uint8_t> into, int) override
    {
        return take(bench_.unit->interrupt_in(), into);
    }

private:
    usb_result take(const std::optional<std::vector<std::uint8_t>>& got, std::span<std::uint8_t> into) const
    {
        if (bench_.unit->gone()) return {usb_result::outcome::failed, 0, "No such device"};
        if (!got) return {usb_result::outcome::timed_out, 0, {}};
        const std::size_t n = std::min(got->size(), into.size());
        std::copy_n(got->begin(), n, into.begin());
        return {usb_result::outcome::done, n, {}};
    }

    usb_bench& bench_;
    bool open_ = false;
};

} // namespace wayloom::gps::testing
