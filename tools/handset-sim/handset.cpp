#include "handset.h"

#include <thread>
#include <utility>

namespace handset {

session::session(options o, std::vector<waypoint> waypoints, sender send, holdings held)
    : options_(std::move(o)), waypoints_(std::move(waypoints)), held_(std::move(held)), send_(std::move(send))
{
}

std::vector<packet> track_records(const options& o, const std::vector<track>& tracks)
{
    std::vector<packet> out;
    std::uint32_t seconds = 1'000'000'000;  // a time in 2021, two seconds a point
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        if (o.track_protocol != 300)
            out.push_back({pid::track_header, encode_track_header(tracks[t], static_cast<int>(t), o.track_header)});
        for (std::size_t i = 0; i < tracks[t].points.size(); ++i, seconds += 2)
            out.push_back({pid::track_data, encode_track_point(tracks[t].points[i], o.track_layout, i == 0, seconds)});
    }
    return out;
}

std::vector<packet> route_records(const options& o, const std::vector<route>& routes)
{
    std::vector<packet> out;
    for (const route& r : routes) {
        out.push_back({pid::route_header, encode_route_header(r, o.route_header)});
        for (std::size_t i = 0; i < r.waypoints.size(); ++i) {
            if (i > 0 && o.route_protocol == 201) out.push_back({pid::route_link, encode_route_link()});
            out.push_back({pid::route_waypoint, encode_waypoint(r.waypoints[i], o.layout)});
        }
    }
    return out;
}

void session::receive(std::span<const std::uint8_t> bytes)
{
    for (const auto& frame : reader_.feed(bytes)) {
        if (!frame.checksum_ok) {
            // A spoilt frame is refused, as a handset does, so the host may resend.
            send({pid::nak, {frame.p.id, 0}});
            continue;
        }
        handle(frame.p);
    }
}

void session::send(const packet& p, bool corrupt)
{
    // The wait for the host's ACK starts once the packet has crossed the
    // line: on a slow line it takes longer to send than the wait lasts.
    ack_deadline_ = std::chrono::steady_clock::now() + options_.ack_wait;
    if (options_.usb && (p.id == pid::ack || p.id == pid::nak)) return;  // USB delivers or fails
    if (options_.silent_after > 0 && sent_packets_ >= options_.silent_after) return;
    ++sent_packets_;
    if (p.id != pid::ack && p.id != pid::nak) {
        last_sent_ = p;
        last_record_ = 0;
    }
    const auto bytes = encode(p, corrupt);
    if (options_.baud <= 0) {
        send_(bytes);
    } else {
        // A line carries ten bits a byte (start, eight data bits, stop): the
        // host sees each byte only when it has crossed.
        const auto per_byte = std::chrono::nanoseconds(10'000'000'000LL / options_.baud);
        auto due = std::chrono::steady_clock::now();
        for (const std::uint8_t b : bytes) {
            due += per_byte;
            std::this_thread::sleep_until(due);
            send_({b});
        }
    }
    ack_deadline_ = std::chrono::steady_clock::now() + options_.ack_wait;
}

void session::handle(const packet& p)
{
    if (p.id == pid::ack) {
        if (awaiting_ack_ && !p.data.empty() && p.data[0] == awaited_id_) {
            awaiting_ack_ = false;
            after_ack();
        }
        return;
    }
    if (p.id == pid::nak) {
        if (last_record_ > 0) {
            send_record(last_record_);
        } else if (!last_sent_.data.empty() || last_sent_.id != 0) {
            send(last_sent_);
        }
        return;
    }

    ++host_packets_;
    if (options_.nak == host_packets_) {
        send({pid::nak, {p.id, 0}});
        return;
    }
    if (options_.no_ack != host_packets_) send({pid::ack, {p.id, 0}});
    // Anything the host sends while a packet waits for its ACK means the host
    // has moved on; a speed answered is then in force.
    if (pending_speed_ > 0) take_pending_speed();
    awaiting_ack_ = false;
    array_pending_ = false;

    switch (p.id) {
    case pid::product_request: {
        packet product{pid::product_data, {}};
        product.data = {static_cast<std::uint8_t>(options_.product & 0xFF), static_cast<std::uint8_t>(options_.product >> 8),
                        static_cast<std::uint8_t>(options_.version & 0xFF),
                        static_cast<std::uint8_t>((options_.version >> 8) & 0xFF)};
        product.data.insert(product.data.end(), options_.description.begin(), options_.description.end());
        product.data.push_back(0);
        // Like a handset, the protocol array waits for the ACK of the product data.
        array_pending_ = options_.protocols;
        awaited_id_ = pid::product_data;
        awaiting_ack_ = true;
        send(product);
        break;
    }
    case pid::command: {
        const unsigned command = p.data.size() >= 2 ? p.data[0] | (p.data[1] << 8) : p.data.empty() ? 0xFFFF : p.data[0];
        std::vector<packet> records;
        if (command == command_transfer_waypoints)
            for (const waypoint& w : waypoints_) records.push_back({pid::waypoint, encode_waypoint(w, options_.layout)});
        if (command == command_transfer_tracks && options_.track_protocol)
            records = track_records(options_, held_.tracks);
        if (command == command_transfer_routes && options_.route_protocol)
            records = route_records(options_, held_.routes);
        const bool known = command == command_transfer_waypoints ||
                           (command == command_transfer_tracks && options_.track_protocol) ||
                           (command == command_transfer_routes && options_.route_protocol);
        if (known) start_download(std::move(records), static_cast<std::uint16_t>(command));
        if (command == command_abort) {
            if (trace_)
                trace_(downloading_ ? "abort after " + std::to_string(next_record_) + " of " +
                                          std::to_string(outgoing_.size()) + " records sent"
                                    : "abort after " + std::to_string(uploaded_.size()) + " records received");
            downloading_ = false;
        }
        break;
    }
    case pid::records:
        uploaded_.clear();
        uploaded_at_.clear();
        upload_complete_ = false;
        break;
    case pid::waypoint:
        if (auto w = decode_waypoint(p.data, options_.layout)) keep_uploaded(std::move(*w));
        break;
    case pid::transfer_complete:
        upload_complete_ = true;
        break;
    case pid::speed_request:
        if (options_.speed_change && p.data.size() >= 4) answer_speed(p.data);
        break;
    default:
        break;  // other commands and data are acknowledged and otherwise ignored
    }
}

void session::keep_uploaded(waypoint w)
{
    // Like a handset, one waypoint per name: a second of the same name
    // takes the place of the first.
    const auto [at, fresh] = uploaded_at_.try_emplace(w.name, uploaded_.size());
    if (fresh) uploaded_.push_back(std::move(w));
    else uploaded_[at->second] = std::move(w);
}

void session::start_download(std::vector<packet> records, std::uint16_t command)
{
    downloading_ = true;
    outgoing_ = std::move(records);
    transfer_command_ = command;
    next_record_ = 0;
    const auto count = static_cast<std::uint16_t>(outgoing_.size());
    awaited_id_ = pid::records;
    awaiting_ack_ = true;
    send({pid::records, {static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)}});
}

