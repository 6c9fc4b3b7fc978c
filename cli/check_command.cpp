#include "cli/commands.h"
#include "cli/map_loading.h"

#include <iostream>

namespace wayloom::cli {

int check_command(arguments args)
{
    parsed_arguments parsed;
    std::string problem;
    if (!parse_arguments(args, {}, {}, parsed, problem) || parsed.files.empty())
        return wrong_arguments("usage: wayloom-cli check MAP [MAP...]", problem);
    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr)) return 1;
    std::cout << "waypoints " << doc.waypoint_count() << ", classes " << doc.class_counter()
              << ", shapes " << doc.shape_count() << ", sets " << doc.set_count() << '\n';
    return 0;
}

} // namespace wayloom::cli
