// The area report's text, compared whole, and its number form.
#include "statistics/area_report.h"

#include "model/map_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace wayloom {
namespace {

using lines = std::vector<std::string>;

// One square degree is 129600 square map units: 111205.394² square metres.
constexpr long double square_degree = 129600;

struct area_report_fixture : ::testing::Test {
    map_document doc;
    t_class* pasture = doc.create_class();
    t_class* water = doc.create_class();

    t_shape& shape(const std::string& name, long double area, class_type classes = {})
    {
        t_shape& s = doc.create_shape();
        s.name = name;
        s.area = area;
        s.classes = std::move(classes);
        doc.add_item(name, &s, nullptr);
        return s;
    }

    area_report_fixture() { std::tie(pasture->name, water->name) = std::tuple("pasture", "water"); }
};

TEST(format_number, cuts_two_places_after_the_point_and_keeps_the_exponent)
{
    struct row {
        long double value;
        const char* text;
    };
    const row rows[] = {
        {12.3456L, "12.34"}, {7, "7"},         {0.5L, "0.5"},       {-2.999L, "-2.99"},
        {100, "100"},        {0, "0"},         {12006.875L, "12006.87"},
        {1.23456e-05L, "1.23e-05"},            {9.87654e20L, "9.87e+20"},
        {123456789012345.6L, "123456789012346"},
    };
    for (const row& r : rows) EXPECT_EQ(format_number(r.value), r.text) << static_cast<double>(r.value);
}

TEST_F(area_report_fixture, nothing_selected_gives_the_total_of_zero)
{
    report_choice choice;
    choice.perimeter = &shape("farm", square_degree);
    EXPECT_EQ(report_lines(doc, choice),
              (lines{"Area of perimeter is : 12366639654.69 square Metres", "",
                     "Total coverage of : Selected shapes is : 0 square Metres",
                     "And is 0% of the perimeter", ""}));
    EXPECT_EQ(report_text({"a", ""}), "a\r\n\r\n");
    choice.perimeter = nullptr;
    EXPECT_TRUE(report_lines(doc, choice).empty());
}

TEST_F(area_report_fixture, the_perimeter_itself_is_a_hundred_percent)
{
    report_choice choice;
    t_shape& farm = shape("farm", square_degree / 4);
    t_shape& wood = shape("wood", square_degree / 10);
    choice.perimeter = &farm;
    choice.shapes = {&farm, &wood};
    choice.unit = *unit_named("kilometre");
    EXPECT_EQ(report_lines(doc, choice),
              (lines{"Area of perimeter is : 3091.65 square Kilometers", "",
                     "Shape : farm is : 3091.65 square Kilometers", "And is 100% of the perimeter", "",
                     "Shape : wood is : 1236.66 square Kilometers", "And is 40% of the perimeter", "",
                     "Total coverage of : Selected shapes is : 4328.32 square Kilometers",
                     "And is 140% of the perimeter", ""}));
}

TEST_F(area_report_fixture, a_shape_in_two_classes_counts_once_in_the_total)
{
    t_shape& farm = shape("farm", 1000);
    shape("pond", 100, {pasture->number, water->number});
    shape("lake", 50, {water->number});
    report_choice choice;
    choice.perimeter = &farm;
    choice.mode = report_mode::classes;
    choice.classes = {pasture, water};
    choice.unit = *unit_named("mile");
    const lines report = report_lines(doc, choice);
    ASSERT_EQ(report.size(), 11u);
    EXPECT_EQ(report[2], "Class : pasture is : " + format_number(map_area_to_units(choice.unit, 100)) +
                             " square Miles");
    EXPECT_EQ(report[3], "And is 10% of the perimeter");
    EXPECT_EQ(report[6], "And is 15% of the perimeter");
    EXPECT_EQ(report[8], "Total coverage of : Selected classes is : " +
                             format_number(map_area_to_units(choice.unit, 150)) + " square Miles");
    EXPECT_EQ(report[9], "And is 15% of the perimeter") << "not 25%: the pond counts once";
}

TEST_F(area_report_fixture, an_open_path_as_perimeter_leaves_the_share_undefined)
{
    report_choice choice;
    t_shape& track = shape("track", 0);
    choice.perimeter = &track;
    choice.shapes = {&shape("wood", 10)};
    const lines report = report_lines(doc, choice);
    ASSERT_EQ(report.size(), 8u);
    EXPECT_EQ(report[0], "Area of perimeter is : 0 square Metres");
    EXPECT_EQ(report[3], "And is undefined of the perimeter");
    EXPECT_EQ(report[6], "And is undefined of the perimeter");
}

TEST_F(area_report_fixture, ellipsoidal_lines_follow_each_area_line)
{
    report_choice choice;
    t_shape& farm = shape("farm", 1000);
    t_shape& wood = shape("wood", 100);
    choice.perimeter = &farm;
    choice.shapes = {&wood};
    choice.unit = *unit_named("kilometre");
    choice.ellipsoidal_area = [&](const t_shape& s) { return &s == &farm ? 4.0e6 : 1.5e6; };
    const lines report = report_lines(doc, choice);
    ASSERT_EQ(report.size(), 11u);
    EXPECT_EQ(report[1], "On the ellipsoid : 4 square Kilometers");
    EXPECT_EQ(report[3], "Shape : wood is : " + format_number(map_area_to_units(choice.unit, 100)) +
                             " square Kilometers");
    EXPECT_EQ(report[4], "On the ellipsoid : 1.5 square Kilometers");
    EXPECT_EQ(report[5], "And is 10% of the perimeter");
    EXPECT_EQ(report[8], "On the ellipsoid : 1.5 square Kilometers");
    EXPECT_EQ(report[9], "And is 10% of the perimeter");
}

} // namespace
} // namespace wayloom
