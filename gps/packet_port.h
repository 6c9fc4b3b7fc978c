// The serial port as the link uses it: opened with the window's texts, a
// receive buffer, and Garmin packets in and out with their acknowledgements.
// Every step is logged; every port read blocks for the port's time-outs.
#pragma once

#include "gps/frame.h"
#include "gps/link_log.h"
#include "gps/serial_device.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wayloom::gps {

// The texts of the GPS window's port controls.
struct port_texts {
    std::string port = "COM1";
    std::string speed = "9600";
    std::string data_bits = "8";
    std::string parity = "N";
    std::string stop_bits = "1";
    std::string timeout = "100";
    std::string interval = "10";
    // A faster line speed for transfers, or any text that is not a number
    // ("Same as port") for none.
    std::string transfer_speed = "Same as port";
};

class packet_port {
public:
    static constexpr std::size_t input_size = 16384;

    packet_port(std::unique_ptr<serial_device> device, link_log& log);

    // With the GPS disabled nothing is opened, sent or read, and sending succeeds.
    void set_enabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }
    // End a port read as soon as the bytes gathered end with a whole frame
    // instead of waiting for a read that brings nothing.
    void set_early_frame_end(bool on) { early_frame_end_ = on; }
    // Why the last open failed, when the device says more than that it did.
    std::string open_failure() const { return device_->open_failure(); }
    // False on a link without a line to set (USB).
    bool has_line_speed() const { return device_->has_line_speed(); }

    // Opens the port with the texts' line settings and time-outs ("connecting
    // ..." and the failing step logged); false leaves a port that opened open.
    bool open(const port_texts& texts);
    // `open` unless the GPS is disabled; reads and writes wait for it.
    bool set_up(const port_texts& texts);
    void close();
    bool opened() const { return opened_; }
    // The line's speed now, and a change of it on an open port.
    long speed() const { return line_.baud; }
    bool set_speed(long baud);

    // Drops whatever was received and not yet taken.
    void clear();
    bool write(std::span<const std::uint8_t> frame);
    // Reads until a port read brings nothing (or a whole frame is in); the
    // bytes received, 0 after a port error (which closes the port).
    std::size_t read_port();

    bool send_packet(std::uint8_t id, std::span<const std::uint8_t> data = {});
    // The next valid packet: from what is buffered, else from one port read.
    // Nothing on a time-out, a bad frame, a bad checksum or a packet id 0.
    // A timed read also notes when no frame came at all (see nothing_came).
    std::optional<packet> read_packet(bool timed = false);
    bool nothing_came() const { return no_data_; }
    // The id of the whole frame the last read_packet refused for its
    // checksum; nothing when it refused none.
    std::optional<std::uint8_t> spoilt_id() const { return spoilt_id_; }
    void expect_data() { no_data_ = false; }

    bool get_ack(std::uint8_t id);
    // send_packet, then get_ack of its id.
    bool send_acknowledged(std::uint8_t id, std::span<const std::uint8_t> data = {});
    // Acknowledges `id` if anything arrived since the last acknowledgement.
    void send_ack(std::uint8_t id);
    // Asks for packet `id` again.
    void send_nak(std::uint8_t id);

private:
    struct frame_read {
        bool port_ready = true;
        std::size_t count = 0;  // buffer bytes the frame took; 0: none found
        extracted_frame frame;
    };
    frame_read read();
    bool take_frame(frame_read& into);

    std::unique_ptr<serial_device> device_;
    link_log& log_;
    std::string port_name_;
    line_settings line_;
    bool enabled_ = true, early_frame_end_ = true;
    bool opened_ = false, ready_ = false;
    std::vector<std::uint8_t> input_ = std::vector<std::uint8_t>(input_size);
    std::size_t write_at_ = 0, scan_at_ = 0, buffered_ = 0;
    bool ack_pending_ = false;
    bool no_data_ = false;
    std::optional<std::uint8_t> spoilt_id_;
};

} // namespace wayloom::gps
