#include "source/handset_drive.h"

#include "source/gpx_reader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string_view>

namespace wayloom {

namespace {

namespace fs = std::filesystem;

// Shown in full when a file warns; beyond these a count says how many more.
constexpr std::size_t warnings_shown = 5;

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

bool same_ignoring_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The folder inside `folder` called `name` in any letter case: a drive
// written by Windows may say GARMIN, one formatted by the handset Garmin.
std::optional<fs::path> subfolder_named(const fs::path& folder, std::string_view name)
{
    if (is_folder(folder / name)) return folder / name;
    for (const fs::path& sub : subfolders(folder))
        if (same_ignoring_case(sub.filename().string(), name)) return sub;
    return std::nullopt;
}

std::optional<fs::path> garmin_gpx_of(const fs::path& drive)
{
    const std::optional<fs::path> garmin = subfolder_named(drive, "Garmin");
    return garmin ? subfolder_named(*garmin, "GPX") : std::nullopt;
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

} // namespace

std::vector<std::string> find_handset_drives(const std::string& root)
{
    const fs::path base(root);
    std::vector<fs::path> places{base / "media", base / "run" / "media", base / "mnt"};
    for (const fs::path& user : subfolders(base / "run" / "user")) places.push_back(user / "gvfs");

    std::vector<std::string> drives;
    for (const fs::path& place : places)
        for (const fs::path& folder : subfolders(place)) {
            if (garmin_gpx_of(folder)) {
                drives.push_back(folder.string());
                continue;
            }
            for (const fs::path& inner : subfolders(folder))
                if (garmin_gpx_of(inner)) drives.push_back(inner.string());
        }
    std::sort(drives.begin(), drives.end());
    return drives;
}

std::vector<std::string> handset_gpx_files(const std::string& drive)
{
    const fs::path folder = garmin_gpx_of(drive).value_or(fs::path(drive));
    std::vector<std::string> files = gpx_files_in(folder);
    if (const std::optional<fs::path> current = subfolder_named(folder, "Current")) {
        const std::vector<std::string> latest = gpx_files_in(*current);
        files.insert(files.end(), latest.begin(), latest.end());
    }
    return files;
}

std::vector<std::string> import_messages(const std::string& file_name, const read_report& report)
{
    std::vector<std::string> messages;
    for (const std::string& error : report.errors)
        messages.push_back(report.missing ? error : file_name + ": " + error);
    const std::size_t count = report.warnings.size();
    if (count == 1) messages.push_back(file_name + ": " + report.warnings.front());
    if (count > 1) {
        std::string gathered = file_name + ": " + std::to_string(count) + " warnings";
        gathered += count > warnings_shown ? ", the first " + std::to_string(warnings_shown) + ":" : ":";
        for (std::size_t i = 0; i < std::min(count, warnings_shown); ++i) gathered += "\n" + report.warnings[i];
        messages.push_back(gathered);
    }
    return messages;
}

} // namespace wayloom
