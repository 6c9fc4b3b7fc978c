#include "source/file_replacement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace wayloom {

namespace {

namespace fs = std::filesystem;

fs::path folder_of(const fs::path& target)
{
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// ".NAME." followed by the six characters mkstemp puts in.
std::string prefix_of(const fs::path& target) { return "." + target.filename().string() + "."; }
constexpr std::size_t random_part = 6;

// The temporary file beside the target. It stays locked while its writer
// lives, so that a later save can tell one left by a killed save from one
// still being written; it is removed unless it replaced the target.
class temporary_file {
public:
    explicit temporary_file(const fs::path& target)
        : path_((folder_of(target) / (prefix_of(target) + std::string(random_part, 'X'))).string())
    {
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
        if (fd_ < 0) return;
        // The system lets go of the lock when the process dies.
        ::flock(fd_, LOCK_EX | LOCK_NB);
    }
    ~temporary_file()
    {
        if (fd_ < 0) return;
        if (!replaced_) ::unlink(path_.c_str());
        ::close(fd_);
    }
    temporary_file(const temporary_file&) = delete;
    temporary_file& operator=(const temporary_file&) = delete;

    bool ok() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Puts what was written on the disk, then renames the file over `target`.
    bool replace(const std::string& target)
    {
        // A full disk may only show when the written blocks go to it.
        replaced_ = ::fsync(fd_) == 0 && std::rename(path_.c_str(), target.c_str()) == 0;
        return replaced_;
    }

private:
    std::string path_;
    int fd_ = -1;
    bool replaced_ = false;
};

// Removes the temporary files of `target` whose save was killed before it
// renamed them; those whose writer still runs hold their lock and stay.
void remove_stale_temporaries(const fs::path& target)
{
    const std::string prefix = prefix_of(target);
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_of(target), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + random_part || name.compare(0, prefix.size(), prefix) != 0 ||
            !entry.is_regular_file(ec))
            continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

// The file a save of `name` must replace: the end of its chain of symbolic
// links, so that the link stays a link and its target gets the new text. A
// link whose target does not exist yet names the file to create. A chain
// that loops is left to the system to refuse.
fs::path final_target(fs::path name)
{
    constexpr int most_links = 40;  // the system's own limit on a chain
    std::error_code ec;
    for (int hop = 0; hop < most_links && fs::is_symlink(fs::symlink_status(name, ec)); ++hop) {
        const fs::path next = fs::read_symlink(name, ec);
        if (ec) break;
        name = next.is_absolute() ? next : folder_of(name) / next;
    }
    return name;
}

} // namespace

bool replace_file(const std::string& file_name,
                  const std::function<bool(const std::string& temp, std::string& reason)>& write,
                  std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    // A file the user may not write is not replaced, though its folder would
    // let the rename through.
    if (::access(file_name.c_str(), F_OK) == 0 && ::access(file_name.c_str(), W_OK) != 0)
        return fail(std::strerror(errno));
    const fs::path target = final_target(file_name);
    temporary_file temp(target);
    if (!temp.ok()) return fail(std::strerror(errno));
    std::string reason;
    if (!write(temp.path(), reason)) return fail(reason);
    // Keep the permissions of the file being replaced.
    std::error_code ec;
    const auto old = fs::status(target, ec);
    fs::permissions(temp.path(), ec || !fs::exists(old) ? fs::perms(0644) : old.permissions(), ec);
    if (!temp.replace(target.string())) return fail(std::strerror(errno));
    remove_stale_temporaries(target);
    return true;
}

} // namespace wayloom
