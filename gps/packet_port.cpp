#include "gps/packet_port.h"

#include "source/number_text.h"

#include <algorithm>
#include <cerrno>
#include <limits>

namespace wayloom::gps {

namespace {

// Integer value of a text, or `fallback` when the text is not an integer.
int integer_or(std::string_view text, int fallback)
{
    const auto value = parse_whole_number(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return value ? static_cast<int>(*value) : fallback;
}

} // namespace

packet_port::packet_port(std::unique_ptr<serial_device> device, link_log& log)
    : device_(std::move(device)), log_(log)
{
}

bool packet_port::open(const port_texts& texts)
{
    log_.line(">>open");
    port_name_ = texts.port;
    const int timeout_ms = integer_or(texts.timeout, 1000);
    const int interval_ms = integer_or(texts.interval, 100);
    if (texts.parity.empty()) {
        // No first character: the settings string cannot be built.
        log_.line("<<");
        return false;
    }
    const std::string settings = "baud=" + texts.speed + " parity=" + texts.parity.substr(0, 1) +
                                 " data=" + texts.data_bits + " stop=" + texts.stop_bits;
    log_.line("connecting to serial port : " + port_name_ + " " + settings + " : " + texts.timeout + " " +
              texts.interval);
    if (opened_) {
        log_.line("closing previous session");
        close();
    }
    if (!device_->open(port_name_)) {
        if (const std::string why = device_->open_failure(); !why.empty()) log_.line(why);
        log_.line("<<");
        return false;
    }
    opened_ = true;
    std::string message;
    const auto parsed = parse_line_settings(settings);
    if (!device_->set_queues(4096, 4096))
        message = "setupcom failed";
    else if (!device_->read_line_settings())
        message = "getcommstate failed";
    else if (!parsed)
        message = "buildcommdcb failed";
    else if (!device_->apply_line_settings(*parsed))
        message = "setcomstate failed";
    const bool ok = message.empty();
    if (ok) {
        line_ = *parsed;
        device_->set_timeouts(interval_ms, timeout_ms);
        message = port_name_ + " : opened";
    }
    log_.line(message);
    log_.line("<<");
    return ok;
}

bool packet_port::set_up(const port_texts& texts)
{
    if (!enabled_) return true;
    if (!open(texts)) return false;
    ready_ = true;
    return true;
}

bool packet_port::set_speed(long baud)
{
    line_settings changed = line_;
    changed.baud = baud;
    if (!device_->apply_line_settings(changed)) {
        log_.line("port speed refused : " + std::to_string(baud));
        return false;
    }
    line_ = changed;
    log_.line("port speed : " + std::to_string(baud));
    return true;
}

void packet_port::close()
{
    device_->close();
    opened_ = false;
    log_.line(port_name_ + " : closed");
}

void packet_port::clear()
{
    log_.line(">>clear_port");
    write_at_ = scan_at_ = buffered_ = 0;
    log_.line("<<");
}

bool packet_port::write(std::span<const std::uint8_t> frame)
{
    log_.line(">>write");
    bool ok = true;
    if (!enabled_) {
        ok = true;
    } else if (!ready_) {
        log_.line("fail : port not opened");
        ok = false;
    } else {
        const long written = device_->write(frame.data(), frame.size());
        if (written < 0) {
            log_.line("write failed : " + std::to_string(errno));
            ok = false;
        } else if (static_cast<std::size_t>(written) < frame.size()) {
            log_.line("bytes to send : " + std::to_string(frame.size()));
            log_.line("bytes written : " + std::to_string(written));
            ok = false;
        } else {
            log_.line("write : " + std::to_string(frame.size()) + " bytes");
        }
    }
    log_.line("<<");
    return ok;
}

std::size_t packet_port::read_port()
{
    std::size_t total = 0;
    int error = 0;
    // Never past the end of the buffer: a full buffer ends the read.
    while (write_at_ < input_size) {
        const std::size_t room = input_size - write_at_;
        // The read ends the moment the bytes gathered end with a whole frame.
        const auto whole = [&](std::size_t gathered) {
            return ends_with_whole_frame({input_.data(), write_at_ + gathered});
        };
        const read_result r = device_->read(input_.data() + write_at_, std::min(frame_limit, room),
                                            early_frame_end_ ? serial_device::enough_test(whole) : nullptr);
        write_at_ += r.count;
        total += r.count;
        if (r.error != 0) {
            error = r.error;
            break;
        }
        if (r.count == 0) break;
        if (early_frame_end_ && whole(0)) break;
    }
    if (error != 0) {
        log_.line("read : error : " + std::to_string(error));
        close();
        write_at_ = 0;
        return 0;
    }
    if (total > 0) ack_pending_ = true;
    log_.line("read : " + std::to_string(total) + " : bytes");
    return total;
}

bool packet_port::send_packet(std::uint8_t id, std::span<const std::uint8_t> data)
{
    buffered_ = 0;
    write_at_ = 0;
    return write(make_frame(id, data));
}

bool packet_port::take_frame(frame_read& into)
{
    into.frame = extract_frame({input_.data() + scan_at_, buffered_});
    if (into.frame.status == frame_status::unrecognised) {
        into.count = 0;
        log_.line("fail : unrecognised packet format");
        return false;
    }
    buffered_ -= into.frame.consumed;
    scan_at_ += into.frame.consumed;
    into.count = into.frame.consumed;
    return true;
}

packet_port::frame_read packet_port::read()
{
    log_.line(">>read");
    frame_read got;
    if (!ready_) {
        if (enabled_) {
            log_.line("fail : port not opened");
            got.port_ready = false;
        }
    } else if (enabled_) {
        for (;;) {
            if (buffered_ == 0) {
                // The buffer starts over; the bytes land from its start.
                write_at_ = scan_at_ = 0;
                buffered_ = read_port();
                if (buffered_ > 0 && !take_frame(got)) log_.line("fail : failed to read packet");
                break;
            }
            if (buffered_ >= 6 && take_frame(got)) {
                log_.line("Read : " + std::to_string(got.count) + " : bytes");
                break;
            }
            // Fewer than a frame's bytes, or no frame at their start: dropped.
            buffered_ = 0;
            write_at_ = 0;
        }
    }
    log_.line("<<");
    return got;
}

std::optional<packet> packet_port::read_packet(bool timed)
{
    spoilt_id_.reset();
    const frame_read got = read();
    if (timed && got.count == 0) no_data_ = true;
    if (!got.port_ready || got.count == 0 || got.frame.status != frame_status::found) return std::nullopt;
    auto p = open_frame(got.frame.raw);
    if (!p) spoilt_id_ = got.frame.raw[1];
    if (!p || p->id == 0) return std::nullopt;
    return p;
}

bool packet_port::get_ack(std::uint8_t id)
{
    const auto got = read_packet();
    if (!got || got->id != ack_id) {
        log_.line("no ack");
        return false;
    }
    const int acknowledged = got->data.empty() ? 0 : got->data[0];
    if (acknowledged == id && !got->data.empty()) {
        log_.line("ack received");
        return true;
    }
    log_.line("ack id mismatch : " + std::to_string(acknowledged) + "<>" + std::to_string(id));
    return false;
}

bool packet_port::send_acknowledged(std::uint8_t id, std::span<const std::uint8_t> data)
{
    return send_packet(id, data) && get_ack(id);
}

void packet_port::send_ack(std::uint8_t id)
{
    if (!ack_pending_) return;
    log_.line("sending ack");
    const std::uint8_t data[2] = {id, 0};
    send_packet(ack_id, data);
    ack_pending_ = false;
}

void packet_port::send_nak(std::uint8_t id)
{
    log_.line("sending nak");
    const std::uint8_t data[2] = {id, 0};
    send_packet(nak_id, data);
    ack_pending_ = false;
}

} // namespace wayloom::gps
