#include "cli/commands.h"
#include "cli/map_loading.h"

#include <array>
#include <iostream>

namespace wayloom::cli {

int save_command(arguments args)
{
    constexpr std::array<std::string_view, 2> with_value{"-o", "--output"};
    parsed_arguments parsed;
    std::string problem;
    const bool parsed_ok = parse_arguments(args, with_value, {}, parsed, problem);
    const std::string* out = parsed.output();
    if (!parsed_ok || !out || parsed.files.empty())
        return wrong_arguments("usage: wayloom-cli save IN [IN...] -o OUT", problem);
    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr)) return 1;
    return write_map(doc, *out);
}

} // namespace wayloom::cli
