// The Garmin link: port and log, packets, handset start-up and the waypoint
// transfer, with the state the GPS window keeps for them. Everything runs on
// the caller's thread and blocks for the port's time-outs.
#pragma once

#include "gps/protocols.h"
#include "gps/serial_device.h"
#include "model/map_document.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace wayloom::gps {

// Where the link's visible effects go: the status memo, the progress bar
// and error boxes. The GPS window, the CLI and tests each bring their own.
class link_observer {
public:
    virtual ~link_observer() = default;
    virtual void status_line(std::string_view line) { (void)line; }
    virtual void clear_status() {}
    virtual void progress_range(int minimum, int maximum) { (void)minimum, (void)maximum; }
    virtual void progress_step() {}
    virtual void progress_reset() {}
    virtual void error_box(std::string_view message) { (void)message; }
};

// The texts of the GPS window's port controls.
struct port_texts {
    std::string port = "COM1";
    std::string speed = "9600";
    std::string data_bits = "8";
    std::string parity = "N";
    std::string stop_bits = "1";
    std::string timeout = "100";
    std::string interval = "10";
};

// Which record reader the start-up chose, and for which data type.
enum class reader_kind : std::uint8_t { empty, d100, d105, d108, d109, ignore };
struct record_reader {
    reader_kind kind = reader_kind::empty;
    int size = 0;       // the fixed part of the record
    int data_type = 0;  // 108 for D108 and so on
};

class gps_link {
public:
    static constexpr std::size_t input_size = 16384;
    static constexpr std::size_t frame_limit = 261;

    gps_link(map_document& doc, std::unique_ptr<serial_device> device, link_observer& observer,
             std::string log_file_name);

    // --- settings the window mirrors
    port_texts texts;
    bool gps_enabled = true;
    bool status_logging = false;
    bool disk_logging = false;
    // End a port read as soon as a whole frame has come instead of waiting out
    // the time-out; off gives the slow read that waits for every time-out.
    bool early_frame_end = true;

    // --- port and log
    bool open();
    void close();
    void clear_port();
    bool write(const std::uint8_t* frame, std::size_t count);
    int read_port();
    bool fill_buffer(int& count);
    void update_status_log(std::string_view text);
    void write_log(std::string_view text);
    void init_log_file();
    void demolish();

    // --- packets
    bool send_packet(const std::uint8_t* data, int size, std::uint8_t id);
    enum class read_outcome { done, port_not_opened };
    read_outcome read(std::uint8_t* raw, int& count);
    bool read_timeout(std::uint8_t* raw, int& count);
    std::uint8_t read_packet(std::uint8_t* data, int& size, bool timed);
    bool get_ack(std::uint8_t id);
    void send_ack(std::uint8_t id);

    // --- start-up
    void init_gps();
    bool set_up_comms();
    void init();
    void decode_protocol_array(const std::uint8_t* data, int size, protocol_capabilities& record);
    bool set_link_protocol(protocol_capabilities& record, int number);
    void set_application_protocols(protocol_capabilities& record, protocol_set set);
    void set_data_type(int number);
    void set_data_types(protocol_set set);
    void use_capability_table();

    // --- waypoint transfer
    void download_gps();
    bool download_waypoints();

    // --- state, named as the window names it
    std::string port_name;
    int timeout_ms = 1000, interval_ms = 100;
    bool port_opened = false, comms_ready = false;
    int indent = 0;
    std::string log_file_name;
    std::array<std::uint8_t, input_size> input_buffer{};
    int buffered_count = 0, write_pos = 1, scan_pos = 1;
    bool ack_pending = false;
    std::array<std::uint8_t, 6> last_header{16, 0, 0, 0, 16, 3};
    bool busy = false, no_data = false, initialising = false, protocol_supported = false;
    std::uint16_t product_id = 0, software_version = 0;
    protocol_capabilities capabilities;
    std::array<record_reader, 8> readers{};
    std::int32_t record_pos = -1, record_remaining = 0;
    std::uint16_t record_count = 0;
    std::array<std::uint8_t, frame_limit> record_buffer{};

private:
    bool extract_packet(std::uint8_t* raw, int& count);
    bool ends_with_whole_frame() const;
    bool run_reader(const record_reader& reader);
    bool decode_record(const record_reader& reader, t_waypoint& w, int running_number, int data_size);

    map_document& doc_;
    std::unique_ptr<serial_device> device_;
    link_observer& observer_;
    bool logging_failure_ = false;  // a log-file failure is being reported: keep it off the file
    bool frame_incomplete_ = false;
};

} // namespace wayloom::gps
