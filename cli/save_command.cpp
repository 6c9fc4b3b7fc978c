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
    const std::string* out = nullptr;
    if (parse_arguments(args, with_value, {}, parsed, problem)) {
        out = parsed.option("-o");
        if (!out) out = parsed.option("--output");
    }
    if (!out || parsed.files.empty())
        return wrong_arguments("usage: wayloom-cli save IN [IN...] -o OUT", problem);
    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr)) return 1;
    return write_map(doc, *out);
}

} // namespace wayloom::cli
