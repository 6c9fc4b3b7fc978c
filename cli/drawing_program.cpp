#include "cli/drawing_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace wayloom::cli {

int run_drawing_program(char** argv)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string program = (self.parent_path() / "wayloom-cli-drawing").string();
    if (!ec) ::execv(program.c_str(), argv);
    std::cerr << "wayloom-cli: cannot run " << program << ": "
              << (ec ? ec.message() : std::string(std::strerror(errno))) << '\n';
    return 1;
}

} // namespace wayloom::cli
