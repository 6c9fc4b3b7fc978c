// Handsets that show up as a USB drive keep their waypoints, routes and
// tracks in GPX files under "Garmin/GPX" (the latest ones in
// "Garmin/GPX/Current"). Finding them needs no screen.
#pragma once

#include <string>
#include <vector>

namespace wayloom {

// The drives mounted under the usual places (media/*/*, run/media/*/* and
// mnt/* below `root`, which is "/" outside the tests) that hold a
// "Garmin/GPX" folder, sorted by name.
std::vector<std::string> find_handset_drives(const std::string& root = "/");

// Every ".gpx" file (in any case) of a drive: in its "Garmin/GPX" folder and
// that folder's "Current", else, for a folder picked by hand that has no
// "Garmin/GPX", in the folder itself and its "Current". Sorted by name, each
// folder's files before its "Current"'s. Nothing for a folder that is not there.
std::vector<std::string> handset_gpx_files(const std::string& drive);

} // namespace wayloom
