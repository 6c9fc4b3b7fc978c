// The commands of wayloom-cli. Each takes the arguments after its name and
// returns the exit code: 0 success, 1 failure (message on standard error),
// 2 wrong arguments (usage on standard error).
#pragma once

#include <span>
#include <string_view>

namespace wayloom::cli {

using arguments = std::span<const std::string_view>;

int check_command(arguments args);
int save_command(arguments args);
int render_command(arguments args);
int areas_command(arguments args);
int stats_command(arguments args);
int legend_command(arguments args);
int download_command(arguments args);
int upload_command(arguments args);

struct command {
    std::string_view name;
    std::string_view usage;    // the arguments, for the help text
    std::string_view summary;
    int (*run)(arguments);     // null for a drawing command: wayloom-cli-drawing runs it
};

// Every command, in the order the help lists them.
std::span<const command> all_commands();

} // namespace wayloom::cli
