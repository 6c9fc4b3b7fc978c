// Handsets that show up as a USB drive keep their waypoints, routes and
// tracks in GPX files under "Garmin/GPX" (the latest ones in
// "Garmin/GPX/Current"). Finding them needs no screen.
#pragma once

#include "source/reader.h"

#include <string>
#include <vector>

namespace wayloom {

// The drives that hold a "Garmin/GPX" folder (in any letter case) among the
// folders one and two levels under the usual mount places below `root`
// ("/" outside the tests): media (media/LABEL, media/usb0, media/USER/LABEL),
// run/media, mnt, and GNOME's phone and MTP mounts run/user/UID/gvfs (the
// mount, and each storage in it). Sorted by name.
std::vector<std::string> find_handset_drives(const std::string& root = "/");

// Every ".gpx" file (in any case) of a drive: in its "Garmin/GPX" folder and
// that folder's "Current" (in any letter case), else, for a folder picked by
// hand that has no "Garmin/GPX", in the folder itself and its "Current".
// Sorted by name, each folder's files before its "Current"'s. Nothing for a
// folder that is not there.
std::vector<std::string> handset_gpx_files(const std::string& drive);

// What one file of an import of several says, each message naming the file:
// each error (a file that could not be opened names itself already), and
// the warnings gathered into one message with their count and the first
// few, so that a file of many bad points is one message, not one each.
std::vector<std::string> import_messages(const std::string& file_name, const read_report& report);

} // namespace wayloom
