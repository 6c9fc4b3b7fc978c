#include "gps/garmin_usb.h"

#include "gps/frame.h"
#include "source/number_text.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace wayloom::gps {

namespace {

int ms_until(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

// The largest data a frame the link takes can carry.
constexpr std::size_t frame_data_limit = incoming_frame_limit - 6;

} // namespace

bool is_usb_port_name(std::string_view name)
{
    return name.size() >= 4 && (name[0] | 0x20) == 'u' && (name[1] | 0x20) == 's' && (name[2] | 0x20) == 'b' &&
           name[3] == ':';
}

std::optional<std::size_t> usb_port_index(std::string_view name)
{
    if (!is_usb_port_name(name)) return std::nullopt;
    const std::string_view number = name.substr(4);
    if (number.empty()) return 0;
    const auto n = parse_whole_number(number, 1, 1000);
    if (!n) return std::nullopt;
    return static_cast<std::size_t>(*n - 1);
}

std::string usb_port_name(std::size_t index) { return "usb:" + std::to_string(index + 1); }

garmin_usb::garmin_usb(std::unique_ptr<usb_transport> transport) : transport_(std::move(transport)) {}

bool garmin_usb::open(const std::string& name)
{
    close();
    failure_.clear();
    const auto index = usb_port_index(name);
    if (!index) {
        failure_ = name + " names no Garmin USB device: use usb: for the first, usb:N for the N-th";
        return false;
    }
    failure_ = transport_->open(*index);
    if (!failure_.empty()) return false;
    const auto start = encode_usb_packet({usb_protocol_layer, usb_start_session, {}});
    const auto deadline = clock::now() + usb_reply_wait;
    bool started = transport_->write_bulk(start, ms_until(deadline)).status == usb_result::outcome::done;
    int error = 0;
    while (started) {
        const auto p = next_packet(deadline, error);
        if (!p) started = false;
        else if (p->type == usb_protocol_layer && p->id == usb_session_started) break;
    }
    if (!started) {
        failure_ = "the Garmin USB device " + name + " did not start a session";
        close();
    }
    return started;
}

void garmin_usb::close()
{
    transport_->close();
    frames_.clear();
    interrupt_.clear();
    bulk_.clear();
    bulk_mode_ = false;
}

long garmin_usb::write(const std::uint8_t* bytes, std::size_t count)
{
    if (!is_open()) {
        errno = EBADF;
        return -1;
    }
    const extracted_frame frame = extract_frame({bytes, count});
    const auto p = frame.status == frame_status::found ? open_frame(frame.raw) : std::nullopt;
    if (!p) {
        errno = EINVAL;
        return -1;
    }
    if (p->id == ack_id || p->id == nak_id) return static_cast<long>(count);
    const auto sent = transport_->write_bulk(encode_usb_packet({usb_application_layer, p->id, p->data}),
                                             static_cast<int>(usb_reply_wait.count()));
    if (sent.status != usb_result::outcome::done) {
        errno = sent.status == usb_result::outcome::timed_out ? ETIMEDOUT : EIO;
        return -1;
    }
    const std::uint8_t acknowledged[2] = {p->id, 0};
    const auto ack = make_frame(ack_id, acknowledged);
    frames_.insert(frames_.end(), ack.begin(), ack.end());
    return static_cast<long>(count);
}

read_result garmin_usb::read(std::uint8_t* into, std::size_t max, const enough_test&)
{
    read_result r;
    if (!is_open()) {
        r.error = EBADF;
        return r;
    }
    const auto deadline = clock::now() + usb_reply_wait;
    while (frames_.empty()) {
        const auto p = next_packet(deadline, r.error);
        if (!p) return r;
        if (p->type != usb_application_layer) continue;
        // The link frames at most this much data; the record layouts it
        // reads lie at the start of a packet.
        const std::span<const std::uint8_t> data(p->data.data(), std::min(p->data.size(), frame_data_limit));
        frames_ = make_frame(static_cast<std::uint8_t>(p->id), data);
    }
    r.count = std::min(max, frames_.size());
    std::copy_n(frames_.begin(), r.count, into);
    frames_.erase(frames_.begin(), frames_.begin() + static_cast<std::ptrdiff_t>(r.count));
    return r;
}

std::optional<usb_packet> garmin_usb::next_packet(clock::time_point deadline, int& error)
{
    std::array<std::uint8_t, 4096> buffer;
    for (;;) {
        std::vector<std::uint8_t>& gathered = bulk_mode_ ? bulk_ : interrupt_;
        const usb_packet_read got = decode_usb_packet(gathered);
        if (got.status == usb_packet_read::outcome::broken) {
            gathered.clear();  // nothing after a broken header can be trusted to start a packet
        } else if (got.status == usb_packet_read::outcome::whole) {
            gathered.erase(gathered.begin(), gathered.begin() + static_cast<std::ptrdiff_t>(got.consumed));
            if (got.p.type == usb_protocol_layer && got.p.id == usb_data_available) {
                bulk_mode_ = true;
                continue;
            }
            return got.p;
        }
        const int wait = ms_until(deadline);
        if (wait == 0) return std::nullopt;
        const usb_result r = bulk_mode_ ? transport_->read_bulk(buffer, wait)
                                        : transport_->read_interrupt({buffer.data(), usb_interrupt_size}, wait);
        if (r.status == usb_result::outcome::failed) {
            error = EIO;
            return std::nullopt;
        }
        gathered.insert(gathered.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(r.count));
        // A transfer of no bytes on the bulk pipe ends what was announced;
        // so does silence there. The interrupt pipe is read again.
        if (bulk_mode_ && r.count == 0) {
            bulk_mode_ = false;
            bulk_.clear();
            continue;
        }
        if (r.status == usb_result::outcome::timed_out) return std::nullopt;
    }
}

} // namespace wayloom::gps
