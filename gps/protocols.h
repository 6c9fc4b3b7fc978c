// The Garmin protocols and data types a handset can name, and the record of
// what a handset speaks.
#pragma once

#include <array>
#include <cstdint>

namespace wayloom::gps {

// Bit k of a protocol_set is item k. The route and track protocols and
// layouts of newer handsets come after P000, so that every earlier item
// keeps its bit.
enum class protocol_item : std::uint8_t {
    A010, A011, A100, A200, A300, A400, A500, A600, A700, A800,
    D100, D101, D102, D103, D104, D105, D106, D107, D108, D109, D150, D151, D152, D154, D155,
    D200, D201, D202, D210, D300, D301, D310, D400, D403, D450, D500, D501, D550, D551, D600, D700, D800,
    L001, L002, P000,
    A201, A301, A302, D302, D303, D304, D311, D312,
};
namespace protocol {
using enum protocol_item;
}
constexpr int protocol_item_count = 53;

using protocol_set = std::uint64_t;  // 53 bits used

constexpr protocol_set bit(protocol_item i) { return protocol_set{1} << static_cast<unsigned>(i); }
constexpr bool has(protocol_set s, protocol_item i) { return (s & bit(i)) != 0; }

// The number a data type item stands for: D108 is 108; 0 for a protocol.
int data_type_number(protocol_item i);

enum application : std::uint8_t { app_waypoint, app_route, app_track, app_proximity, app_almanac,
                                  app_date_time, app_position, app_pvt };

// Order of link_packet_ids.
enum link_packet : std::uint8_t { lp_command_data, lp_transfer_complete, lp_date_time_data, lp_position_data,
                                  lp_proximity_waypoint_data, lp_records, lp_route_header,
                                  lp_route_waypoint_data, lp_almanac_data, lp_track_data, lp_waypoint_data,
                                  lp_pvt_data, lp_route_link_data, lp_track_header };
// Order of command_ids.
enum command : std::uint8_t { cmd_abort_transfer, cmd_transfer_almanac, cmd_transfer_position,
                              cmd_transfer_proximity, cmd_transfer_route, cmd_transfer_time, cmd_transfer_track,
                              cmd_transfer_waypoints, cmd_turn_off_power, cmd_start_pvt, cmd_stop_pvt };

constexpr std::uint16_t flag_skip_next_data_type = 256;

struct protocol_capabilities {
    std::uint16_t product_id = 0;
    std::int32_t version_bound = 0;
    protocol_set physical = 0, link = 0, command_and_applications = 0;
    std::array<protocol_set, 8> applications{};
    std::uint16_t protocol_flags = 0;  // bits 0-7: A100..A800 present; 256: skip the next data type
    std::array<std::uint8_t, 14> link_packet_ids = filled<14>();
    std::array<std::uint8_t, 11> command_ids = filled<11>();

    template <std::size_t n> static constexpr std::array<std::uint8_t, n> filled()
    {
        std::array<std::uint8_t, n> a{};
        a.fill(255);
        return a;
    }
};

constexpr std::array<std::uint8_t, 14> l001_packet_ids{10, 12, 14, 17, 19, 27, 29, 30, 31, 34, 35, 51, 98, 99};
constexpr std::array<std::uint8_t, 14> l002_packet_ids{11, 12, 20, 24, 255, 35, 37, 39, 4, 255, 43, 255, 255, 255};
constexpr std::array<std::uint8_t, 11> a010_command_ids{0, 1, 2, 3, 4, 5, 6, 7, 8, 49, 50};
constexpr std::array<std::uint8_t, 11> a011_command_ids{0, 4, 255, 255, 8, 20, 255, 21, 26, 255, 255};

} // namespace wayloom::gps
