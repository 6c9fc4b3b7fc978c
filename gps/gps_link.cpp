#include "gps/gps_link.h"

#include "gps/capability_table.h"
#include "source/number_text.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace wayloom::gps {

namespace {

constexpr std::uint8_t dle = 16, etx = 3;
constexpr std::uint8_t ack_id = 6;
constexpr std::uint8_t product_request_id = 254;

// Integer value of a text, or `fallback` when the text is not an integer.
int integer_or(std::string_view text, int fallback)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

void inc_checksum(std::uint8_t& sum, std::uint8_t value) { sum = static_cast<std::uint8_t>(sum + value); }
std::uint8_t neg(std::uint8_t value) { return value == 0 ? 0 : static_cast<std::uint8_t>(256 - value); }

std::string clock_text(const char* format, bool milliseconds)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    std::string out = text;
    if (milliseconds) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        char part[8];
        std::snprintf(part, sizeof part, ".%03d", static_cast<int>(ms));
        out += part;
    }
    return out;
}

// Degrees from semicircles with the factor 180 / 2^31 held as a float, as
// handsets' own software does; the float holds it exactly.
long double to_degrees(std::int32_t semicircles)
{
    const float factor = 180.0f / 2147483648.0f;
    return static_cast<long double>(semicircles) * static_cast<long double>(factor);
}

std::int32_t int32_at(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

const char* application_names[] = {"waypoint 100", "route 200", "track 300", "proximity 400",
                                    "almanac 500",  "date_time 600", "position 700", "pvt 800"};

} // namespace

gps_link::gps_link(map_document& doc, std::unique_ptr<serial_device> device, link_observer& observer,
                   std::string log_name)
    : log_file_name(std::move(log_name)), doc_(doc), device_(std::move(device)), observer_(observer)
{
    capabilities.version_bound = 2147483646;
    // The log file is created with disk logging forced on, then disk logging
    // stays off until the user asks for it.
    disk_logging = true;
    init_log_file();
    disk_logging = false;
}

// ---------------------------------------------------------------- the log

void gps_link::update_status_log(std::string_view text)
{
    if (!status_logging) return;
    std::string line;
    if (text.substr(0, 2) == ">>") {
        line = std::string(static_cast<std::size_t>(indent), ' ') + std::string(text.substr(2));
        indent += 2;
    } else if (text.substr(0, 2) == "<<") {
        indent = indent >= 2 ? indent - 2 : 0;
        line = std::string(static_cast<std::size_t>(indent), ' ') + "<<";
    } else {
        line = std::string(static_cast<std::size_t>(indent), ' ') + std::string(text);
    }
    observer_.status_line(line);
    write_log(line);
}

void gps_link::write_log(std::string_view text)
{
    if (!disk_logging || logging_failure_) return;
    std::FILE* file = std::fopen(log_file_name.c_str(), "a");
    // A failure is reported through the memo only: writing it to the file
    // that just failed would go round for ever.
    logging_failure_ = true;
    if (!file) {
        update_status_log("cant open log : " + log_file_name);
    } else {
        const std::string line = clock_text("%H:%M:%S", true) + " : " + std::string(text) + "\n";
        if (std::fputs(line.c_str(), file) < 0) update_status_log(std::string("failed to write to log : ") + std::strerror(errno));
        if (std::fclose(file) != 0)
            update_status_log("failed to close : " + log_file_name + " : " + std::to_string(errno));
    }
    logging_failure_ = false;
}

void gps_link::init_log_file()
{
    std::FILE* file = std::fopen(log_file_name.c_str(), "w");
    if (!file) {
        update_status_log("cant create log file : " + log_file_name);
        return;
    }
    const std::string line = clock_text("%Y-%m-%d %H:%M:%S", false) + " : session started\n";
    if (std::fputs(line.c_str(), file) < 0) update_status_log(std::string("failed to open log : ") + std::strerror(errno));
    std::fclose(file);
}

void gps_link::demolish()
{
    close();
    write_log("session closed");
}

// ---------------------------------------------------------------- the port

