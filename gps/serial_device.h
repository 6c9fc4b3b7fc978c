// A serial port as the link needs it: Windows-style line settings and read
// time-outs, behind an interface so tests can script the other end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom::gps {

enum class parity : char { none = 'N', even = 'E', odd = 'O', mark = 'M', space = 'S' };
enum class stop_bits { one, one_and_half, two };

struct line_settings {
    long baud = 9600;
    gps::parity parity = parity::none;
    int data_bits = 8;
    gps::stop_bits stop_bits = stop_bits::one;
};

// Reads "baud=9600 parity=N data=8 stop=1" (keys in any order and case, as
// the Windows call takes them); nothing when the text cannot be read.
std::optional<line_settings> parse_line_settings(std::string_view text);

struct read_result {
    std::size_t count = 0;  // bytes that arrived
    int error = 0;          // non-zero: the port failed (an errno value)
};

class serial_device {
public:
    virtual ~serial_device() = default;

    // Opens the named device for reading and writing, exclusively.
    virtual bool open(const std::string& name) = 0;
    virtual bool is_open() const = 0;
    // The four set-up steps of a Windows port, each reporting success.
    virtual bool set_queues(std::size_t receive, std::size_t transmit) = 0;
    virtual bool read_line_settings() = 0;
    virtual bool apply_line_settings(const line_settings& settings) = 0;
    // Read: ends when `max` bytes arrived, when `total_ms` passed since the
    // call began, or when more than `interval_ms` passed between two bytes;
    // also, when given, as soon as `enough` says so of the bytes this read
    // gathered (asked as each chunk arrives).
    virtual void set_timeouts(int interval_ms, int total_ms) = 0;
    using enough_test = std::function<bool(std::size_t gathered)>;
    virtual read_result read(std::uint8_t* into, std::size_t max, const enough_test& enough = {}) = 0;
    // Bytes written, or -1 with errno set.
    virtual long write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual void close() = 0;
    // Why the last open failed, in the user's words; empty when there is no
    // more to say than that it failed.
    virtual std::string open_failure() const { return {}; }
    // False where there is no line whose speed could change (USB).
    virtual bool has_line_speed() const { return true; }
};

// "COM1" is the first serial device of the system (/dev/ttyS0); any other
// name is a device path.
std::string device_path(std::string_view port_name);

// Serial devices present now: USB and ACM adapters and their by-id names.
std::vector<std::string> present_serial_devices();

} // namespace wayloom::gps
