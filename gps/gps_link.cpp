#include "gps/gps_link.h"

#include "gps/handset_idents.h"
#include "gps/speed_change.h"
#include "gps/waypoint_record.h"
#include "source/number_text.h"

namespace wayloom::gps {

namespace {

constexpr std::uint8_t product_request_id = 254;
constexpr int spoilt_copies_allowed = 3;
// The records packet announces the count in 16 bits.
constexpr std::size_t most_records = 65535;

std::string without_padding(std::string ident)
{
    while (!ident.empty() && ident.back() == ' ') ident.pop_back();
    return ident;
}

} // namespace

gps_link::gps_link(map_document& doc, std::unique_ptr<serial_device> device, link_observer& observer,
                   std::string log_file_name)
    : doc_(doc), observer_(observer), log_(observer, std::move(log_file_name)), port_(std::move(device), log_)
{
    protocols_.version_bound = 2147483646;
}

void gps_link::demolish()
{
    port_.close();
    log_.file_line("session closed");
}

// ---------------------------------------------------------------- start-up

void gps_link::init_gps()
{
    if (busy_ || !gps_enabled()) return;
    busy_ = true;
    init();
    busy_ = false;
}

void gps_link::init()
{
    initialising_ = true;
    if (port_.opened()) port_.close();
    if (!port_.set_up(texts)) {
        const std::string why = port_.open_failure();
        observer_.error_box(why.empty() ? "Cant initialise the communications port" : why);
    } else {
        log_.line(">>gps init");
        log_.line("sending product request");
        if (!port_.send_packet(product_request_id) || !port_.get_ack(product_request_id)) {
            log_.line("no response from product request");
        } else {
            log_.line("waiting for product id");
            port_.expect_data();
            // The packet's id is not looked at: whatever comes is the product data.
            if (const auto product = port_.read_packet(); !product) {
                log_.line("no product id");
            } else {
                const auto& d = product->data;
                product_id_ = static_cast<std::uint16_t>(d.size() >= 2 ? d[0] | d[1] << 8 : 0);
                software_version_ = static_cast<std::uint16_t>(d.size() >= 4 ? d[2] | d[3] << 8 : 0);
                log_.line("product id is : " + std::to_string(product_id_));
                port_.send_ack(product->id);
                log_.line("waiting for protocols");
                // Whatever comes now is the protocol array; it is not acknowledged.
                const auto array = port_.read_packet(true);
                readers_.fill(record_reader{});
                if (array)
                    take(decode_protocol_array(array->data));
                else if (!port_.nothing_came())
                    log_.line("no protocol data");
                else
                    take(from_capability_table(protocols_, product_id_, software_version_));
            }
        }
    }
    log_.line("<<");
    if (!protocol_supported_) observer_.error_box("Protocol unsupported");
    initialising_ = false;
}

void gps_link::take(capabilities learnt)
{
    for (const std::string& line : learnt.log) log_.line(line);
    protocols_ = learnt.protocols;
    readers_ = learnt.readers;
    routes_ = learnt.routes;
    tracks_ = learnt.tracks;
    // Once a start-up found a usable protocol, the link stays supported.
    if (learnt.supported) protocol_supported_ = true;
}

// ---------------------------------------------------------------- transfer

bool gps_link::at_transfer_speed(const std::function<bool()>& transfer)
{
    const long line = port_.speed();
    const auto wanted = requested_speed(texts.transfer_speed);
    if (!wanted || *wanted == line || !port_.opened() || !port_.has_line_speed()) return transfer();
    const long now = change_line_speed(port_, log_, *wanted);
    const bool ok = transfer();
    // Back to the line's speed, also after a failure; the port goes back
    // even when the unit does not answer.
    if (now != line) change_line_speed(port_, log_, line);
    if (port_.speed() != line) port_.set_speed(line);
    return ok;
}

void gps_link::download_gps()
{
    if (!gps_enabled()) return;
    // A new user presses Download first: the link starts itself, as
    // "Initialise GPS" does, instead of failing with nothing to say why.
    if (!busy_ && !(protocol_supported_ && port_.opened())) init_gps();
    last_lines_ = {};
    records_announced_ = 0;
    struct transfer {
        bool wanted;
        bool (gps_link::*run)();
        const char* failure;
    };
    const transfer transfers[] = {{choice.waypoints, &gps_link::download_waypoints, "Waypoint Download failed"},
                                  {choice.tracks, &gps_link::download_tracks, "Track Download failed"},
                                  {choice.routes, &gps_link::download_routes, "Route Download failed"}};
    for (const transfer& t : transfers) {
        if (!t.wanted || (this->*t.run)()) continue;
        if (!busy_ && !cancel_requested_) observer_.error_box(t.failure);
        break;
    }
    observer_.progress_reset();
}

gps_link::record_pass gps_link::next_record(int remaining, int& spoilt_copies, transfer_tally& tally,
                                            std::optional<packet>& got)
{
    for (;;) {
        if (cancel_requested_) {
            abort_transfer();
            tally.cancelled = true;
            return record_pass::end;
        }
        got = port_.read_packet();
        if (got && got->id == protocols_.link_packet_ids[lp_transfer_complete]) return record_pass::end;
        if (remaining == 0) return record_pass::end;  // a record beyond the count is dropped
        if (const auto spoilt = port_.spoilt_id(); spoilt && !got) {
            // A record spoilt on the line is asked for again; the third
            // spoilt copy of the same record ends the transfer.
            if (++spoilt_copies == spoilt_copies_allowed) return record_pass::end;
            port_.send_nak(*spoilt);
            continue;
        }
        spoilt_copies = 0;
        return got ? record_pass::record : record_pass::lost;
    }
}

void gps_link::announce_records(int count)
{
    records_announced_ += count;
    if (records_announced_ > 0) observer_.progress_range(0, records_announced_ - 1);
}

bool gps_link::download_waypoints()
{
    last_transfer_.reset();
    if (initialising_ || !protocol_supported_ || !(protocols_.protocol_flags & 1) || cancel_requested_)
        return false;
    port_.clear();
    return at_transfer_speed([&] { return run_reader(readers_[app_waypoint]); });
}

bool gps_link::run_reader(const record_reader& reader)
{
    static const char* names[] = {"", ">>read d100 structure", ">>read d105 structure", ">>read d108 structure",
                                  ">>read d109 structure"};
    if (reader.kind == reader_kind::empty) return false;
    if (reader.kind == reader_kind::ignore) return true;
    bool result = true;
    log_.line(names[static_cast<int>(reader.kind)]);
    const std::uint8_t command_id = protocols_.link_packet_ids[lp_command_data];
    const std::uint8_t command[2] = {protocols_.command_ids[cmd_transfer_waypoints], 0};
    bool started = false;
    std::uint16_t record_count = 0;
    if (port_.send_packet(command_id, command) && port_.get_ack(command_id)) {
        if (const auto records = port_.read_packet()) {
            port_.send_ack(records->id);
            if (records->id != protocols_.link_packet_ids[lp_records]) return false;
            started = true;
            const auto& d = records->data;
            record_count = static_cast<std::uint16_t>(d.size() >= 2 ? d[0] | d[1] << 8 : 0);
        }
    }
    if (!started || record_count == 0) {
        result = false;
    } else {
        transfer_tally tally{0, record_count};
        announce_records(record_count);
        int running_number = 1;
        int spoilt_copies = 0;
        for (std::optional<packet> got;;) {
            const record_pass pass = next_record(record_count, spoilt_copies, tally, got);
            if (pass == record_pass::end) break;
            if (record_count % 20 == 0) observer_.clear_status();
            log_.line(">>waypoint");
            observer_.progress_step();
            if (pass == record_pass::lost) {
                // No valid packet came in this pass: nothing is added, and the
                // pass still counts, so a silent handset cannot hold the loop.
                log_.line("no waypoint record");
                --record_count;
                log_.line("<<");
                continue;
            }
            port_.send_ack(got->id);
            const waypoint_fields fields = decode_waypoint(reader, got->data, running_number++);
            t_waypoint& w = doc_.create_waypoint();
            w.name = fields.name;
            w.lat = fields.lat;
            w.lon = fields.lon;
            // A layout with an altitude field gives one, or says it has none.
            if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109)
                w.alt = fields.alt ? float_as_decimal(*fields.alt) : no_altitude;
            ++tally.received;
            if (reader.kind == reader_kind::d108 || reader.kind == reader_kind::d109) result = fields.complete;
            --record_count;
            log_.line(w.name);
            log_.line(format_real(w.lon));
            log_.line(format_real(w.lat));
            log_.line("<<");
        }
        // A pass without a record, or a transfer that ended before every
        // record came, lost data: the download fails, and what came stays.
        if (tally.cancelled) {
            result = false;
            log_.line("cancelled after " + std::to_string(tally.received) + " of " +
                      std::to_string(tally.announced));
        } else if (tally.received < tally.announced) {
            result = false;
            log_.line(std::to_string(tally.received) + " of " + std::to_string(tally.announced) +
                      " waypoints received");
        }
        last_transfer_ = tally;
    }
    doc_.refill_waypoints_list();
    log_.line("<<");
    return result;
}

