#include "model/map_document.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

TEST(MapDocument, SerialsKeepRisingAcrossClearingsWhileClassesRestart)
{
    map_document doc;
    EXPECT_EQ(doc.create_shape().number, 1);
    EXPECT_EQ(doc.create_shape().number, 2);
    EXPECT_EQ(doc.create_shape().number, 3);
    EXPECT_EQ(doc.create_set().number, 1);
    EXPECT_EQ(doc.create_class()->number, 0);
    EXPECT_EQ(doc.create_class()->number, 1);
    EXPECT_EQ(doc.create_waypoint().number, 0);

    doc.demolish();
    EXPECT_EQ(doc.create_shape().number, 4);
    EXPECT_EQ(doc.create_set().number, 2);
    EXPECT_EQ(doc.create_class()->number, 0);
    EXPECT_EQ(doc.create_waypoint().number, 0);
}

TEST(MapDocument, NewObjectsHaveTheirDefaults)
{
    map_document doc;
    const t_waypoint& w = doc.create_waypoint();
    EXPECT_EQ(w.colour, grey);
    EXPECT_EQ(w.border, grey);
    EXPECT_EQ(w.marker, p_circle);
    const t_shape& s = doc.create_shape();
    EXPECT_EQ(s.shape_type, s_polygon);
    EXPECT_EQ(s.colour, grey);
    EXPECT_EQ(s.border, black);
    EXPECT_EQ(s.node_count(), 0);
    const t_class& c = *doc.create_class();
    EXPECT_EQ(c.colour, grey);
    EXPECT_EQ(c.border, black);
    EXPECT_EQ(c.name_counter, 1);
    EXPECT_EQ(doc.current_shape, &s);
    EXPECT_EQ(doc.current_class, &c);
}

TEST(MapDocument, DownloadedWaypointsAreNumberedOnAfterThoseThere)
{
    map_document doc;
    for (int i = 0; i < 3; ++i) doc.create_waypoint().name = "old" + std::to_string(i);
    doc.refill_waypoints_list();
    for (int i = 0; i < 5; ++i) doc.create_waypoint().name = "new" + std::to_string(i);
    doc.refill_waypoints_list();
    ASSERT_EQ(doc.waypoints_list.size(), 8u);
    EXPECT_EQ(doc.waypoints_list.entries[2].text, "old2");
    EXPECT_EQ(doc.waypoints_list.entries[3].text, "new0");
    EXPECT_EQ(doc.waypoints_list.object_at<t_waypoint>(7)->number, 7);
}

TEST(MapDocument, AddPointGrowsCapacityOneRecordAtATimeAndReusesShrunkRecords)
{
    map_document doc;
    t_set& set = doc.create_set();
    doc.new_point = {p_square, false, 7.5};
    point_record& first = set.add_point(doc.new_point);
    EXPECT_EQ(set.capacity(), 1);
    EXPECT_EQ(first.waypoint, -1);
    EXPECT_EQ(first.marker, p_square);
    EXPECT_FALSE(first.show_name);
    EXPECT_EQ(first.size, 7.5L);
    EXPECT_EQ(first.colour, grey);
    EXPECT_EQ(first.border, black);
    set.add_point(doc.new_point).name = "second";
    EXPECT_EQ(set.capacity(), 2);
    EXPECT_EQ(set.point_count, 2);

    set.point_count = 1;  // the second record stays allocated
    point_record& again = set.add_point(doc.new_point);
    EXPECT_EQ(set.capacity(), 2);
    EXPECT_EQ(again.name, "") << "a reused record starts afresh";
}

TEST(MapDocument, ClearClassRemovesEveryOccurrenceKeepingTheOrder)
{
    map_document doc;
    for (int i = 0; i < 6; ++i) {
        t_class& c = *doc.create_class();
        doc.class_list.add("c" + std::to_string(i), &c);
    }
    t_shape& shape = doc.create_shape();
    shape.classes = {3, 5, 3};
    doc.clear_class(3, &shape, nullptr);
    EXPECT_EQ(shape.classes, (class_type{5}));
    EXPECT_EQ(shape.class_count(), 1);

    t_set& set = doc.create_set();
    set.classes = {1, 3, 1, 2};
    doc.clear_class(1, nullptr, &set);
    EXPECT_EQ(set.classes, (class_type{3, 2}));
    doc.clear_class(99, nullptr, &set);  // past the list: nothing happens
    EXPECT_EQ(set.classes, (class_type{3, 2}));
}

