// wayloom-cli: the map core without a window.
#include "cli/commands.h"
#include "cli/drawing_program.h"

#include <array>
#include <iostream>
#include <string_view>
#include <vector>

namespace wayloom::cli {

namespace {

// Add a command here and declare it in commands.h.
constexpr std::array command_table{
    command{"check", "MAP [MAP...]",
            "read the maps (the first opened, the others merged) and print what they hold",
            check_command},
    command{"save", "IN [IN...] -o OUT", "read the maps and write them back as one map file; OUT.gpx writes GPX, OUT.geojson GeoJSON, OUT.kml KML and OUT.shp Shapefiles",
            save_command},
    command{"render", "MAP [MAP...] -o FILE.bmp|FILE.png|FILE.pdf|FILE.svg [--width W] [--height H] [--border N] [--select all|NAME,NAME...] [--background R,G,B] [--legend NAME,... | --legend-classes NAME,...] [--legend-at X,Y] [--font-size N] [--bold] [--unit metre|kilometre|feet|yard|mile] [--ruler AMOUNT [--ruler-at X,Y] [--vertical]] [--scale N] [--paper a4|a3|letter] [--landscape]",
            "draw the selected items as the main window would, with a legend if asked, and write the picture; PDF and SVG as vectors, with --scale 1:N or --paper as a page",
            nullptr},
    command{"areas", "MAP [MAP...]",
            "print each shape's estimated area, coverage and area on the WGS84 ellipsoid", nullptr},
    command{"stats", "MAP [MAP...] [--perimeter NAME] [--shapes NAME,... | --classes NAME,...] [--unit metre|kilometre|feet|yard|mile] [--ellipsoidal] [-o FILE]",
            "write the area report of the shapes or classes against the perimeter shape, as the statistics window does",
            nullptr},
    command{"legend", "MAP [MAP...] (--shapes NAME,... | --classes NAME,...) [--font-size N] [--bold] -o FILE.bmp|FILE.png",
            "write the legend of the named shapes or classes alone, as the legend window saves it",
            nullptr},
    command{"download", "--port DEV [--speed 9600] [--transfer-speed B] [--timeout MS] [--interval MS] [--merge MAP] [--tracks] [--routes] [--simplify METRES] [--close-within METRES] -o OUT.wlm [--log]",
            "start up the Garmin handset on the serial port or USB (--port usb: or usb:N), download its waypoints (and tracks and routes) and write the map; Ctrl+C stops it and writes what came",
            download_command},
    command{"upload", "--port DEV MAP [MAP...] [--speed 9600] [--transfer-speed B] [--timeout MS] [--interval MS] [--log]",
            "start up the Garmin handset on the serial port or USB and send it the maps' waypoints; Ctrl+C stops it",
            upload_command},
};

void print_help(std::ostream& out)
{
    out << "usage: wayloom-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const command& c : command_table)
        out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
    out << "\nwayloom-cli --help shows this text, wayloom-cli help COMMAND one command's usage,\n"
           "wayloom-cli --version the version.\n";
}

// `help COMMAND`: the command's usage line and what it does.
int print_command_help(std::string_view name)
{
    for (const command& c : command_table) {
        if (c.name != name) continue;
        std::cout << "usage: wayloom-cli " << c.name << ' ' << c.usage << "\n    " << c.summary << '\n';
        return 0;
    }
    std::cerr << "wayloom-cli: unknown command '" << name << "'\n";
    return 2;
}

} // namespace

std::span<const command> all_commands() { return command_table; }

} // namespace wayloom::cli

int main(int argc, char** argv)
{
    using namespace wayloom::cli;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        print_help(std::cerr);
        return 2;
    }
    if (args[0] == "help" && args.size() == 2) return print_command_help(args[1]);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        print_help(std::cout);
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "wayloom-cli " << WAYLOOM_VERSION << '\n';
        return 0;
    }
    for (const command& c : all_commands())
        if (c.name == args[0]) return c.run ? c.run(arguments(args).subspan(1)) : run_drawing_program(argv);
    std::cerr << "wayloom-cli: unknown command '" << args[0] << "'\n\n";
    print_help(std::cerr);
    return 2;
}
