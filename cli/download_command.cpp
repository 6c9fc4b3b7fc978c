#include "cli/commands.h"
#include "cli/handset_terminal.h"
#include "cli/map_loading.h"
#include "gps/system_port.h"

#include <array>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace wayloom::cli {

int download_command(arguments args)
{
    constexpr std::array<std::string_view, 8> with_value{"--port", "--speed", "--transfer-speed", "--timeout", "--interval",
                                                         "--merge", "-o", "--output"};
    constexpr std::array<std::string_view, 1> flags{"--log"};
    parsed_arguments parsed;
    std::string problem;
    const bool parsed_ok = parse_arguments(args, with_value, flags, parsed, problem);
    const std::string* port = parsed.option("--port");
    const std::string* out = parsed.output();
    constexpr std::string_view usage = "usage: wayloom-cli download --port DEV [--speed 9600] [--transfer-speed B] "
                                       "[--timeout MS] [--interval MS] [--merge MAP] -o OUT.wlm [--log]";
    if (!parsed_ok || !port || !out || !parsed.files.empty()) return wrong_arguments(usage, problem);
    gps::port_texts texts;
    if (auto wrong = read_port_options(parsed, texts)) return wrong_arguments(usage, *wrong);

    map_document doc;
    if (const std::string* merge = parsed.option("--merge"))
        if (!read_maps(doc, std::vector<std::string>{*merge}, std::cerr)) return 1;

    terminal_observer seen;
    // The log goes to standard error with --log; the link's own log file is not kept.
    gps::gps_link link(doc, gps::system_port(), seen, "/dev/null");
    link.texts = texts;
    link.set_status_logging(parsed.has_flag("--log"));

    const cancel_on_signals interrupt(link);
    link.init_gps();
    if (!report(seen)) {
        link.demolish();
        return 1;
    }
    const auto before = doc.waypoint_count();
    link.download_gps();
    link.demolish();
    // A signal that came after the last record changes nothing.
    if (const auto& tally = link.last_transfer(); link.cancel_requested() && (!tally || tally->cancelled)) {
        if (!tally) {
            std::cerr << "error: cancelled\n";
            return cancelled_exit_code;
        }
        // What came is kept, as with records lost on the line.
        const int written = write_map(doc, *out);
        std::cerr << "error: cancelled (" << tally->received << " of " << tally->announced
                  << " waypoints received)\n";
        return written == 0 ? cancelled_exit_code : written;
    }
    if (const auto& tally = link.last_transfer(); tally && !seen.errors.empty()) {
        // Records were lost: keep what came, and say how much that was.
        write_map(doc, *out);
        std::cerr << "error: " << seen.errors.front() << " (" << tally->received << " of " << tally->announced
                  << " waypoints received)\n";
        return 1;
    }
    if (!report(seen)) return 1;
    std::cerr << "downloaded " << doc.waypoint_count() - before << " waypoints from product "
              << link.product_id() << '\n';

    return write_map(doc, *out);
}

} // namespace wayloom::cli