bool gps_link::open()
{
    update_status_log(">>open");
    port_name = texts.port;
    timeout_ms = integer_or(texts.timeout, 1000);
    interval_ms = integer_or(texts.interval, 100);
    if (texts.parity.empty()) {
        // No first character: the settings string cannot be built.
        update_status_log("<<");
        return false;
    }
    const std::string settings = "baud=" + texts.speed + " parity=" + texts.parity.substr(0, 1) +
                                 " data=" + texts.data_bits + " stop=" + texts.stop_bits;
    update_status_log("connecting to serial port : " + port_name + " " + settings + " : " + texts.timeout + " " +
                      texts.interval);
    if (port_opened) {
        update_status_log("closing previous session");
        close();
    }
    if (!device_->open(port_name)) {
        update_status_log("<<");
        return false;
    }
    port_opened = true;
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
        device_->set_timeouts(interval_ms, timeout_ms);
        message = port_name + " : opened";
    }
    update_status_log(message);
    update_status_log("<<");
    return ok;
}

void gps_link::close()
{
    device_->close();
    port_opened = false;
    update_status_log(port_name + " : closed");
}

void gps_link::clear_port()
{
    const bool was = initialising;
    initialising = true;
    update_status_log(">>clear_port");
    write_pos = 1;
    scan_pos = 1;
    buffered_count = 0;
    update_status_log("<<");
    initialising = was;
}

bool gps_link::write(const std::uint8_t* frame, std::size_t count)
{
    update_status_log(">>write");
    bool ok = true;
    if (!gps_enabled) {
        ok = true;
    } else if (!comms_ready) {
        update_status_log("fail : port not opened");
        ok = false;
    } else {
        const long written = device_->write(frame, count);
        if (written < 0) {
            update_status_log("write failed : " + std::to_string(errno));
            ok = false;
        } else if (static_cast<std::size_t>(written) < count) {
            update_status_log("bytes to send : " + std::to_string(count));
            update_status_log("bytes written : " + std::to_string(written));
            ok = false;
        } else {
            update_status_log("write : " + std::to_string(count) + " bytes");
        }
    }
    update_status_log("<<");
    return ok;
}

// True when the bytes gathered since position 1 are whole frames, the last
// ending at the last byte: then no more are coming for this read.
bool gps_link::ends_with_whole_frame() const
{
    const int end = write_pos - 1;  // bytes gathered, from index 0
    int i = 0;
    bool any = false;
    while (i < end) {
        if (input_buffer[static_cast<std::size_t>(i)] != dle) return false;
        ++i;
        // id, size, data and checksum, with every DLE doubled
        int size = -1, taken = 0;
        while (i < end) {
            const std::uint8_t b = input_buffer[static_cast<std::size_t>(i)];
            if (b == dle) {
                if (i + 1 >= end) return false;
                if (input_buffer[static_cast<std::size_t>(i + 1)] != dle) break;  // closing DLE
                ++i;
            }
            if (taken == 1) size = b;
            ++taken;
            ++i;
            if (size >= 0 && taken == size + 3) break;
        }
        if (size < 0 || taken != size + 3) return false;
        if (i + 2 > end || input_buffer[static_cast<std::size_t>(i)] != dle ||
            input_buffer[static_cast<std::size_t>(i + 1)] != etx)
            return false;
        i += 2;
        any = true;
    }
    return any;
}

int gps_link::read_port()
{
    int total = 0;
    int error = 0;
    for (;;) {
        // Never past the end of the buffer: a full buffer ends the read.
        const std::size_t room = input_size - static_cast<std::size_t>(write_pos - 1);
        if (room == 0) break;
        const read_result r = device_->read(input_buffer.data() + (write_pos - 1), std::min(frame_limit, room));
        write_pos += static_cast<int>(r.count);
        total += static_cast<int>(r.count);
        if (r.error != 0) {
            error = r.error;
            break;
        }
        if (r.count == 0) break;
        if (early_frame_end && ends_with_whole_frame()) break;
    }
    if (error != 0) {
        update_status_log("read : error : " + std::to_string(error));
        close();
        write_pos = 1;
        return 0;
    }
    if (total > 0) ack_pending = true;
    update_status_log("read : " + std::to_string(total) + " : bytes");
    return total;
}

bool gps_link::fill_buffer(int& count)
{
    count = 0;
    write_pos = 1;
    scan_pos = 1;
    const bool was_open = port_opened;
    buffered_count = read_port();
    return buffered_count > 0 && (port_opened || !was_open);
}

// ---------------------------------------------------------------- packets

