// The link session with one handset: start-up (product request, protocol
// array or built-in table) and the waypoint transfer, over the packet port.
// Everything runs on the caller's thread and blocks for the port's time-outs.
#pragma once

#include "gps/capabilities.h"
#include "gps/link_log.h"
#include "gps/packet_port.h"
#include "model/map_document.h"
#include "source/track_shapes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace wayloom::gps {

// How many records a transfer announced and how many arrived.
struct transfer_tally {
    int received = 0;
    int announced = 0;
    bool cancelled = false;
};

// What a download takes; the map's track rules say how tracks become
// paths and shapes.
struct download_choice {
    bool waypoints = true, tracks = false, routes = false;
};

// What the last download brought besides waypoints.
struct lines_downloaded {
    int tracks = 0, routes = 0;  // paths and shapes added
    int left_out = 0;            // tracks too short for a path or a shape
    // The transfers' records; nothing when that transfer did not start.
    std::optional<transfer_tally> track_records, route_records;
};

class gps_link {
public:
    // The log file `log_file_name` is created now.
    gps_link(map_document& doc, std::unique_ptr<serial_device> device, link_observer& observer,
             std::string log_file_name);

    // The port controls' texts, taken by every start-up.
    port_texts texts;
    // What Download takes.
    download_choice choice;

    // The window's switches.
    void set_gps_enabled(bool on) { port_.set_enabled(on); }
    bool gps_enabled() const { return port_.enabled(); }
    void set_status_logging(bool on) { log_.set_status_logging(on); }
    bool status_logging() const { return log_.status_logging(); }
    void set_disk_logging(bool on) { log_.set_disk_logging(on); }
    void set_early_frame_end(bool on) { port_.set_early_frame_end(on); }

    // Opens the port and learns what the handset speaks; failures are error
    // boxes ("Cant initialise the communications port", "Protocol unsupported").
    void init_gps();
    // Adds the handset's waypoints to the map, then its tracks and routes
    // as the choice asks, after a start-up of its own when no handset is
    // identified on an open port; "Waypoint Download failed" ("Track
    // Download failed", "Route Download failed") when that transfer could
    // not run or lost records. What came stays; the transfers after a failed
    // one do not run. The progress bar runs over the records of all of them.
    void download_gps();
    // Sends the map's waypoints to the handset in its waypoint layout, each
    // under a name no other waypoint of the upload has there, after a
    // start-up of its own when no handset is identified on an open port;
    // "Waypoint Upload failed" when it does not take them.
    void upload_gps();
    // Closes the port when the program ends ("session closed" in the file).
    void demolish();

    // Asks a transfer to stop before its next record; safe from any thread
    // and from a signal handler. The handset is told to abort, the line goes
    // back to its own speed, what came stays, and no failure box is shown:
    // the user asked for it. Stays asked until clear_cancel.
    void cancel() { cancel_requested_ = true; }
    void clear_cancel() { cancel_requested_ = false; }
    bool cancel_requested() const { return cancel_requested_; }

    // What the last start-up learnt.
    std::uint16_t product_id() const { return product_id_; }
    bool protocol_supported() const { return protocol_supported_; }
    const record_reader& waypoint_reader() const { return readers_[app_waypoint]; }
    bool port_opened() const { return port_.opened(); }
    // Waypoints the last upload sent, and how many of them under a name
    // changed so that no two are alike on the handset (the log says which).
    int uploaded() const { return uploaded_; }
    int renamed() const { return renamed_; }
    // The last download's records; nothing when no transfer started.
    const std::optional<transfer_tally>& last_transfer() const { return last_transfer_; }
    const lines_downloaded& last_lines() const { return last_lines_; }

private:
    void init();
    void take(capabilities learnt);
    bool download_waypoints();
    bool run_reader(const record_reader& reader);
    // The track log and the routes, in the layouts start-up learnt.
    bool download_tracks();
    bool download_routes();
    // One transfer of records from the handset (gps/line_transfer.cpp): the
    // command, the records packet announcing how many follow, then each
    // record acknowledged and handed to `take` until transfer complete. A
    // spoilt record is asked for again, twice at most; a pass that brings
    // nothing counts as a record lost. Nothing when no transfer started.
    std::optional<transfer_tally> receive_records(std::uint8_t command, const std::function<void(const packet&)>& take);
    // The progress bar's range grows by each transfer's records.
    void announce_records(int count);
    // One pass of a transfer's record loop with `remaining` records to
    // come: a record in `got`, none (a record lost), or the end (transfer
    // complete, a cancel, every record had, or a third spoilt copy of one).
    // A spoilt record is asked for again; `spoilt_copies` counts them.
    enum class record_pass { record, lost, end };
    record_pass next_record(int remaining, int& spoilt_copies, transfer_tally& tally, std::optional<packet>& got);
    bool upload_waypoints();
    bool send_waypoints(const record_reader& layout);
    // Tells the handset to stop the transfer it is running.
    void abort_transfer();
    // Runs a transfer at the texts' transfer speed when the unit takes it.
    bool at_transfer_speed(const std::function<bool()>& transfer);

    map_document& doc_;
    link_observer& observer_;
    link_log log_;
    packet_port port_;
    bool busy_ = false, initialising_ = false, protocol_supported_ = false;
    std::uint16_t product_id_ = 0, software_version_ = 0;
    protocol_capabilities protocols_;
    std::array<record_reader, 8> readers_{};
    std::optional<transfer_tally> last_transfer_;
    lines_downloaded last_lines_;
    transfer_layout routes_, tracks_;
    int records_announced_ = 0;  // by the transfers of this download so far
    int uploaded_ = 0;
    int renamed_ = 0;
    std::atomic<bool> cancel_requested_ = false;
};

} // namespace wayloom::gps
