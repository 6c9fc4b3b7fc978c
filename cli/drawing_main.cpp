// wayloom-cli-drawing: the commands of wayloom-cli that draw, started by it.
#include "cli/commands.h"

#include <array>
#include <iostream>
#include <string_view>
#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    using namespace wayloom::cli;
    constexpr std::array<std::pair<std::string_view, int (*)(arguments)>, 4> drawing{{
        {"render", render_command},
        {"areas", areas_command},
        {"stats", stats_command},
        {"legend", legend_command},
    }};
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const auto& [name, run] : drawing)
        if (!args.empty() && args[0] == name) return run(arguments(args).subspan(1));
    std::cerr << "wayloom-cli-drawing runs the drawing commands of wayloom-cli: see wayloom-cli --help\n";
    return 2;
}