bool gps_link::send_packet(const std::uint8_t* data, int size, std::uint8_t id)
{
    buffered_count = 0;
    write_pos = 1;
    last_header[1] = id;
    last_header[2] = static_cast<std::uint8_t>(size);
    std::uint8_t sum = id;
    inc_checksum(sum, static_cast<std::uint8_t>(size));
    for (int i = 0; i < size; ++i) inc_checksum(sum, data[i]);
    last_header[3] = neg(sum);
    std::uint8_t frame[frame_limit + 8];
    std::size_t n = 0;
    auto put = [&](std::uint8_t b) {
        frame[n++] = b;
        if (b == dle) frame[n++] = dle;
    };
    frame[n++] = dle;
    put(id);
    put(static_cast<std::uint8_t>(size));
    for (int i = 0; i < size && n < frame_limit; ++i) put(data[i]);
    put(last_header[3]);
    frame[n++] = dle;
    frame[n++] = etx;
    return write(frame, n);
}

bool gps_link::extract_packet(std::uint8_t* raw, int& count)
{
    const int at = scan_pos - 1;
    const int available = buffered_count;
    frame_incomplete_ = false;
    if (available < 3 || input_buffer[static_cast<std::size_t>(at)] != dle) {
        count = 0;
        update_status_log("fail : unrecognised packet format");
        return false;
    }
    const int len = input_buffer[static_cast<std::size_t>(at + 2)] + 6;
    if (len > 255) {
        count = 0;
        update_status_log("fail : unrecognised packet format");
        return false;
    }
    // Copy the frame, unstuffing doubled DLEs; bytes that have not arrived
    // are never read: the frame is then taken as cut off.
    int consumed = 0;
    for (int i = 1; i <= len; ++i) {
        if (consumed >= available) {
            frame_incomplete_ = true;
            raw[i - 1] = 0;
            continue;
        }
        const std::uint8_t b = input_buffer[static_cast<std::size_t>(at + consumed)];
        raw[i - 1] = b;
        ++consumed;
        if (b == dle && i > 1 && i <= len - 2 && consumed < available) ++consumed;
    }
    buffered_count -= consumed;
    scan_pos += consumed;
    count = consumed;
    return true;
}

gps_link::read_outcome gps_link::read(std::uint8_t* raw, int& count)
{
    update_status_log(">>read");
    read_outcome outcome = read_outcome::done;
    if (!comms_ready) {
        if (gps_enabled) {
            update_status_log("fail : port not opened");
            outcome = read_outcome::port_not_opened;
        } else {
            count = 0;
        }
    } else if (!gps_enabled) {
        count = 0;
    } else {
        for (;;) {
            if (buffered_count <= 0) {
                if (fill_buffer(count) && !extract_packet(raw, count)) update_status_log("fail : failed to read packet");
                break;
            }
            if (buffered_count >= 6) {
                if (extract_packet(raw, count)) {
                    update_status_log("Read : " + std::to_string(count) + " : bytes");
                    break;
                }
            }
            buffered_count = 0;
            write_pos = 1;
        }
    }
    update_status_log("<<");
    return outcome;
}

bool gps_link::read_timeout(std::uint8_t* raw, int& count)
{
    count = 0;
    const read_outcome outcome = read(raw, count);
    if (count == 0) no_data = true;
    return outcome != read_outcome::port_not_opened;
}

std::uint8_t gps_link::read_packet(std::uint8_t* data, int& size, bool timed)
{
    std::uint8_t raw[frame_limit]{};
    int count = 0;
    const bool ok = timed ? read_timeout(raw, count) : read(raw, count) == read_outcome::done;
    if (!ok || count <= 0 || frame_incomplete_) {
        size = 0;
        return 0;
    }
    const std::uint8_t id = raw[1];
    const std::uint8_t n = raw[2];
    last_header[1] = id;
    last_header[2] = n;
    std::uint8_t sum = id;
    inc_checksum(sum, n);
    for (int i = 0; i < n; ++i) inc_checksum(sum, raw[3 + i]);
    if (neg(raw[3 + n]) != sum) {
        size = 0;
        return 0;
    }
    std::memcpy(data, raw + 3, n);
    size = n;
    return id;
}

bool gps_link::get_ack(std::uint8_t id)
{
    std::uint8_t data[frame_limit];
    int size = 0;
    const std::uint8_t got = read_packet(data, size, false);
    if (got != ack_id) {
        update_status_log("no ack");
        return false;
    }
    if (size > 0 && data[0] == id) {
        update_status_log("ack received");
        return true;
    }
    update_status_log("ack id mismatch : " + std::to_string(size > 0 ? data[0] : 0) + "<>" + std::to_string(id));
    return false;
}

void gps_link::send_ack(std::uint8_t id)
{
    if (!ack_pending) return;
    update_status_log("sending ack");
    const std::uint8_t data[2] = {id, 0};
    send_packet(data, 2, ack_id);
    ack_pending = false;
}

