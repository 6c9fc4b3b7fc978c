#include "source/gpx_reader.h"
#include "source/handset_drive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wayloom {
namespace {

// A machine's mount places: handsets under media/USER, media (in upper and
// lower case), run/media, mnt and a phone's storage in GNOME's gvfs, and a
// memory stick that is no handset.
const std::string mounts = std::string(WAYLOOM_TEST_DATA) + "/gpx/mounts";
const std::string usb0 = mounts + "/media/usb0/GARMIN/gpx";
const std::string phone = mounts + "/run/user/1000/gvfs/mtp:host=Garmin/Internal Storage";

TEST(find_handset_drives, finds_the_drives_with_a_garmin_gpx_folder)
{
    EXPECT_EQ(find_handset_drives(mounts),
              (std::vector<std::string>{mounts + "/media/ann/GARMIN", mounts + "/media/usb0", mounts + "/mnt/etrex",
                                        mounts + "/run/media/bob/OREGON", phone}));
    EXPECT_TRUE(find_handset_drives(mounts + "/nowhere").empty());
}

TEST(handset_gpx_files, lists_the_gpx_files_then_the_current_ones)
{
    const std::string gpx = mounts + "/media/ann/GARMIN/Garmin/GPX";
    const std::vector<std::string> both{gpx + "/Waypoints_07-DEC-26.gpx", gpx + "/Current/Current.gpx"};
    EXPECT_EQ(handset_gpx_files(mounts + "/media/ann/GARMIN"), both);
    EXPECT_EQ(handset_gpx_files(gpx), both) << "the GPX folder picked by hand";
    EXPECT_EQ(handset_gpx_files(mounts + "/media/usb0"),
              (std::vector<std::string>{usb0 + "/A.gpx", usb0 + "/B.gpx", usb0 + "/current/C.gpx"}));
    EXPECT_EQ(handset_gpx_files(mounts + "/run/media/bob/OREGON"),
              std::vector<std::string>{mounts + "/run/media/bob/OREGON/Garmin/GPX/Waypoints_01-NOV-26.GPX"});
    EXPECT_TRUE(handset_gpx_files(mounts + "/media/ann/STICK").empty());
    EXPECT_TRUE(handset_gpx_files(mounts + "/gone").empty());
}

// Importing every drive reads every file, a broken one passed over with a
// message naming it; a file's many skipped points are one message.
TEST(handset_gpx_files, every_file_of_every_drive_imports)
{
    map_document doc;
    std::vector<std::string> messages;
    for (const std::string& drive : find_handset_drives(mounts))
        for (const std::string& file : handset_gpx_files(drive)) {
            const std::vector<std::string> said = import_messages(file, read_gpx(doc, file));
            messages.insert(messages.end(), said.begin(), said.end());
        }
    std::vector<std::string> names;
    for (const auto& w : doc.waypoints) names.push_back(w->name);
    // The route's unnamed turn stands on a waypoint named after the route.
    EXPECT_EQ(names, (std::vector<std::string>{"001", "002", "GATE", "FORD", "to_the_ford-2", "W\xC3\xBCrzbr",
                                               "ALP2", "ALP", "WHARF", "CAPE"}));
    EXPECT_NEAR(static_cast<double>(doc.waypoints[8]->alt), 12.5, 1e-12);
    const std::string skipped = "\nPoint without a valid lat and lon skipped: line ";
    EXPECT_EQ(messages, (std::vector<std::string>{
                            mounts + "/media/ann/GARMIN/Garmin/GPX/Current/Current.gpx: 1 track left out: fewer than 2 "
                                     "points (3 for a shape)",
                            usb0 + "/A.gpx: 6 warnings, the first 5:" + skipped + "2" + skipped + "2" + skipped + "2" +
                                skipped + "3" + skipped + "3",
                            usb0 + "/B.gpx: Not a GPX file: line 3: unclosed token"}));
    EXPECT_EQ(import_messages("x.gpx", {{}, {"one"}}), std::vector<std::string>{"x.gpx: one"});
    read_report missing{{"Cant find : x.gpx"}, {}};
    missing.missing = true;
    EXPECT_EQ(import_messages("x.gpx", missing), std::vector<std::string>{"Cant find : x.gpx"});
}

} // namespace
} // namespace wayloom
