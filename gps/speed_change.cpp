#include "gps/speed_change.h"

#include "source/number_text.h"

#include <limits>
#include <thread>

namespace wayloom::gps {

std::optional<long> requested_speed(std::string_view text)
{
    const auto value = parse_whole_number(text, 1, std::numeric_limits<long>::max());
    if (!value) return std::nullopt;
    return static_cast<long>(*value);
}

long change_line_speed(packet_port& port, link_log& log, long baud)
{
    const long before = port.speed();
    log.line(">>change speed : " + std::to_string(baud));
    const std::uint8_t none[2] = {0, 0};
    const auto rate = static_cast<std::uint32_t>(baud);
    const std::uint8_t request[4] = {static_cast<std::uint8_t>(rate), static_cast<std::uint8_t>(rate >> 8),
                                     static_cast<std::uint8_t>(rate >> 16), static_cast<std::uint8_t>(rate >> 24)};
    std::optional<packet> answer;
    if (port.send_acknowledged(speed_prepare_id, none) && port.send_acknowledged(speed_request_id, request)) {
        answer = port.read_packet(true);
        if (answer && (answer->id != speed_answer_id || answer->data.size() < 4)) answer.reset();
    }
    if (!answer) {
        // Older units do not know the exchange: the transfer goes on as it is.
        log.line("no answer to the speed request : staying at " + std::to_string(before));
        log.line("<<");
        return before;
    }
    port.send_ack(speed_answer_id);
    const auto& d = answer->data;
    const long accepted = static_cast<long>(static_cast<std::uint32_t>(d[0]) | static_cast<std::uint32_t>(d[1]) << 8 |
                                            static_cast<std::uint32_t>(d[2]) << 16 |
                                            static_cast<std::uint32_t>(d[3]) << 24);
    log.line("speed accepted : " + std::to_string(accepted));
    std::this_thread::sleep_for(speed_switch_delay);
    const std::uint8_t confirm[2] = {static_cast<std::uint8_t>(speed_confirm_code), 0};
    const bool switched = port.set_speed(accepted) && port.send_acknowledged(speed_confirm_id, confirm) &&
                          port.send_acknowledged(speed_confirm_id, confirm);
    if (!switched) {
        log.line("speed change not confirmed : back to " + std::to_string(before));
        port.set_speed(before);
        log.line("<<");
        return before;
    }
    log.line("<<");
    return accepted;
}

} // namespace wayloom::gps