// ---------------------------------------------------------------- start-up

void gps_link::init_gps()
{
    if (busy || !gps_enabled) return;
    busy = true;
    init();
    busy = false;
}

bool gps_link::set_up_comms()
{
    if (!gps_enabled) return true;
    if (!open()) return false;
    comms_ready = true;
    return true;
}

void gps_link::init()
{
    initialising = true;
    if (comms_ready) close();
    if (!set_up_comms()) {
        observer_.error_box("Cant initialise the communications port");
    } else {
        update_status_log(">>gps init");
        update_status_log("sending product request");
        std::uint8_t data[frame_limit];
        int size = 0;
        if (!send_packet(nullptr, 0, product_request_id) || !get_ack(product_request_id)) {
            update_status_log("no response from product request");
        } else {
            update_status_log("waiting for product id");
            no_data = false;
            const std::uint8_t id = read_packet(data, size, false);
            if (id == 0) {
                update_status_log("no product id");
            } else {
                product_id = static_cast<std::uint16_t>(size >= 2 ? data[0] | data[1] << 8 : 0);
                software_version = static_cast<std::uint16_t>(size >= 4 ? data[2] | data[3] << 8 : 0);
                update_status_log("product id is : " + std::to_string(product_id));
                send_ack(id);
                update_status_log("waiting for protocols");
                const std::uint8_t array_id = read_packet(data, size, true);
                readers.fill(record_reader{});
                if (array_id != 0) {
                    protocol_capabilities record;
                    decode_protocol_array(data, size, record);
                    capabilities = record;
                } else if (!no_data) {
                    update_status_log("no protocol data");
                } else {
                    use_capability_table();
                }
            }
        }
    }
    update_status_log("<<");
    if (!protocol_supported) observer_.error_box("Protocol unsupported");
    initialising = false;
}

void gps_link::decode_protocol_array(const std::uint8_t* data, int size, protocol_capabilities& record)
{
    using namespace protocol;
    protocol_set current = 0;
    for (int k = 0; k + 3 <= size; k += 3) {
        const char tag = static_cast<char>(data[k]);
        const int number = data[k + 1] | data[k + 2] << 8;
        switch (tag) {
        case 'P':
            if (number == 0) {
                record.physical = bit(P000);
                update_status_log("physical layer 001");
            }
            break;
        case 'L':
            if (number == 1) record.link = bit(L001);
            if (number == 2) record.link = bit(L002);
            if (set_link_protocol(record, number)) protocol_supported = true;
            break;
        case 'A': {
            static const std::pair<int, protocol_item> known[] = {{10, A010},  {11, A011},  {100, A100}, {200, A200},
                                                                  {300, A300}, {400, A400}, {500, A500}, {600, A600},
                                                                  {700, A700}, {800, A800}};
            for (const auto& [n, item] : known) {
                if (n != number) continue;
                current = bit(item);
                if (n == 10 || n == 11) record.command_and_applications = current;
            }
            set_application_protocols(record, current);
            break;
        }
        case 'D':
            if (record.protocol_flags & flag_skip_next_data_type) {
                record.protocol_flags &= static_cast<std::uint16_t>(~flag_skip_next_data_type);
                break;
            }
            update_status_log("data structure : " + std::to_string(number));
            set_data_type(number);
            break;
        default:
            break;
        }
    }
}

bool gps_link::set_link_protocol(protocol_capabilities& record, int number)
{
    if (has(record.link, protocol::L001)) {
        record.link_packet_ids = l001_packet_ids;
        update_status_log("link layer 001");
        return true;
    }
    if (has(record.link, protocol::L002)) {
        record.link_packet_ids = l002_packet_ids;
        update_status_log("link layer 002");
        return true;
    }
    update_status_log("unknown link layer protocol : " + std::to_string(number));
    record.protocol_flags |= flag_skip_next_data_type;
    return false;
}

void gps_link::set_application_protocols(protocol_capabilities& record, protocol_set set)
{
    using namespace protocol;
    if (has(set, A010)) {
        record.command_ids = a010_command_ids;
        update_status_log("command layer 010");
    }
    if (has(set, A011)) {
        record.command_ids = a011_command_ids;
        update_status_log("command layer 011");
    }
    for (int app = 0; app < 8; ++app) {
        const auto item = static_cast<protocol_item>(static_cast<int>(A100) + app);
        if (!has(set, item)) continue;
        record.protocol_flags &= static_cast<std::uint16_t>(~flag_skip_next_data_type);
        record.protocol_flags |= static_cast<std::uint16_t>(1u << app);
        record.applications[static_cast<std::size_t>(app)] = bit(item);
        update_status_log(application_names[app]);
    }
}

