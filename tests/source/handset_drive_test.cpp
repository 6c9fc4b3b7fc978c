#include "source/gpx_reader.h"
#include "source/handset_drive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wayloom {
namespace {

// A machine's mount places with two handsets under media and run/media, one
// under mnt and a memory stick that is no handset.
const std::string mounts = std::string(WAYLOOM_TEST_DATA) + "/gpx/mounts";

TEST(find_handset_drives, finds_the_drives_with_a_garmin_gpx_folder)
{
    EXPECT_EQ(find_handset_drives(mounts),
              (std::vector<std::string>{mounts + "/media/ann/GARMIN", mounts + "/mnt/etrex",
                                        mounts + "/run/media/bob/OREGON"}));
    EXPECT_TRUE(find_handset_drives(mounts + "/nowhere").empty());
}

TEST(handset_gpx_files, lists_the_gpx_files_then_the_current_ones)
{
    const std::string gpx = mounts + "/media/ann/GARMIN/Garmin/GPX";
    const std::vector<std::string> both{gpx + "/Waypoints_07-DEC-26.gpx", gpx + "/Current/Current.gpx"};
    EXPECT_EQ(handset_gpx_files(mounts + "/media/ann/GARMIN"), both);
    EXPECT_EQ(handset_gpx_files(gpx), both) << "the GPX folder picked by hand";
    EXPECT_EQ(handset_gpx_files(mounts + "/run/media/bob/OREGON"),
              std::vector<std::string>{mounts + "/run/media/bob/OREGON/Garmin/GPX/Waypoints_01-NOV-26.GPX"});
    EXPECT_TRUE(handset_gpx_files(mounts + "/media/ann/STICK").empty());
    EXPECT_TRUE(handset_gpx_files(mounts + "/gone").empty());
}

// Importing a drive reads every file on it, in order, as merges.
TEST(handset_gpx_files, every_file_of_every_drive_imports)
{
    map_document doc;
    for (const std::string& drive : find_handset_drives(mounts))
        for (const std::string& file : handset_gpx_files(drive)) ASSERT_TRUE(read_gpx(doc, file).ok()) << file;
    std::vector<std::string> names;
    for (const auto& w : doc.waypoints) names.push_back(w->name);
    EXPECT_EQ(names, (std::vector<std::string>{"001", "002", "GATE", "FORD", "ALP", "WHARF"}));
    EXPECT_NEAR(static_cast<double>(doc.waypoints[5]->lat), -41.2865, 1e-12);
    EXPECT_NEAR(static_cast<double>(doc.waypoints[5]->alt), 12.5, 1e-12);
}

} // namespace
} // namespace wayloom
