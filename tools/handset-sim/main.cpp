// handset-sim: a Garmin handset on a pseudo-terminal, for trying and testing
// waypoint transfers without a unit on the serial port.
#include "handset.h"
#include "pty.h"

#include "source/reader.h"
#include "source/writer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stop = 0;
void on_signal(int) { stop = 1; }

const char* const usage =
    "usage: handset-sim [options]\n"
    "Opens a pseudo-terminal, prints its path and answers on it as a Garmin handset.\n"
    "  --product ID        product id (default 77)\n"
    "  --version V         software version in hundredths (default 350)\n"
    "  --description TEXT  product description\n"
    "  --no-protocols      send no protocol array (the host must know the product)\n"
    "  --layout D108       waypoint record layout: D100 D101 D102 D103 D104 D107 D150 D151\n"
    "                      D152 D154 D105 D106 D155 D108 D109 (default D108)\n"
    "  --map FILE.wlm      the waypoints to hold, its shapes and paths as tracks and its paths\n"
    "                      as routes (default: a few built-in waypoints, a field walked round\n"
    "                      and a route)\n"
    "  --walk-step M       walk the map's tracks with a point every M metres (default: the\n"
    "                      nodes alone)\n"
    "  --tracks A301       track protocol: A300 A301 A302, or none (default A301)\n"
    "  --track-header D310 track header layout: D310 D311 D312 (default D310)\n"
    "  --track-layout D301 track point layout: D300 D301 D302 D303 D304 (default D301)\n"
    "  --routes A201       route protocol: A200 A201, or none (default A201)\n"
    "  --route-header D202 route header layout: D200 D201 D202 (default D202)\n"
    "  --baud B            pace what is sent at B baud, 10 bits a byte\n"
    "  --ignore-speed-change  do not answer a host's request for a faster line speed\n"
    "  --bad-checksum N    send record N with a wrong checksum\n"
    "  --bad-copies K      send record N spoilt K times, resends after a NAK included (default 1)\n"
    "  --drop N            never send record N\n"
    "  --no-ack N          do not acknowledge the N-th packet from the host\n"
    "  --silent-after N    send nothing after N packets\n"
    "  --nak N             answer the N-th packet from the host with a NAK\n"
    "  --hang-up-after N   break the line (close the terminal) after sending N packets\n"
    "  --store FILE.wlm    write the waypoints a host uploads to this map file\n"
    "  --link PATH         also make PATH a symbolic link to the pseudo-terminal\n"
    "  --trace FILE        note each abort the host asks for and each line speed change\n";

bool to_int(std::string_view text, int& out)
{
    char* end = nullptr;
    const std::string s(text);
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || v < 0 || v > 1'000'000) return false;
    out = static_cast<int>(v);
    return true;
}

// "D301" or "301" as 301, when `known` takes it.
bool to_layout(std::string_view text, bool (*known)(int), int& out)
{
    if (!text.empty() && (text[0] == 'D' || text[0] == 'd' || text[0] == 'A' || text[0] == 'a'))
        text.remove_prefix(1);
    int number = 0;
    if (!to_int(text, number) || !known(number)) return false;
    out = number;
    return true;
}

std::vector<handset::waypoint> built_in_waypoints()
{
    return {{"gate", 52.4130, -4.0520, 61.5f},
            {"barn", 52.4142, -4.0540, 63.0f},
            {"well", 52.4117, -4.0487, 57.25f},
            {"post-7", -33.8568, 151.2153, 4.0f}};
}

// A field walked round with a point every two metres, a lane from the gate,
// and a route from the gate by the barn to the well.
handset::holdings built_in_holdings()
{
    const std::vector<handset::track_point> field{
        {52.4122, -4.0488, 60}, {52.4142, -4.0488, 64}, {52.4146, -4.0442, 66.5f}, {52.4124, -4.0440, 60}};
    const auto w = built_in_waypoints();
    return {{{"FIELD WALK", handset::walk_along(field, 2, true)},
             {"LANE", handset::walk_along({{52.4130, -4.0520, 61.5f}, {52.4100, -4.0524, 58}}, 10, false)}},
            {{"TO WELL", 1, {w[0], w[1], w[2]}}}};
}