void gps_link::set_data_type(int number)
{
    struct choice {
        int number;
        application slot;
        reader_kind kind;
        int size;
    };
    static const choice choices[] = {
        {100, app_waypoint, reader_kind::d100, 58},  {101, app_waypoint, reader_kind::d100, 63},
        {102, app_waypoint, reader_kind::d100, 64},  {103, app_waypoint, reader_kind::d100, 60},
        {104, app_waypoint, reader_kind::d100, 65},  {107, app_waypoint, reader_kind::d100, 65},
        {150, app_waypoint, reader_kind::d100, 115}, {151, app_waypoint, reader_kind::d100, 124},
        {152, app_waypoint, reader_kind::d100, 124}, {154, app_waypoint, reader_kind::d100, 126},
        {105, app_waypoint, reader_kind::d105, 10},  {106, app_waypoint, reader_kind::d105, 24},
        {155, app_waypoint, reader_kind::d105, 127}, {108, app_waypoint, reader_kind::d108, 48},
        {109, app_waypoint, reader_kind::d109, 52},  {200, app_route, reader_kind::ignore, 0},
        {201, app_route, reader_kind::ignore, 0},    {202, app_route, reader_kind::ignore, 0},
        {210, app_route, reader_kind::ignore, 0},    {300, app_track, reader_kind::ignore, 0},
        {301, app_track, reader_kind::ignore, 0},    {310, app_track, reader_kind::ignore, 0},
        {400, app_proximity, reader_kind::ignore, 0}, {403, app_proximity, reader_kind::ignore, 0},
        {450, app_proximity, reader_kind::ignore, 0}, {500, app_almanac, reader_kind::ignore, 0},
        {501, app_almanac, reader_kind::ignore, 0},  {550, app_almanac, reader_kind::ignore, 0},
        {551, app_almanac, reader_kind::ignore, 0},  {600, app_date_time, reader_kind::ignore, 0},
        {700, app_position, reader_kind::ignore, 0}, {800, app_pvt, reader_kind::ignore, 0},
    };
    for (const choice& c : choices) {
        if (c.number != number) continue;
        readers[c.slot] = {c.kind, c.size, number};
        return;
    }
    update_status_log("unknown data structure");
}

void gps_link::set_data_types(protocol_set set)
{
    using namespace protocol;
    // D105, D106, D202, D210, D301 and D310 are not taken from the table.
    const protocol_set dropped = bit(D105) | bit(D106) | bit(D202) | bit(D210) | bit(D301) | bit(D310);
    protocol_set kept = 0;
    for (int i = static_cast<int>(D100); i <= static_cast<int>(D800); ++i) kept |= protocol_set{1} << i;
    set &= kept & ~dropped;
    if (set == 0) return;
    protocol_supported = true;
    for (int i = 0; i < protocol_item_count; ++i) {
        const auto item = static_cast<protocol_item>(i);
        if (has(set, item)) set_data_type(data_type_number(item));
    }
}

void gps_link::use_capability_table()
{
    const auto& index = capability_index();
    const auto& table = capability_table();
    if (product_id == 0 || product_id >= index.size() || index[product_id] == 0) {
        update_status_log("unknown gps handset");
        return;
    }
    std::size_t row = index[product_id] - 1u;
    while (row < table.size() && table[row].product_id == product_id && table[row].version_bound < software_version)
        ++row;
    if (row >= table.size() || table[row].product_id != product_id) {
        update_status_log("unknown gps handset");
        return;
    }
    const capability_row& r = table[row];
    capabilities.physical = r.physical;
    capabilities.link = r.link;
    set_link_protocol(capabilities, 0);
    capabilities.command_and_applications = r.command_and_applications;
    set_application_protocols(capabilities, r.command_and_applications);
    for (const protocol_set s : {r.waypoint, r.route, r.track, r.almanac, r.date_time, r.position, r.pvt})
        set_data_types(s);
    no_data = false;
}

// ---------------------------------------------------------------- transfer

void gps_link::download_gps()
{
    if (!gps_enabled) return;
    if (!download_waypoints() && !busy) observer_.error_box("Waypoint Download failed");
}

bool gps_link::download_waypoints()
{
    if (initialising || !protocol_supported || !(capabilities.protocol_flags & 1)) return false;
    clear_port();
    return run_reader(readers[app_waypoint]);
}

