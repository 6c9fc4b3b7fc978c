#include "cli/commands.h"
#include "cli/handset_terminal.h"
#include "cli/map_loading.h"
#include "gps/system_port.h"
#include "source/number_text.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace wayloom::cli {

namespace {

// "--simplify" and "--close-within" into the track rules, left as they are
// when missing. Returns the usage problem of a value that is no distance.
std::optional<std::string> read_track_options(const parsed_arguments& parsed, track_rules& rules)
{
    for (const auto& [name, metres] : {std::pair{"--simplify", &rules.simplify}, {"--close-within", &rules.close_within}}) {
        const std::string* text = parsed.option(name);
        if (!text) continue;
        const auto value = read_metres(*text);
        if (!value) return std::string(name) + " wants metres from 0 to " + format_general(most_metres) + ", not " + *text;
        *metres = *value;
    }
    return std::nullopt;
}

// One transfer of a download: its failure box, its records and what they count.
struct transfer_outcome {
    const char* failure;
    const std::optional<gps::transfer_tally>& tally;
    const char* unit;
    bool wanted;
};

} // namespace

int download_command(arguments args)
{
    constexpr std::array<std::string_view, 10> with_value{"--port", "--speed", "--transfer-speed", "--timeout",
                                                          "--interval", "--merge", "-o", "--output",
                                                          "--simplify", "--close-within"};
    constexpr std::array<std::string_view, 3> flags{"--log", "--tracks", "--routes"};
    parsed_arguments parsed;
    std::string problem;
    const bool parsed_ok = parse_arguments(args, with_value, flags, parsed, problem);
    const std::string* port = parsed.option("--port");
    const std::string* out = parsed.output();
    constexpr std::string_view usage = "usage: wayloom-cli download --port DEV [--speed 9600] [--transfer-speed B] "
                                       "[--timeout MS] [--interval MS] [--merge MAP] [--tracks] [--routes] "
                                       "[--simplify METRES] [--close-within METRES] -o OUT.wlm [--log]";
    if (!parsed_ok || !port || !out || !parsed.files.empty()) return wrong_arguments(usage, problem);
    gps::port_texts texts;
    if (auto wrong = read_port_options(parsed, texts)) return wrong_arguments(usage, *wrong);
    const gps::download_choice choice{true, parsed.has_flag("--tracks"), parsed.has_flag("--routes")};
    track_rules rules;
    if (auto wrong = read_track_options(parsed, rules)) return wrong_arguments(usage, *wrong);

    map_document doc;
    doc.track_reading = rules;
    if (const std::string* merge = parsed.option("--merge"))
        if (!read_maps(doc, std::vector<std::string>{*merge}, std::cerr)) return 1;

    terminal_observer seen;
    // The log goes to standard error with --log; the link's own log file is not kept.
    gps::gps_link link(doc, gps::system_port(), seen, "/dev/null");
    link.texts = texts;
    link.choice = choice;
    link.set_status_logging(parsed.has_flag("--log"));

    const cancel_on_signals interrupt(link);
    link.init_gps();
    if (!report(seen)) {
        link.demolish();
        return 1;
    }
    link.download_gps();
    link.demolish();
    const gps::lines_downloaded& lines = link.last_lines();
    const transfer_outcome transfers[] = {
        {"Waypoint Download failed", link.last_transfer(), "waypoints", choice.waypoints},
        {"Track Download failed", lines.track_records, "records", choice.tracks},
        {"Route Download failed", lines.route_records, "records", choice.routes}};
    const bool started = std::ranges::any_of(transfers, [](const auto& t) { return t.tally.has_value(); });
    const auto stopped = std::ranges::find_if(transfers, [](const auto& t) { return t.tally && t.tally->cancelled; });
    const bool all_ran = std::ranges::all_of(transfers, [](const auto& t) { return !t.wanted || t.tally; });
    // A signal that came after the last record changes nothing; one that
    // came sooner keeps what came, as records lost on the line do.
    if (link.cancel_requested() && (stopped != std::end(transfers) || !all_ran)) {
        const int written = started ? write_map(doc, *out) : 0;
        std::cerr << "error: cancelled";
        if (stopped != std::end(transfers))
            std::cerr << " (" << stopped->tally->received << " of " << stopped->tally->announced << " " << stopped->unit
                      << " received)";
        std::cerr << '\n';
        return written == 0 ? cancelled_exit_code : written;
    }
    if (!seen.errors.empty()) {
        // What came is kept whenever a transfer started; a transfer that
        // lost records says how many came.
        if (started) write_map(doc, *out);
        for (const auto& t : transfers) {
            if (seen.errors.front() != t.failure || !t.tally) continue;
            std::cerr << "error: " << t.failure << " (" << t.tally->received << " of " << t.tally->announced << " "
                      << t.unit << " received)\n";
            return 1;
        }
        report(seen);
        return 1;
    }
    std::cerr << "handset product " << link.product_id() << '\n';
    const int waypoints = link.last_transfer() ? link.last_transfer()->received : 0;
    std::cout << "downloaded " << waypoints << " waypoints, " << lines.tracks << " tracks, " << lines.routes
              << " routes\n";

    return write_map(doc, *out);
}

} // namespace wayloom::cli
