// One simulated handset: answers a host over a byte stream as a Garmin
// unit does, with faults to order.
#pragma once

#include "frame.h"
#include "records.h"
#include "track_records.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace handset {

struct options {
    std::uint16_t product = 77;
    std::int16_t version = 350;  // hundredths: 350 is 3.50
    std::string description = "Wayloom handset simulator";
    bool protocols = true;       // send a protocol array after the product data
    int layout = 108;
    // Routes and tracks: the transfer protocol (0: none) and its layouts;
    // route waypoints go in the waypoint layout.
    int route_protocol = 201, route_header = 202;
    int track_protocol = 301, track_header = 310, track_layout = 301;
    int baud = 0;                // pace what is sent at this rate; 0: as fast as the line takes it
    bool speed_change = true;    // answer a host's request for a faster line speed
    // Faults, each counted from 1; 0 is off.
    int bad_checksum = 0;        // this record goes out with a wrong checksum
    int bad_copies = 1;          // ... this many times, counting copies resent after a NAK
    int drop = 0;                // this record is never sent
    int no_ack = 0;              // this packet from the host is not acknowledged
    int silent_after = 0;        // after sending this many packets, send nothing more
    int nak = 0;                 // this packet from the host gets a NAK
    int hang_up_after = 0;       // after sending this many packets, the line breaks
    std::chrono::milliseconds ack_wait{500};  // how long to wait for the host's ACK
    bool usb = false;            // on USB: no ACK or NAK is sent (see usb_handset.h)
};

// Packet ids and commands of the link and command protocols L001 and A010.
namespace pid {
constexpr std::uint8_t ack = 6, command = 10, transfer_complete = 12, records = 27, route_header = 29,
                       route_waypoint = 30, track_data = 34, waypoint = 35, route_link = 98, track_header = 99,
                       nak = 21, protocol_array = 253, product_request = 254, product_data = 255,
                       speed_prepare = 0x1C, speed_request = 0x30, speed_answer = 0x31;
}
constexpr std::uint16_t command_transfer_waypoints = 7;
constexpr std::uint16_t command_transfer_routes = 4;
constexpr std::uint16_t command_transfer_tracks = 6;
constexpr std::uint16_t command_abort = 0;

// What a unit holds besides its waypoints.
struct holdings {
    std::vector<track> tracks;
    std::vector<route> routes;
};

// The records of a route or track transfer in the options' protocol and layouts.
std::vector<packet> track_records(const options& o, const std::vector<track>& tracks);
std::vector<packet> route_records(const options& o, const std::vector<route>& routes);

class session {
public:
    // `send` writes bytes to the host; `now` gives the time (replaceable in tests).
    using sender = std::function<void(const std::vector<std::uint8_t>&)>;

    session(options o, std::vector<waypoint> waypoints, sender send, holdings held = {});

    // Where the session notes what a test may want to check afterwards: an
    // abort asked for by the host ("abort after K of N records sent" in a
    // download, "abort after K records received" in an upload) and each
    // line speed taking effect ("line speed B").
    using tracer = std::function<void(const std::string& line)>;
    void set_trace(tracer trace) { trace_ = std::move(trace); }

    // Bytes from the host.
    void receive(std::span<const std::uint8_t> bytes);
    // Lets a transfer go on when the host did not acknowledge in time.
    void tick();
    // When the next tick matters, if a reply is awaited.
    bool waiting() const { return awaiting_ack_; }
    // The line is to be broken now.
    bool hung_up() const { return options_.hang_up_after > 0 && sent_packets_ >= options_.hang_up_after; }

    // The waypoints a host uploaded, one per name as a handset keeps them.
    const std::vector<waypoint>& uploaded() const { return uploaded_; }
    // True once an upload ended with its transfer-complete packet.
    bool upload_complete() const { return upload_complete_; }

private:
    void handle(const packet& p);
    void send(const packet& p, bool corrupt = false);
    void send_next_record();
    // Sends record `number` (from 1), spoilt if the faults ask for it.
    void send_record(int number);
    // Announces the records and sends the first once the host acknowledged.
    void start_download(std::vector<packet> records, std::uint16_t command);
    void send_protocol_array();
    void answer_speed(const std::vector<std::uint8_t>& request);
    // What goes out once the awaited ACK came (or the wait ran out).
    void after_ack();
    // Both ends run at the rate answered last.
    void take_pending_speed();
    void keep_uploaded(waypoint w);

    options options_;
    std::vector<waypoint> waypoints_;
    holdings held_;
    sender send_;
    tracer trace_;
    frame_reader reader_;
    int host_packets_ = 0;
    int sent_packets_ = 0;
    packet last_sent_;
    int last_record_ = 0;  // number of the record sent last, counted from 1; 0: the last packet was none
    int spoilt_sent_ = 0;  // copies of the spoilt record sent so far

    // A download in progress: which record goes next (-1: the records packet
    // is out), and whether the host's ACK is awaited.
    bool array_pending_ = false;  // the protocol array follows the ACK of the product data
    bool downloading_ = false;
    std::vector<packet> outgoing_;  // the records of the transfer
    std::uint16_t transfer_command_ = 0;
    int next_record_ = 0;
    bool awaiting_ack_ = false;
    std::uint8_t awaited_id_ = 0;
    std::chrono::steady_clock::time_point ack_deadline_;

    // A line speed answered and waiting for the host's ACK to take effect.
    long pending_speed_ = 0;

    std::vector<waypoint> uploaded_;
    std::unordered_map<std::string, std::size_t> uploaded_at_;  // by name
    bool upload_complete_ = false;
};

} // namespace handset
