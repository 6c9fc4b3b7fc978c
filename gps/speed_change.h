// A faster line speed for a transfer, as many Garmin serial units allow:
// the host asks for a rate, the unit answers with the rate it takes, and
// both sides switch; afterwards the host switches the unit back the same way.
#pragma once

#include "gps/link_log.h"
#include "gps/packet_port.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace wayloom::gps {

// Packet ids of the exchange.
constexpr std::uint8_t speed_prepare_id = 0x1C, speed_request_id = 0x30, speed_answer_id = 0x31,
                       speed_confirm_id = 0x0A;
constexpr std::uint16_t speed_confirm_code = 0x3A;
// The unit switches this long after it answered.
constexpr std::chrono::milliseconds speed_switch_delay{100};

// The rate a "Transfer speed" text asks for; nothing for "Same as port" or
// anything else that is not a positive whole number.
std::optional<long> requested_speed(std::string_view text);

// Switches the unit and the port to `baud`: 0x1C with two zero bytes and
// 0x30 with the rate (32 bits, little-endian), each acknowledged; the unit's
// 0x31 with the rate it takes, acknowledged; about 100 ms later the port at
// that rate and 0x0A with 0x3A twice, each acknowledged at the new rate.
// Returns the rate the line runs at afterwards: the port's old one when the
// unit did not answer or the switch was not confirmed.
long change_line_speed(packet_port& port, link_log& log, long baud);

} // namespace wayloom::gps
