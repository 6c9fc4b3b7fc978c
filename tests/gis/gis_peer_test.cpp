// What GDAL, the reader QGIS and most GIS programs use, makes of the files
// written: the same features, names and coordinates, to 1e-9 degree.
#include "gis/gis_files.h"
#include "gis/map_features.h"
#include "source/reader.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace wayloom {
namespace {

struct seen_feature {
    std::string name;
    std::string geometry;  // the WKT word: POINT, LINESTRING or POLYGON
    std::vector<double> numbers;
};

// The features `ogrinfo -al` lists, in its order.
std::vector<seen_feature> ogrinfo_features(const std::string& file)
{
    std::vector<seen_feature> features;
    FILE* pipe = popen(("ogrinfo -ro -al -q '" + file + "' 2>&1").c_str(), "r");
    if (!pipe) return features;
    std::string out;
    for (char buffer[4096]; const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe);) out.append(buffer, got);
    pclose(pipe);
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("OGRFeature(")) features.emplace_back();
        if (features.empty()) continue;
        for (const std::string key : {"  name (String) = ", "  Name (String) = "})
            if (line.starts_with(key)) features.back().name = line.substr(key.size());
        for (const std::string word : {"POINT", "LINESTRING", "POLYGON"}) {
            if (!line.starts_with("  " + word + " ")) continue;
            features.back().geometry = word;
            // from_chars: the tests also run under a locale with a decimal comma.
            const char* const end = line.data() + line.size();
            for (const char* at = line.data() + 2 + word.size(); at < end;) {
                double value = 0;
                const auto [next, ec] = std::from_chars(at, end, value);
                if (ec != std::errc()) ++at;
                else features.back().numbers.push_back(value), at = next;
            }
        }
    }
    return features;
}

// The features as written: a polygon's ring closed, clockwise in a Shapefile.
std::vector<seen_feature> written_features(const map_document& doc, std::optional<feature_geometry> only,
                                           bool clockwise)
{
    std::vector<seen_feature> features;
    for (const feature_kind kind : all_kinds) {
        for_each_feature(doc, kind, [&](const map_feature& f) {
            if (only && f.geometry != *only) return;
            constexpr const char* words[] = {"POINT", "LINESTRING", "POLYGON"};
            seen_feature& seen = features.emplace_back(seen_feature{f.name, words[static_cast<int>(f.geometry)], {}});
            std::vector<geo_point> ring = f.positions;
            if (f.geometry == feature_geometry::polygon) {
                ring.push_back(ring.front());
                if (clockwise) std::reverse(ring.begin(), ring.end());
            }
            for (const geo_point& p : ring) seen.numbers.insert(seen.numbers.end(), {p.lon, p.lat});
        });
    }
    return features;
}

TEST(gis_peer, gdal_reads_the_features_written)
{
    if (std::system("ogrinfo --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed: the GIS files were not checked against GDAL";
    map_document doc;
    ASSERT_TRUE(read_map(doc, std::string(WAYLOOM_SOURCE_DIR) + "/examples/farm.wlm").ok());
    const testing::temp_folder folder;
    struct row {
        const char* written;
        const char* read;
        std::optional<feature_geometry> only;
        bool clockwise;
    };
    const row rows[] = {{"farm.geojson", "farm.geojson", std::nullopt, false},
                        {"farm.kml", "farm.kml", std::nullopt, false},
                        {"farm.shp", "farm_polygons.shp", feature_geometry::polygon, true},
                        {"farm.shp", "farm_paths.shp", feature_geometry::line, true},
                        {"farm.shp", "farm_points.shp", feature_geometry::point, true}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.read);
        std::string error;
        ASSERT_TRUE(save_gis_file(doc, folder / r.written, &error)) << error;
        const std::vector<seen_feature> seen = ogrinfo_features(folder / r.read);
        const std::vector<seen_feature> expected = written_features(doc, r.only, r.clockwise);
        ASSERT_EQ(seen.size(), expected.size());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].name, expected[i].name);
            EXPECT_EQ(seen[i].geometry, expected[i].geometry) << expected[i].name;
            ASSERT_EQ(seen[i].numbers.size(), expected[i].numbers.size()) << expected[i].name;
            for (std::size_t k = 0; k < seen[i].numbers.size(); ++k)
                EXPECT_NEAR(seen[i].numbers[k], expected[i].numbers[k], 1e-9) << expected[i].name;
        }
    }
}

} // namespace
} // namespace wayloom
