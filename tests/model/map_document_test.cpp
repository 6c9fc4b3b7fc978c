#include "model/map_document.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

TEST(map_document, demolish_empties_everything_but_serials_keep_rising)
{
    map_document doc;
    const t_waypoint& w = doc.create_waypoint();
    EXPECT_EQ(w.number, 0);
    EXPECT_EQ(w.marker, p_circle);
    doc.waypoints_list.add("w", doc.waypoints[0]);
    const t_shape& s = doc.create_shape();
    EXPECT_EQ(s.number, 1);
    EXPECT_EQ(s.shape_type, s_polygon);
    EXPECT_EQ(s.border, black);
    doc.add_item("s", doc.shapes[0].get(), nullptr);
    doc.add_item("p", nullptr, &doc.create_set());
    EXPECT_EQ(doc.create_shape().number, 2);
    EXPECT_EQ(doc.create_class()->number, 0);
    t_class& c = *doc.create_class();
    EXPECT_EQ(c.number, 1);
    EXPECT_EQ(c.name_counter, 1);
    EXPECT_EQ(doc.current_class, &c);
    doc.class_list.add("c", &c);
    doc.points_class_list.add("c", &c);
    doc.statistics_ready = doc.legend_ready = true;
    const auto gone = doc.unlink(*doc.shapes[1]);  // taken out, its entry left behind
    doc.add_item("gone", gone.get(), nullptr);

    doc.demolish();
    EXPECT_TRUE(doc.empty());
    EXPECT_TRUE(doc.waypoints_list.empty() && doc.class_list.empty() && doc.points_class_list.empty() &&
                doc.shape_list.empty());
    EXPECT_TRUE(!doc.current_shape && !doc.current_set && !doc.current_class && !doc.current_waypoint);
    EXPECT_FALSE(doc.statistics_ready || doc.legend_ready);
    EXPECT_EQ(doc.create_shape().number, 3);
    EXPECT_EQ(doc.create_set().number, 2);
    EXPECT_EQ(doc.create_class()->number, 0);
    EXPECT_EQ(doc.create_waypoint().number, 0);
}

TEST(map_document, downloaded_waypoints_are_numbered_on_after_those_there)
{
    map_document doc;
    for (int i = 0; i < 3; ++i) doc.create_waypoint().name = "old" + std::to_string(i);
    doc.refill_waypoints_list();
    for (int i = 0; i < 5; ++i) doc.create_waypoint().name = "new" + std::to_string(i);
    doc.refill_waypoints_list();
    ASSERT_EQ(doc.waypoints_list.size(), 8u);
    EXPECT_EQ(doc.waypoints_list.entries[3].text, "new0");
    EXPECT_EQ(doc.waypoints_list.object_at<t_waypoint>(7)->number, 7);
}

TEST(map_document, add_point_grows_one_record_at_a_time_and_reuses_shrunk_records)
{
    map_document doc;
    t_set& set = doc.create_set();
    doc.new_point = {p_square, false, 7.5};
    const point_record& first = set.add_point(doc.new_point);
    EXPECT_EQ(set.capacity(), 1);
    EXPECT_EQ(std::tuple(first.waypoint, first.marker, first.show_name, first.size), std::tuple(-1, p_square, false, 7.5L));
    set.add_point(doc.new_point).name = "second";
    EXPECT_EQ(set.capacity(), 2);
    set.point_count = 1;  // the second record stays allocated
    EXPECT_EQ(set.add_point(doc.new_point).name, "") << "a reused record starts afresh";
    EXPECT_EQ(set.capacity(), 2);
}

TEST(map_document, classes_are_filed_from_the_tabs_list_and_cleared_everywhere)
{
    map_document doc;
    for (int i = 0; i < 6; ++i) {
        t_class& c = *doc.create_class();
        doc.class_list.add("c" + std::to_string(i), &c);
    }
    doc.points_class_list.add("p", doc.classes[4].get());
    t_shape& shape = doc.create_shape();
    t_set& set = doc.create_set();
    doc.set_class(0, &shape, nullptr);
    doc.set_class(0, &shape, nullptr);  // no duplicate check
    doc.set_class(0, nullptr, &set);    // the Points tab's list
    doc.set_class(5, nullptr, &set);    // past that list: nothing
    EXPECT_EQ(shape.classes, (class_type{0, 0}));
    EXPECT_EQ(set.classes, (class_type{4}));

    shape.classes = {3, 5, 3};
    doc.clear_class(3, &shape, nullptr);
    EXPECT_EQ(shape.classes, (class_type{5}));
    EXPECT_EQ(shape.class_count(), 1);
    set.classes = {1, 3, 1, 2};
    doc.clear_class(1, nullptr, &set);
    EXPECT_EQ(set.classes, (class_type{3, 2}));
    doc.clear_class(99, nullptr, &set);
    EXPECT_EQ(set.classes, (class_type{3, 2}));
}

TEST(map_document, unlink_hands_the_item_over_and_marks_the_analyses_stale)
{
    map_document doc;
    t_shape& a = doc.create_shape();
    t_shape& b = doc.create_shape();
    t_shape& c = doc.create_shape();
    doc.statistics_ready = doc.legend_ready = true;
    EXPECT_EQ(doc.unlink(b).get(), &b);
    ASSERT_EQ(doc.shape_count(), 2);
    EXPECT_TRUE(doc.shapes[0].get() == &a && doc.shapes[1].get() == &c);
    EXPECT_FALSE(doc.statistics_ready || doc.legend_ready);
    EXPECT_EQ(doc.current_shape, &c);
    doc.unlink(c);
    EXPECT_EQ(doc.current_shape, nullptr);
}

TEST(map_document, the_class_counter_stops_at65535)
{
    map_document doc;
    for (int i = 0; i < max_classes; ++i) ASSERT_NE(doc.create_class(), nullptr);
    EXPECT_EQ(doc.classes.back()->number, 65534);
    EXPECT_EQ(doc.create_class(), nullptr);
    EXPECT_EQ(doc.class_counter(), 65535);
}

TEST(map_document, roll_back_removes_only_what_came_after_the_mark)
{
    map_document doc;
    doc.waypoints_list.add("kept", &doc.create_waypoint());
    t_shape& shape = doc.create_shape();
    doc.add_item("field", &shape, nullptr);
    const map_mark mark = doc.mark();

    doc.waypoints_list.add("added", &doc.create_waypoint());
    doc.class_list.add("c", doc.create_class());
    doc.add_item("later", &doc.create_shape(), nullptr);
    doc.roll_back(mark);

    EXPECT_EQ(std::tuple(doc.waypoint_count(), doc.waypoints_list.size(), doc.class_counter(), doc.class_list.size()),
              std::tuple(1, 1u, 0, 0u));
    ASSERT_EQ(doc.shape_count(), 1);
    EXPECT_EQ(doc.shape_list.object_at<t_shape>(0), &shape);
    EXPECT_TRUE(!doc.current_shape && !doc.current_waypoint);
    EXPECT_EQ(doc.create_shape().number, 3) << "serials are not given back";
}

TEST(colour, normalisation_drops_the_system_colour_byte)
{
    EXPECT_EQ(make_colour(1, 2, 3), 1u + 256u * 2u + 65536u * 3u);
    EXPECT_EQ(normalise_colour(0x80000005u), 5u);
}

} // namespace
} // namespace wayloom