// ---------------------------------------------------------------- upload

void gps_link::upload_gps()
{
    if (!gps_enabled()) return;
    // The records go out in the handset's own layout, so an upload needs a
    // handset that a start-up identified on a port still open. Without one it
    // starts the link itself, as "Initialise GPS" does, rather than failing
    // with nothing in the memo to say why.
    if (!busy_ && !(protocol_supported_ && port_.opened())) init_gps();
    if (!upload_waypoints() && !busy_ && !cancel_requested_) observer_.error_box("Waypoint Upload failed");
}

bool gps_link::upload_waypoints()
{
    uploaded_ = 0;
    const record_reader& layout = readers_[app_waypoint];
    if (initialising_ || !protocol_supported_ || !(protocols_.protocol_flags & 1) || cancel_requested_ ||
        encode_waypoint(layout, {}).empty())
        return false;
    port_.clear();
    return at_transfer_speed([&] { return send_waypoints(layout); });
}

bool gps_link::send_waypoints(const record_reader& layout)
{
    log_.line(">>upload_waypoints");
    renamed_ = 0;
    if (doc_.waypoints.size() > most_records) {
        log_.line("more than " + std::to_string(most_records) + " waypoints: nothing sent");
        log_.line("<<");
        return false;
    }
    std::vector<std::string> names;
    names.reserve(doc_.waypoints.size());
    for (const t_waypoint* w : doc_.waypoints) names.push_back(w->name);
    const std::vector<std::string> idents = unique_idents(layout, names);
    const auto count = static_cast<std::uint16_t>(doc_.waypoints.size());
    const std::uint8_t records[2] = {static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)};
    bool ok = port_.send_acknowledged(protocols_.link_packet_ids[lp_records], records);
    if (ok && count > 0) observer_.progress_range(0, count - 1);
    for (std::size_t i = 0; ok && i < doc_.waypoints.size(); ++i) {
        if (cancel_requested_) {
            abort_transfer();
            log_.line("cancelled after " + std::to_string(uploaded_) + " of " + std::to_string(count));
            ok = false;
            break;
        }
        const t_waypoint& w = *doc_.waypoints[i];
        if (i % 20 == 0 && i > 0) observer_.clear_status();
        log_.line(">>waypoint");
        log_.line(w.name);
        if (const std::string cut = handset_ident(layout, w.name); cut != idents[i]) {
            log_.line(without_padding(cut) + " is taken: sent as " + without_padding(idents[i]));
            ++renamed_;
        }
        const std::optional<float> alt =
            has_altitude(w.alt) ? std::optional<float>(static_cast<float>(w.alt)) : std::nullopt;
        const auto record = encode_waypoint(layout, {idents[i], w.lat, w.lon, alt});
        ok = port_.send_acknowledged(protocols_.link_packet_ids[lp_waypoint_data], record);
        if (ok) ++uploaded_;
        observer_.progress_step();
        log_.line("<<");
    }
    if (ok) {
        const std::uint8_t done[2] = {protocols_.command_ids[cmd_transfer_waypoints], 0};
        ok = port_.send_acknowledged(protocols_.link_packet_ids[lp_transfer_complete], done);
    }
    observer_.progress_reset();
    log_.line("<<");
    return ok;
}

void gps_link::abort_transfer()
{
    log_.line(">>abort transfer");
    const std::uint8_t command_id = protocols_.link_packet_ids[lp_command_data];
    const std::uint8_t abort[2] = {protocols_.command_ids[cmd_abort_transfer], 0};
    bool acknowledged = false;
    if (port_.send_packet(command_id, abort)) {
        // A record the handset had already started comes before the
        // acknowledgement; it is dropped. The handset sends one at a time.
        for (int i = 0; i < 3 && !acknowledged; ++i) {
            const auto got = port_.read_packet();
            if (!got) break;
            acknowledged = got->id == ack_id && !got->data.empty() && got->data[0] == command_id;
        }
    }
    log_.line(acknowledged ? "ack received" : "no ack");
    log_.line("<<");
}

} // namespace wayloom::gps
