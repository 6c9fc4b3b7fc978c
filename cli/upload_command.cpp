#include "cli/commands.h"
#include "cli/handset_terminal.h"
#include "cli/map_loading.h"
#include "gps/system_port.h"

#include <array>
#include <iostream>
#include <memory>
#include <string>

namespace wayloom::cli {

int upload_command(arguments args)
{
    constexpr std::array<std::string_view, 5> with_value{"--port", "--speed", "--transfer-speed", "--timeout", "--interval"};
    constexpr std::array<std::string_view, 1> flags{"--log"};
    parsed_arguments parsed;
    std::string problem;
    const bool parsed_ok = parse_arguments(args, with_value, flags, parsed, problem);
    constexpr std::string_view usage = "usage: wayloom-cli upload --port DEV MAP [MAP...] [--speed 9600] "
                                       "[--transfer-speed B] [--timeout MS] [--interval MS] [--log]";
    if (!parsed_ok || !parsed.option("--port") || parsed.files.empty()) return wrong_arguments(usage, problem);
    gps::port_texts texts;
    if (auto wrong = read_port_options(parsed, texts)) return wrong_arguments(usage, *wrong);
    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr)) return 1;

    terminal_observer seen;
    gps::gps_link link(doc, gps::system_port(), seen, "/dev/null");
    link.texts = texts;
    link.set_status_logging(parsed.has_flag("--log"));
    const cancel_on_signals interrupt(link);
    link.init_gps();
    if (seen.errors.empty()) link.upload_gps();
    link.demolish();
    if (link.cancel_requested() && link.uploaded() < doc.waypoint_count()) {
        std::cerr << "error: cancelled (" << link.uploaded() << " of " << doc.waypoint_count() << " waypoints sent)\n";
        return cancelled_exit_code;
    }
    if (!report(seen)) return 1;
    std::cerr << "uploaded " << link.uploaded() << " waypoints";
    if (link.renamed() > 0)
        std::cerr << ", " << link.renamed() << " under a numbered name as their own was taken (--log lists them)";
    std::cerr << '\n';
    return 0;
}

} // namespace wayloom::cli