bool load_map(const std::string& file, double step, std::vector<handset::waypoint>& out,
              handset::holdings& held)
{
    wayloom::map_document doc;
    const auto report = wayloom::read_map(doc, file);
    if (!report.ok()) {
        std::cerr << "handset-sim: " << report.errors.front() << '\n';
        return false;
    }
    const auto as_waypoint = [](const wayloom::t_waypoint& w) {
        return handset::waypoint{w.name, static_cast<double>(w.lat), static_cast<double>(w.lon),
                                 static_cast<float>(w.alt)};
    };
    for (const auto& w : doc.waypoints) out.push_back(as_waypoint(*w));
    for (const auto& shape : doc.shapes) {
        std::vector<handset::track_point> corners;
        handset::route r{shape->name, static_cast<int>(held.routes.size()) + 1, {}};
        for (const auto& node : shape->nodes) {
            const wayloom::t_waypoint* w = doc.waypoint(node.waypoint);
            const double lat = static_cast<double>(node.lat / 360), lon = static_cast<double>(node.lon / 360);
            corners.push_back({lat, lon, w ? static_cast<float>(w->alt) : 0.0f});
            r.waypoints.push_back(w ? as_waypoint(*w) : handset::waypoint{shape->name, lat, lon, 0});
        }
        held.tracks.push_back({shape->name, handset::walk_along(corners, step, !shape->is_path())});
        if (shape->is_path()) held.routes.push_back(std::move(r));
    }
    return true;
}