TEST(MapDocument, SetClassTakesTheClassFromTheListOfTheItemsTab)
{
    map_document doc;
    t_class& a = *doc.create_class();
    t_class& b = *doc.create_class();
    doc.class_list.add("a", &a);
    doc.points_class_list.add("b", &b);
    t_shape& shape = doc.create_shape();
    t_set& set = doc.create_set();
    doc.set_class(0, &shape, nullptr);
    doc.set_class(0, &shape, nullptr);  // no duplicate check
    doc.set_class(0, nullptr, &set);
    doc.set_class(5, nullptr, &set);
    EXPECT_EQ(shape.classes, (class_type{0, 0}));
    EXPECT_EQ(set.classes, (class_type{1}));
}

TEST(MapDocument, DemolishEmptiesEveryListAndRegistry)
{
    map_document doc;
    t_waypoint& w = doc.create_waypoint();
    doc.waypoints_list.add("w", &w);
    t_class& c = *doc.create_class();
    doc.class_list.add("c", &c);
    doc.points_class_list.add("c", &c);
    t_shape& s = doc.create_shape();
    doc.add_item("s", &s, nullptr);
    t_set& p = doc.create_set();
    doc.add_item("p", nullptr, &p);
    doc.statistics_ready = doc.legend_ready = true;

    doc.demolish();
    EXPECT_TRUE(doc.empty());
    EXPECT_EQ(doc.class_counter(), 0);
    EXPECT_TRUE(doc.waypoints_list.empty());
    EXPECT_TRUE(doc.class_list.empty());
    EXPECT_TRUE(doc.points_class_list.empty());
    EXPECT_TRUE(doc.shape_list.empty());
    EXPECT_EQ(doc.current_shape, nullptr);
    EXPECT_EQ(doc.current_set, nullptr);
    EXPECT_EQ(doc.current_class, nullptr);
    EXPECT_EQ(doc.current_waypoint, nullptr);
    EXPECT_FALSE(doc.statistics_ready);
    EXPECT_FALSE(doc.legend_ready);
}

TEST(MapDocument, UnlinkHandsTheItemOverAndMarksTheAnalysesStale)
{
    map_document doc;
    t_shape& a = doc.create_shape();
    t_shape& b = doc.create_shape();
    t_shape& c = doc.create_shape();
    doc.statistics_ready = doc.legend_ready = true;
    const auto taken = doc.unlink(b);
    EXPECT_EQ(taken.get(), &b);
    ASSERT_EQ(doc.shape_count(), 2);
    EXPECT_EQ(doc.shapes[0].get(), &a);
    EXPECT_EQ(doc.shapes[1].get(), &c);
    EXPECT_FALSE(doc.statistics_ready);
    EXPECT_FALSE(doc.legend_ready);
    EXPECT_EQ(doc.current_shape, &c);
    doc.unlink(c);
    EXPECT_EQ(doc.current_shape, nullptr);
}

TEST(MapDocument, TheClassCounterStopsAt65535)
{
    map_document doc;
    for (int i = 0; i < max_classes; ++i) ASSERT_NE(doc.create_class(), nullptr);
    EXPECT_EQ(doc.classes.back()->number, 65534);
    EXPECT_EQ(doc.create_class(), nullptr);
    EXPECT_EQ(doc.class_counter(), 65535);
    doc.demolish();
    EXPECT_EQ(doc.create_class()->number, 0);
}

TEST(MapDocument, RollBackRemovesOnlyWhatCameAfterTheMark)
{
    map_document doc;
    t_waypoint& kept = doc.create_waypoint();
    doc.waypoints_list.add("kept", &kept);
    t_shape& shape = doc.create_shape();
    doc.add_item("field", &shape, nullptr);
    const map_mark mark = doc.mark();

    t_waypoint& added = doc.create_waypoint();
    doc.waypoints_list.add("added", &added);
    t_class& c = *doc.create_class();
    doc.class_list.add("c", &c);
    t_shape& later = doc.create_shape();
    doc.add_item("later", &later, nullptr);
    doc.roll_back(mark);

    EXPECT_EQ(doc.waypoint_count(), 1);
    EXPECT_EQ(doc.waypoints_list.size(), 1u);
    EXPECT_EQ(doc.class_counter(), 0);
    EXPECT_TRUE(doc.class_list.empty());
    ASSERT_EQ(doc.shape_count(), 1);
    EXPECT_EQ(doc.shape_list.object_at<t_shape>(0), &shape);
    EXPECT_EQ(doc.current_shape, nullptr);
    EXPECT_EQ(doc.current_waypoint, nullptr);
    EXPECT_EQ(doc.create_shape().number, 3) << "serials are not given back";
}

TEST(Colour, NormalisationDropsTheSystemColourByte)
{
    EXPECT_EQ(make_colour(1, 2, 3), 1u + 256u * 2u + 65536u * 3u);
    EXPECT_EQ(normalise_colour(0x80000005u), 5u);
    EXPECT_EQ(normalise_colour(grey), grey);
}

} // namespace
} // namespace wayloom
