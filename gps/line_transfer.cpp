// The track log and route transfers of the link session, and the record
// loop they share.
#include "gps/gps_link.h"

#include "gps/track_record.h"
#include "gps/waypoint_record.h"

namespace wayloom::gps {

namespace {

constexpr std::uint8_t not_available = 255;

std::string counted(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::optional<transfer_tally> gps_link::receive_records(std::uint8_t command,
                                                        const std::function<void(const packet&)>& take)
{
    const std::uint8_t command_id = protocols_.link_packet_ids[lp_command_data];
    const std::uint8_t data[2] = {command, 0};
    if (!port_.send_packet(command_id, data) || !port_.get_ack(command_id)) return std::nullopt;
    const auto records = port_.read_packet();
    if (!records) return std::nullopt;
    port_.send_ack(records->id);
    if (records->id != protocols_.link_packet_ids[lp_records]) return std::nullopt;
    const auto& d = records->data;
    transfer_tally tally{0, d.size() >= 2 ? d[0] | d[1] << 8 : 0};
    announce_records(tally.announced);
    int passes = 0, spoilt_copies = 0;
    for (std::optional<packet> got;;) {
        const record_pass pass = next_record(tally.announced - passes, spoilt_copies, tally, got);
        if (pass == record_pass::end) break;
        ++passes;
        observer_.progress_step();
        if (pass == record_pass::lost) continue;
        port_.send_ack(got->id);
        ++tally.received;
        take(*got);
    }
    if (tally.cancelled)
        log_.line("cancelled after " + std::to_string(tally.received) + " of " + std::to_string(tally.announced));
    else if (tally.received < tally.announced)
        log_.line(std::to_string(tally.received) + " of " + std::to_string(tally.announced) + " records received");
    return tally;
}

bool gps_link::download_tracks()
{
    const bool headers = tracks_.protocol == 301 || tracks_.protocol == 302;
    const std::size_t wanted = headers ? 2 : 1;
    const int header_type = headers && tracks_.data_types.size() == 2 ? tracks_.data_types[0] : 0;
    const int point_type = tracks_.data_types.size() == wanted ? tracks_.data_types.back() : 0;
    const std::uint8_t command = protocols_.command_ids[cmd_transfer_track];
    const std::uint8_t point_id = protocols_.link_packet_ids[lp_track_data];
    const std::uint8_t header_id = protocols_.link_packet_ids[lp_track_header];
    if (initialising_ || !protocol_supported_ || cancel_requested_) return false;
    log_.line(">>read track log");
    if (!is_track_point_layout(point_type) || (headers && !is_track_header_layout(header_type)) ||
        command == not_available || point_id == not_available) {
        log_.line("the handset sends no track log the link reads");
        log_.line("<<");
        return false;
    }
    port_.clear();
    track_gatherer gatherer;
    auto& tally = last_lines_.track_records;
    at_transfer_speed([&] {
        tally = receive_records(command, [&](const packet& p) {
            if (headers && p.id == header_id) {
                const std::string ident = decode_track_header(header_type, p.data);
                log_.line("track " + ident);
                gatherer.header(ident);
            } else if (p.id == point_id) {
                if (const auto point = decode_track_point(point_type, p.data)) gatherer.point(*point);
            }
        });
        return tally.has_value();
    });
    for (const walked_track& track : gatherer.take()) {
        if (const t_shape* shape = add_track(doc_, track, doc_.track_reading)) {
            ++last_lines_.tracks;
            log_.line(track.name + ": " + counted(static_cast<int>(track.points.size()), "point", "points") + ", " +
                      (shape->is_path() ? "a path of " : "a shape of ") + counted(shape->node_count(), "node", "nodes"));
        } else {
            ++last_lines_.left_out;
            log_.line(track.name + " left out: " + counted(static_cast<int>(track.points.size()), "point", "points"));
        }
    }
    if (last_lines_.left_out > 0)
        log_.line(counted(last_lines_.left_out, "track", "tracks") + " left out: fewer than 2 points (3 for a shape)");
    log_.line("<<");
    return tally && !tally->cancelled && tally->received == tally->announced;
}

bool gps_link::download_routes()
{
    const bool links = routes_.protocol == 201;
    const auto& types = routes_.data_types;
    const int header_type = types.size() >= 2 ? types[0] : 0;
    const auto waypoint_layout = types.size() >= 2 ? reader_for(types[1]) : std::nullopt;
    const std::uint8_t command = protocols_.command_ids[cmd_transfer_route];
    const std::uint8_t header_id = protocols_.link_packet_ids[lp_route_header];
    const std::uint8_t waypoint_id = protocols_.link_packet_ids[lp_route_waypoint_data];
    if (initialising_ || !protocol_supported_ || cancel_requested_) return false;
    log_.line(">>read routes");
    const bool readable = (routes_.protocol == 200 || links) && is_route_header_layout(header_type) &&
                          waypoint_layout && waypoint_layout->slot == app_waypoint &&
                          command != not_available && header_id != not_available && waypoint_id != not_available;
    if (!readable) {
        log_.line("the handset sends no routes the link reads");
        log_.line("<<");
        return false;
    }
    port_.clear();
    struct gathered {
        std::string name;
        std::vector<route_point> points;
    };
    std::vector<gathered> routes;
    int running_number = 1;
    auto& tally = last_lines_.route_records;
    at_transfer_speed([&] {
        tally = receive_records(command, [&](const packet& p) {
            if (p.id == header_id) {
                routes.push_back({route_name(decode_route_header(header_type, p.data),
                                             static_cast<int>(routes.size()) + 1), {}});
                log_.line("route " + routes.back().name);
            } else if (p.id == waypoint_id && !routes.empty()) {
                const waypoint_fields w = decode_waypoint(waypoint_layout->reader, p.data, running_number++);
                walked_point at{{static_cast<double>(w.lon), static_cast<double>(w.lat)}, std::nullopt};
                if (w.alt) at.alt = *w.alt;
                routes.back().points.push_back({w.name, at});
            }
            // Links (D210) say only how the waypoints are joined: a path joins them straight.
        });
        return tally.has_value();
    });
    waypoint_finder finder;
    for (const gathered& r : routes) {
        if (add_route(doc_, r.name, r.points, finder)) ++last_lines_.routes;
        log_.line(r.name + ": " + counted(static_cast<int>(r.points.size()), "waypoint", "waypoints"));
    }
    log_.line("<<");
    return tally && !tally->cancelled && tally->received == tally->announced;
}

} // namespace wayloom::gps
