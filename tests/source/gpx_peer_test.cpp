// GPX against GPSBabel, an independent program: what it writes reads back
// through us, and what we write it reads back, to 1e-9 degrees. Skipped when
// GPSBabel is not installed.
#include "model/map_units.h"
#include "source/gpx_reader.h"
#include "source/gpx_writer.h"

#include "tests/read_text.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

namespace wayloom {
namespace {

struct known {
    const char* name;
    double lat, lon, alt;
};

const known list[] = {
    {"Gate", 52.412345678901, -4.051234567891, 61.5},
    {"Barn & yard", 52.41, -4.05, 60},
    {"South <pond>", -33.8688197, 151.2092955, 3.25},
    {"Dateline", 0.000000001, 179.999999999, 0},
};

class gpx_peer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("gpsbabel -V >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "GPSBabel is not installed (apt-get install gpsbabel): peer checks skipped";
    }

    std::string path(const char* name) const { return folder / name; }

    static void babel(const std::string& from_format, const std::string& from,
                      const std::string& to)
    {
        const std::string command = "gpsbabel -i " + from_format + " -f '" + from +
                                    "' -o gpx -F '" + to + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    static void expect_list(const map_document& doc)
    {
        ASSERT_EQ(doc.waypoints.size(), std::size(list));
        for (std::size_t i = 0; i < std::size(list); ++i) {
            const t_waypoint& w = *doc.waypoints[i];
            EXPECT_EQ(w.name, list[i].name);
            EXPECT_NEAR(static_cast<double>(w.lat), list[i].lat, 1e-9) << list[i].name;
            EXPECT_NEAR(static_cast<double>(w.lon), list[i].lon, 1e-9) << list[i].name;
            EXPECT_NEAR(static_cast<double>(w.alt), list[i].alt, 1e-3) << list[i].name;
        }
    }

    testing::temp_folder folder;
};

TEST_F(gpx_peer, what_gpsbabel_writes_reads_back_through_us)
{
    {
        std::ofstream csv(path("list.csv"));
        csv << std::fixed;
        csv.precision(12);
        csv << "name,lat,lon,alt\n";
        for (const known& k : list) csv << '"' << k.name << "\"," << k.lat << ',' << k.lon << ',' << k.alt << '\n';
    }
    babel("unicsv", path("list.csv"), path("babel.gpx"));
    map_document doc;
    const read_report report = read_gpx(doc, path("babel.gpx"));
    EXPECT_TRUE(report.ok()) << report.errors.front();
    expect_list(doc);
}

TEST_F(gpx_peer, gpsbabel_reads_back_what_we_write)
{
    map_document doc;
    for (const known& k : list) {
        t_waypoint& w = doc.create_waypoint();
        std::tie(w.name, w.lat, w.lon, w.alt) = std::tuple(k.name, k.lat, k.lon, k.alt);
    }
    t_shape& field = doc.create_shape();
    field.name = "field";
    for (int i = 0; i < 3; ++i) field.nodes.emplace_back(i, to_map_units(doc.waypoints[i]->lon), to_map_units(doc.waypoints[i]->lat));
    std::string error;
    ASSERT_TRUE(save_gpx(doc, path("ours.gpx"), &error)) << error;
    // GPSBabel's own GPX writer, read back by us: the points went through it.
    babel("gpx", path("ours.gpx"), path("theirs.gpx"));
    map_document back;
    ASSERT_TRUE(read_gpx(back, path("theirs.gpx")).ok());
    expect_list(back);
    EXPECT_NE(testing::read_text(path("theirs.gpx")).find("<name>field</name>"), std::string::npos) << "the shape's track went through";
}

} // namespace
} // namespace wayloom
