#include "app/program_paths.h"

#include <filesystem>
#include <system_error>

namespace wayloom {

namespace {

bool is_directory(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool has_drive(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

// Up to and including the last separator; a name with a drive may use "\".
std::string cut_after_last_separator(std::string_view path)
{
    const auto last = path.find_last_of(has_drive(path) ? "/\\" : "/");
    return last == std::string_view::npos ? std::string{} : std::string(path.substr(0, last + 1));
}

} // namespace

std::optional<std::string> parse_command_line(std::span<const std::string> arguments,
                                              const char* env_home,
                                              std::string_view executable_directory,
                                              startup_options& out)
{
    out.executable_directory = with_trailing_slash(executable_directory);
    out.program_directory = out.executable_directory;
    if (env_home && *env_home) out.program_directory = with_trailing_slash(env_home);
    out.map_argument.reset();
    out.gps_port.reset();

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--home") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return "--home needs a directory";
            out.program_directory = with_trailing_slash(arguments[++i]);
        } else if (a.rfind("--home=", 0) == 0) {
            if (a.size() == 7) return "--home needs a directory";
            out.program_directory = with_trailing_slash(std::string_view(a).substr(7));
        } else if (a == "--gps-port") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return "--gps-port needs a serial port";
            out.gps_port = arguments[++i];
        } else if (!out.map_argument) {
            out.map_argument = a;
        }
    }
    return std::nullopt;
}

std::string with_trailing_slash(std::string_view directory)
{
    if (directory.empty() || directory.back() == '/') return std::string(directory);
    return std::string(directory) + "/";
}

std::string without_trailing_slash(std::string_view directory)
{
    while (directory.size() > 1 && directory.back() == '/') directory.remove_suffix(1);
    return std::string(directory);
}

std::string directory_of(std::string_view file_name)
{
    const auto last = file_name.find_last_of('/');
    return last == std::string_view::npos ? std::string{} : std::string(file_name.substr(0, last + 1));
}

bool is_absolute_argument(std::string_view argument)
{
    if (!argument.empty() && (argument.front() == '"' || argument.front() == '\''))
        argument.remove_prefix(1);
    return (!argument.empty() && argument.front() == '/') || has_drive(argument);
}

std::optional<std::string> map_argument_file(std::string_view argument, std::string_view load_path)
{
    if (argument == "debug") return std::nullopt;
    if (is_absolute_argument(argument)) return std::string(argument);
    return join_path(load_path, argument);
}

std::string check_dir_exists(std::string_view directory, std::string_view program_directory)
{
    const std::string program = with_trailing_slash(program_directory);
    const std::string d = without_trailing_slash(directory);
    if (d.empty()) return program;
    if (is_directory(d)) return with_trailing_slash(d);

    std::string parent;
    if (d.rfind("//", 0) == 0) {
        parent.clear();  // a network name: nothing to test the parent on
    } else if (d.front() == '/' || has_drive(d)) {
        parent = cut_after_last_separator(d);
    } else {
        parent = cut_after_last_separator(program + d);
    }
    if (!is_directory(parent)) return program;
    return with_trailing_slash(d);
}

std::string join_path(std::string_view directory, std::string_view name)
{
    if (directory.empty()) return std::string(name);
    while (!name.empty() && name.front() == '/') name.remove_prefix(1);
    return with_trailing_slash(directory) + std::string(name);
}

namespace {

constexpr std::string_view manual_name = "manual.html";

bool is_file(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string installed_share(std::string_view executable_directory)
{
    const std::filesystem::path bin(without_trailing_slash(executable_directory));
    return with_trailing_slash((bin.parent_path() / "share" / "wayloom").string());
}

} // namespace

bool runs_installed(std::string_view executable_directory)
{
    return !is_file(join_path(executable_directory, manual_name)) &&
           is_file(join_path(installed_share(executable_directory), manual_name));
}

std::string shipped_directory(std::string_view executable_directory)
{
    return runs_installed(executable_directory) ? installed_share(executable_directory)
                                                : with_trailing_slash(executable_directory);
}

std::string user_program_directory(const char* xdg_config_home, const char* home)
{
    if (xdg_config_home && *xdg_config_home) return join_path(xdg_config_home, "wayloom/");
    return join_path(home && *home ? home : "/tmp", ".config/wayloom/");
}

} // namespace wayloom