bool store_map(const std::string& file, const std::vector<handset::waypoint>& waypoints)
{
    wayloom::map_document doc;
    for (const auto& w : waypoints) {
        auto& t = doc.create_waypoint();
        t.name = w.name;
        t.lat = w.lat;
        t.lon = w.lon;
        t.alt = w.alt;
    }
    std::string error;
    if (wayloom::save_map(doc, file, &error)) return true;
    std::cerr << "handset-sim: cannot write " << file << ": " << error << '\n';
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    handset::options options;
    std::string map_file, store_file, link_path, trace_file;
    int walk_step = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool has_value = i + 1 < argc;
        const std::string_view value = has_value ? argv[i + 1] : "";
        int number = 0;
        auto number_option = [&](int& target) {
            if (!has_value || !to_int(value, number)) return false;
            target = number;
            ++i;
            return true;
        };
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return 0;
        } else if (arg == "--ignore-speed-change") {
            options.speed_change = false;
        } else if (arg == "--no-protocols") {
            options.protocols = false;
        } else if (arg == "--product" || arg == "--version") {
            int v = 0;
            ok = number_option(v) && v <= 65535;
            if (arg == "--product") options.product = static_cast<std::uint16_t>(v);
            else options.version = static_cast<std::int16_t>(v);
        } else if (arg == "--description" && has_value) {
            options.description = value;
            ++i;
        } else if (arg == "--layout" && has_value) {
            std::string_view l = value;
            if (!l.empty() && (l[0] == 'D' || l[0] == 'd')) l.remove_prefix(1);
            ok = to_int(l, number) && handset::known_layout(number);
            options.layout = number;
            ++i;
        } else if ((arg == "--tracks" || arg == "--routes") && value == "none") {
            (arg == "--tracks" ? options.track_protocol : options.route_protocol) = 0;
            ++i;
        } else if (arg == "--tracks" && has_value) {
            ok = to_layout(value, [](int n) { return n >= 300 && n <= 302; }, options.track_protocol);
            ++i;
        } else if (arg == "--routes" && has_value) {
            ok = to_layout(value, [](int n) { return n == 200 || n == 201; }, options.route_protocol);
            ++i;
        } else if (arg == "--track-header" && has_value) {
            ok = to_layout(value, handset::known_track_header_layout, options.track_header);
            ++i;
        } else if (arg == "--track-layout" && has_value) {
            ok = to_layout(value, handset::known_track_point_layout, options.track_layout);
            ++i;
        } else if (arg == "--route-header" && has_value) {
            ok = to_layout(value, handset::known_route_header_layout, options.route_header);
            ++i;
        } else if (arg == "--walk-step") {
            ok = number_option(walk_step);
        } else if ((arg == "--map" || arg == "--store" || arg == "--link" || arg == "--trace") && has_value) {
            (arg == "--map" ? map_file : arg == "--store" ? store_file : arg == "--link" ? link_path : trace_file) = value;
            ++i;
        } else if (arg == "--baud") {
            ok = number_option(options.baud);
        } else if (arg == "--bad-checksum") {
            ok = number_option(options.bad_checksum);
        } else if (arg == "--bad-copies") {
            ok = number_option(options.bad_copies);
        } else if (arg == "--drop") {
            ok = number_option(options.drop);
        } else if (arg == "--no-ack") {
            ok = number_option(options.no_ack);
        } else if (arg == "--silent-after") {
            ok = number_option(options.silent_after);
        } else if (arg == "--nak") {
            ok = number_option(options.nak);
        } else if (arg == "--hang-up-after") {
            ok = number_option(options.hang_up_after);
        } else {
            ok = false;
        }
        if (!ok) {
            std::cerr << "handset-sim: bad argument " << arg << "\n" << usage;
            return 2;
        }
    }

    std::vector<handset::waypoint> waypoints;
    handset::holdings held;
    if (map_file.empty()) {
        waypoints = built_in_waypoints();
        held = built_in_holdings();
    } else if (!load_map(map_file, walk_step, waypoints, held)) {
        return 1;
    }

    handset::pty line;
    std::string error;
    if (!handset::open_pty(line, error)) {
        std::cerr << "handset-sim: " << error << '\n';
        return 1;
    }
    if (!link_path.empty()) {
        ::unlink(link_path.c_str());
        if (::symlink(line.path.c_str(), link_path.c_str()) != 0) {
            std::cerr << "handset-sim: cannot link " << link_path << ": " << std::strerror(errno) << '\n';
            return 1;
        }
    }
    std::cout << line.path << std::endl;

    std::signal(SIGTERM, on_signal);
    std::signal(SIGINT, on_signal);
    handset::session session(options, waypoints, [&](const std::vector<std::uint8_t>& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(line.master, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                if (errno == EINTR || errno == EAGAIN) continue;
                return;
            }
            done += static_cast<std::size_t>(n);
        }
    }, held);

    std::ofstream trace;
    if (!trace_file.empty()) {
        trace.open(trace_file, std::ios::trunc);
        if (!trace) {
            std::cerr << "handset-sim: cannot write " << trace_file << '\n';
            return 1;
        }
        session.set_trace([&](const std::string& line) { trace << line << std::endl; });
    }

    bool stored = false;
    while (!stop) {
        pollfd p{line.master, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        if (ready > 0 && (p.revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(line.master, buffer, sizeof buffer);
            if (n > 0) session.receive({buffer, static_cast<std::size_t>(n)});
        }
        session.tick();
        if (session.hung_up()) {
            // Give the host time to take what was sent, then break the line.
            ::usleep(300'000);
            break;
        }
        if (!store_file.empty() && session.upload_complete() && !stored) {
            stored = store_map(store_file, session.uploaded());
            if (stored) std::cerr << "handset-sim: stored " << session.uploaded().size() << " waypoints\n";
        }
        if (!session.upload_complete()) stored = false;
    }
    if (!link_path.empty()) ::unlink(link_path.c_str());
    handset::close_pty(line);
    return 0;
}
