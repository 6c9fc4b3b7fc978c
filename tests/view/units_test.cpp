// Units: names, lengths per degree, areas and the preferences' read rules.
#include "view/geometry/units.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

TEST(units, each_unit_has_its_names_and_length_per_degree)
{
    struct row {
        const char* cli_name;
        const char* name;
        const char* abbreviation;
        long double per_degree;
    };
    const row rows[] = {
        {"metre", "Metres", "M", 111205.394L},    {"kilometre", "Kilometers", "Km", 111.205394L},
        {"feet", "Feet", "Ft", 364848.0L},        {"yard", "Yards", "Yd", 121616.0L},
        {"mile", "Miles", "Ml", 69.1L},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.cli_name);
        const auto choice = unit_named(r.cli_name);
        ASSERT_TRUE(choice);
        EXPECT_EQ(unit_of(*choice).name, r.name);
        EXPECT_EQ(unit_of(*choice).abbreviation, r.abbreviation);
        // Extended precision: the factor exactly, not a double's rounding of it.
        EXPECT_EQ(degrees_to_units(*choice, 1), r.per_degree);
        EXPECT_EQ(degrees_to_units(*choice, 0.5L), r.per_degree / 2);
    }
    for (const char* other : {"Metre", "kilometer", ""}) EXPECT_FALSE(unit_named(other)) << other;
}

TEST(units, areas_go_from_square_map_units_through_square_degrees)
{
    const unit_choice metre;
    // One square degree is 360 × 360 square map units.
    EXPECT_EQ(map_area_to_units(metre, 129600), 111205.394L * 111205.394L);
    const unit_choice km = *unit_named("kilometre");
    EXPECT_NEAR(static_cast<double>(map_area_to_units(metre, 5000) / map_area_to_units(km, 5000)), 1e6, 1e-3);
    EXPECT_EQ(map_area_to_units(metre, 0), 0);
}

TEST(units, settings_read_exactly_and_fall_to_the_last_choice)
{
    struct row {
        const char* name;
        unit_settings stored;
        const char* unit;
    };
    const row rows[] = {
        {"nothing stored", {}, "Metres"},
        {"kilometer as written", {"metric", "kilometer", "feet"}, "Kilometers"},
        {"anything but metre", {"metric", "metres", std::nullopt}, "Kilometers"},
        {"capital Metric is Imperial", {"Metric", "metre", "feet"}, "Feet"},
        {"yard", {"imperial", std::nullopt, "yard"}, "Yards"},
        {"unknown imperial is Mile", {"imperial", std::nullopt, "Feet"}, "Miles"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(unit_of(read_unit_choice(r.stored)).name, r.unit);
    }
    const unit_choice km = *unit_named("kilometre");
    const unit_settings written = write_unit_choice(km);
    EXPECT_EQ(std::tuple(written.measurement.value_or(""), written.metric.value_or(""), written.imperial.value_or("")),
              std::tuple("metric", "kilometer", "feet"));
    for (const char* name : {"metre", "kilometre", "feet", "yard", "mile"})
        EXPECT_EQ(read_unit_choice(write_unit_choice(*unit_named(name))), *unit_named(name)) << name;
}

} // namespace
} // namespace wayloom
