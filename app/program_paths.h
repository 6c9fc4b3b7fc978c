// The program directory, the directories the file dialogs start in, and the
// map named on the command line. Directories are kept with a trailing "/".
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wayloom {

// What the command line and the environment say about this run.
struct startup_options {
    std::string program_directory;          // ends with "/"
    std::string executable_directory;       // ends with "/"; where the manual ships
    std::optional<std::string> map_argument;  // the first argument that is not an option
    std::optional<std::string> gps_port;      // the GPS window starts shown, on this port
    std::string mount_root = "/";             // where handset drives are looked for
};

// `wayloom [--home DIR] [--gps-port PORT] [MAP | debug]`. The program directory is DIR, else
// `env_home` (WAYLOOM_HOME) when set and not empty, else the executable's
// folder. Returns the message to print when an option is incomplete.
std::optional<std::string> parse_command_line(std::span<const std::string> arguments,
                                              const char* env_home,
                                              std::string_view executable_directory,
                                              startup_options& out);

// "dir" becomes "dir/"; "" stays "".
std::string with_trailing_slash(std::string_view directory);
// "dir/" becomes "dir"; the root "/" stays.
std::string without_trailing_slash(std::string_view directory);
// The part of a file name up to and including its last "/", or "" without one.
std::string directory_of(std::string_view file_name);

// A command-line map name is absolute when it starts with "/" or has a
// drive ("C:..."); a leading double quote or apostrophe is looked past.
bool is_absolute_argument(std::string_view argument);
// The file a command-line argument names: itself when absolute, else
// relative to `load_path`. Returns nothing for "debug", which opens no map.
std::optional<std::string> map_argument_file(std::string_view argument,
                                             std::string_view load_path);

// A stored directory that no longer exists is kept when its parent still
// exists and replaced by the program directory when the parent is gone too
// (or when the directory is empty). Returns the directory to use, with a
// trailing "/".
std::string check_dir_exists(std::string_view directory, std::string_view program_directory);

// The folder the manual and the local page ship in: the executable's own
// when the manual is beside it (a build tree), else PREFIX/share/wayloom/
// for an executable installed in PREFIX/bin. Ends with "/".
std::string shipped_directory(std::string_view executable_directory);

// Whether the executable runs from an installed prefix rather than a build tree.
bool runs_installed(std::string_view executable_directory);

// Where an installed program keeps its settings file and link log, since it
// may not write beside itself: $XDG_CONFIG_HOME/wayloom/, else
// $HOME/.config/wayloom/ (either unset or empty counts as missing). Ends with "/".
std::string user_program_directory(const char* xdg_config_home, const char* home);

// `directory` + `name`, with exactly one "/" between them.
std::string join_path(std::string_view directory, std::string_view name);

} // namespace wayloom
