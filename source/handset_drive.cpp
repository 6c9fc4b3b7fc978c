#include "source/handset_drive.h"

#include "source/gpx_reader.h"

#include <algorithm>
#include <filesystem>

namespace wayloom {

namespace {

namespace fs = std::filesystem;

bool is_folder(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// The folders right inside `folder`, sorted; none when it cannot be read.
std::vector<fs::path> subfolders(const fs::path& folder)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (is_folder(it->path())) found.push_back(it->path());
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> gpx_files_in(const fs::path& folder)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_regular_file(kind) && is_gpx_file_name(it->path().filename().string()))
            found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

const fs::path garmin_gpx = fs::path("Garmin") / "GPX";

} // namespace

std::vector<std::string> find_handset_drives(const std::string& root)
{
    const fs::path base(root);
    std::vector<fs::path> candidates;
    for (const fs::path& mounts : {base / "media", base / "run" / "media"})
        for (const fs::path& user : subfolders(mounts))
            for (const fs::path& drive : subfolders(user)) candidates.push_back(drive);
    for (const fs::path& drive : subfolders(base / "mnt")) candidates.push_back(drive);

    std::vector<std::string> drives;
    for (const fs::path& drive : candidates)
        if (is_folder(drive / garmin_gpx)) drives.push_back(drive.string());
    std::sort(drives.begin(), drives.end());
    return drives;
}

std::vector<std::string> handset_gpx_files(const std::string& drive)
{
    fs::path folder(drive);
    if (is_folder(folder / garmin_gpx)) folder /= garmin_gpx;
    std::vector<std::string> files = gpx_files_in(folder);
    const std::vector<std::string> current = gpx_files_in(folder / "Current");
    files.insert(files.end(), current.begin(), current.end());
    return files;
}

} // namespace wayloom