void session::send_next_record()
{
    while (next_record_ < static_cast<int>(outgoing_.size())) {
        const int number = ++next_record_;  // counted from 1
        if (number == options_.drop) continue;
        send_record(number);
        return;
    }
    downloading_ = false;
    send({pid::transfer_complete, {static_cast<std::uint8_t>(transfer_command_), 0}});
}

void session::send_record(int number)
{
    const packet& record = outgoing_[static_cast<std::size_t>(number - 1)];
    awaited_id_ = record.id;
    awaiting_ack_ = true;
    const bool spoil = number == options_.bad_checksum && spoilt_sent_ < options_.bad_copies;
    if (spoil) ++spoilt_sent_;
    send(record, spoil);
    last_record_ = number;
}

void session::tick()
{
    if (!awaiting_ack_ || std::chrono::steady_clock::now() < ack_deadline_) return;
    awaiting_ack_ = false;
    after_ack();
}

void session::answer_speed(const std::vector<std::uint8_t>& request)
{
    // The unit takes the fastest of its rates that is not above the request.
    static const long rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    const long asked = static_cast<long>(request[0] | request[1] << 8 | request[2] << 16 |
                                         static_cast<std::uint32_t>(request[3]) << 24);
    long accepted = rates[0];
    for (const long r : rates)
        if (r <= asked) accepted = r;
    pending_speed_ = accepted;
    awaited_id_ = pid::speed_answer;
    awaiting_ack_ = true;
    const auto a = static_cast<std::uint32_t>(accepted);
    send({pid::speed_answer, {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(a >> 8),
                              static_cast<std::uint8_t>(a >> 16), static_cast<std::uint8_t>(a >> 24)}});
}

void session::after_ack()
{
    if (pending_speed_ > 0) {
        take_pending_speed();
    } else if (array_pending_) {
        array_pending_ = false;
        send_protocol_array();
    } else if (downloading_) {
        send_next_record();
    }
}

void session::take_pending_speed()
{
    if (options_.baud > 0) options_.baud = static_cast<int>(pending_speed_);
    if (trace_) trace_("line speed " + std::to_string(pending_speed_));
    pending_speed_ = 0;
}

void session::send_protocol_array()
{
    packet array{pid::protocol_array, {}};
    auto add = [&](char tag, int number) {
        array.data.push_back(static_cast<std::uint8_t>(tag));
        array.data.push_back(static_cast<std::uint8_t>(number & 0xFF));
        array.data.push_back(static_cast<std::uint8_t>(number >> 8));
    };
    add('P', 0);
    add('L', 1);
    add('A', 10);
    add('A', 100);
    add('D', options_.layout);
    if (options_.route_protocol) {
        add('A', options_.route_protocol);
        add('D', options_.route_header);
        add('D', options_.layout);
        if (options_.route_protocol == 201) add('D', 210);
    }
    if (options_.track_protocol) {
        add('A', options_.track_protocol);
        if (options_.track_protocol != 300) add('D', options_.track_header);
        add('D', options_.track_layout);
    }
    send(array);
}

} // namespace handset