bool gps_link::run_reader(const record_reader& reader)
{
    static const char* names[] = {"", ">>read d100 structure", ">>read d105 structure", ">>read d108 structure",
                                  ">>read d109 structure"};
    if (reader.kind == reader_kind::empty) return false;
    if (reader.kind == reader_kind::ignore) return true;
    bool result = true;
    update_status_log(names[static_cast<int>(reader.kind)]);
    const std::uint8_t command_id = capabilities.link_packet_ids[lp_command_data];
    std::uint8_t data[frame_limit];
    int size = 0;
    if (record_pos < 0) {
        const std::uint8_t command[2] = {capabilities.command_ids[cmd_transfer_waypoints], 0};
        if (send_packet(command, 2, command_id) && get_ack(command_id)) {
            const std::uint8_t id = read_packet(data, size, false);
            if (id != 0) {
                send_ack(id);
                if (id != capabilities.link_packet_ids[lp_records]) return false;
                record_pos = 1;
                record_count = static_cast<std::uint16_t>(size >= 2 ? data[0] | data[1] << 8 : 0);
            }
        }
    }
    if (record_pos <= 0) {
        result = false;
    } else if (record_count == 0) {
        record_pos = -1;
        result = false;
    } else {
        observer_.progress_range(0, record_count - 1);
        int running_number = 1;
        for (;;) {
            const std::uint8_t id = read_packet(data, size, false);
            if (id != 0 && id == capabilities.link_packet_ids[lp_transfer_complete]) break;
            if (record_count == 0) break;
            if (record_count % 20 == 0) observer_.clear_status();
            update_status_log(">>waypoint");
            observer_.progress_step();
            if (id == 0) {
                // No valid packet came in this pass: nothing is added, and the
                // pass still counts, so a silent handset cannot hold the loop.
                update_status_log("no waypoint record");
                --record_count;
                update_status_log("<<");
                continue;
            }
            send_ack(id);
            std::memcpy(record_buffer.data(), data, static_cast<std::size_t>(size));
            record_remaining = size;
            record_pos = 1;
            t_waypoint& w = doc_.create_waypoint();
            const bool decoded = decode_record(reader, w, running_number++, size);
            if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109) result = decoded;
            --record_count;
            update_status_log(w.name);
            update_status_log(format_real(w.lon));
            update_status_log(format_real(w.lat));
            update_status_log("<<");
        }
    }
    doc_.refill_waypoints_list();
    observer_.progress_reset();
    record_remaining = 0;
    record_pos = -1;
    update_status_log("<<");
    return result;
}

bool gps_link::decode_record(const record_reader& reader, t_waypoint& w, int running_number, int data_size)
{
    struct place {
        int lat, lon;
    };
    place at{6, 10};
    if (reader.data_type == 150) at = {9, 13};
    if (reader.data_type == 105) at = {0, 4};
    if (reader.data_type == 106) at = {14, 18};
    if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109) at = {24, 28};
    // Fields are read only from bytes that arrived; a short record leaves the
    // rest at the waypoint's defaults.
    const std::uint8_t* r = record_buffer.data();
    auto within = [&](int offset, int length) { return offset + length <= data_size; };
    if (within(at.lat, 4)) w.lat = to_degrees(int32_at(r + at.lat));
    if (within(at.lon, 4)) w.lon = to_degrees(int32_at(r + at.lon));

    const int fixed = reader.size;
    record_pos += fixed;
    record_remaining -= fixed;
    switch (reader.kind) {
    case reader_kind::d100:
        w.name.assign(reinterpret_cast<const char*>(r), static_cast<std::size_t>(std::min(6, data_size)));
        return true;
    case reader_kind::d105:
        w.name = std::to_string(running_number);
        return true;
    default:
        break;
    }
    if (within(32, 4)) {
        float alt;
        std::memcpy(&alt, r + 32, 4);
        w.alt = alt;
    }
    if (record_remaining <= 0) return false;
    // The ident: up to its NUL, at most 64 characters, never past what came.
    for (int i = fixed; i < data_size && i < fixed + 64 && r[i] != 0; ++i) w.name += static_cast<char>(r[i]);
    int nuls = 0;
    int copied = 0;
    while (record_remaining > 0 && nuls < 2) {
        if (r[fixed + copied] == 0) ++nuls;
        ++copied;
        --record_remaining;
    }
    record_pos += copied;
    return nuls == 2;
}

} // namespace wayloom::gps
