#include "source/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace wayloom {

bool replace_file(const std::string& file_name,
                  const std::function<bool(const std::string& temp, std::string& reason)>& write,
                  std::string* error)
{
    namespace fs = std::filesystem;
    const fs::path target(file_name);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    ::close(fd);
    std::string reason;
    if (!write(temp, reason)) {
        std::remove(temp.c_str());
        if (error) *error = reason;
        return false;
    }
    // Keep the permissions of the file being replaced.
    std::error_code ec;
    const auto old = fs::status(target, ec);
    fs::permissions(temp, ec || !fs::exists(old) ? fs::perms(0644) : old.permissions(), ec);
    if (std::rename(temp.c_str(), file_name.c_str()) != 0) {
        if (error) *error = std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace wayloom
