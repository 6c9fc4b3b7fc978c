#include "editing_fixture.h"

#include "editing/item_commands.h"

#include <algorithm>

namespace wayloom::test {
namespace {

using set_building = editing_fixture;

TEST_F(set_building, points_take_the_dialog_values)
{
    editor.attributes().marker = p_square;
    editor.attributes().point_size = 7;
    editor.attributes().area_colour = make_colour(200, 10, 10);
    editor.attributes().border_colour = make_colour(0, 0, 90);
    editor.attributes().show_name = false;
    show_tab(points_tab);
    EXPECT_EQ(editor.waypoints_set_list().size(), doc.waypoints_list.size());
    EXPECT_TRUE(waypoints_set_list_mouse_down(editor, 2, false).repaint);
    waypoints_set_list_mouse_down(editor, 4, true);
    const t_set* set = editor.build_set();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->name, "build");
    ASSERT_EQ(set->point_count, 3);
    EXPECT_EQ(texts(editor.set_builder().entries()), (strings{"w2", "w3", "w4"}));
    const point_record& p = set->points[1];
    EXPECT_EQ(point_fields(p), std::tuple("w3", "A hint", p_square, 7, make_colour(200, 10, 10), make_colour(0, 0, 90), false));
    const t_waypoint& w = *doc.waypoints[3];
    EXPECT_EQ(std::tie(p.waypoint, p.lon, p.lat, p.alt), std::tuple(3, w.lon * 360, w.lat * 360, w.alt));
    EXPECT_TRUE(editor.set_builder().toolbar_shown());
    EXPECT_EQ(view.building_set, set);
}

TEST_F(set_building, shift_click_ranges_and_repeats)
{
    show_tab(points_tab);
    waypoints_set_list_mouse_down(editor, 3, false);
    waypoints_set_list_mouse_down(editor, 3, false);
    waypoints_set_list_mouse_down(editor, 6, true);
    waypoints_set_list_mouse_down(editor, 1, true);  // the anchor is gone: a plain append
    waypoints_set_list_mouse_down(editor, 0, true);  // above the new anchor: nothing
    EXPECT_EQ(texts(editor.set_builder().entries()), (strings{"w3", "w4", "w5", "w6", "w1"}));
    EXPECT_EQ(editor.set_builder().anchor(), 1);
}

TEST_F(set_building, commit_names_new_sets_and_class_sets)
{
    const std::vector<int> classes[] = {{}, {1}, {}};
    for (int i = 0; i < 3; ++i) {
        build_set_over(2 * i + 1, 2 * i + 1);  // w1, w3, w5
        select(doc.points_class_list, classes[i]);
        add_shape_buttton_click(editor);
    }
    EXPECT_EQ(texts(doc.shape_list), (strings{"New-Set-1", "lake-1", "New-Set-3"}));
    const t_set* lake_set = doc.shape_list.object_at<t_set>(1);
    ASSERT_NE(lake_set, nullptr);
    EXPECT_EQ(std::tie(lake_set->classes, lake_set->colour), std::tuple(class_type{1}, doc.classes[1]->colour));
    // The first point after a commit is positioned at once.
    EXPECT_EQ(lake_set->points[0].name, "w3");
    EXPECT_EQ(lake_set->points[0].lon, doc.waypoints[3]->lon * 360);
    EXPECT_TRUE(editor.set_builder().entries().empty());
    EXPECT_FALSE(editor.set_builder().toolbar_shown());
}

TEST_F(set_building, points_beyond_the_limit_are_refused)
{
    editor.set_limits(max_shape_nodes, 3);
    show_tab(points_tab);
    waypoints_set_list_mouse_down(editor, 0, false);
    EXPECT_EQ(waypoints_set_list_mouse_down(editor, 8, true).error, "Too many points");
    EXPECT_EQ(std::tuple(editor.build_set()->point_count, editor.set_builder().entries().size()), std::tuple(3, 3u));
}

TEST_F(set_building, class_made_on_points_tab_reaches_waypoints_tab)
{
    show_tab(points_tab);
    std::string text = "wet land";
    create_class(editor, text);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(texts(doc.points_class_list), (strings{"forest", "lake", "wet_land"}));
    EXPECT_EQ(texts(doc.class_list), (strings{"forest", "lake"}));
    show_tab(shapes_tab);
    EXPECT_EQ(texts(doc.class_list), (strings{"forest", "lake", "wet_land"}));
    EXPECT_EQ(editor.mode(), shapes_tab);
}

TEST_F(set_building, an_edited_set_is_rebuilt_as_it_was)
{
    t_set& trees = doc.create_set();
    trees.name = "trees";
    trees.shape_type = s_points;
    trees.classes = {1};
    for (int w : {2, 7}) {
        point_record& p = trees.add_point({});
        p.waypoint = w;
        point_fields(p) = std::tuple("tree" + std::to_string(w), "old", p_square, 4.5L, 9, 1, false);
    }
    doc.add_item("trees", nullptr, &trees);
    doc.shape_list.entries[0].selected = true;
    edit_shape_button_click(editor);  // from the Shapes tab
    EXPECT_EQ(selected_texts(doc.points_class_list), strings{"lake"});
    show_tab(points_tab);
    EXPECT_EQ(selected_texts(doc.points_class_list), strings{"lake"})
        << "the class selection survives the copy between the tabs";
    ASSERT_EQ(trees.point_count, 2);
    EXPECT_EQ(texts(editor.set_builder().entries()), (strings{"tree2", "tree7"}));
    EXPECT_EQ(point_fields(trees.points[1]), std::tuple("tree7", "old", p_square, 4.5L, 9, 1, false));
    EXPECT_EQ(trees.points[1].lon, doc.waypoints[7]->lon * 360);
    waypoints_set_list_mouse_down(editor, 9, false);
    EXPECT_TRUE(add_shape_buttton_click(editor).error.empty());
    EXPECT_EQ(std::tie(trees.point_count, trees.classes, trees.editing), std::tuple(3, class_type{1}, false));
    EXPECT_EQ(texts(doc.shape_list), strings{"trees"});
}

TEST_F(set_building, a_stale_points_tab_copy_is_taken_again)
{
    show_tab(points_tab);
    // The waypoints list changed behind the Points tab's copy.
    std::reverse(doc.waypoints_list.entries.begin(), doc.waypoints_list.entries.end());
    waypoints_set_list_mouse_down(editor, 3, false);
    EXPECT_EQ(editor.build_set(), nullptr) << "a click on the old copy adds nothing";
    EXPECT_EQ(editor.waypoints_set_list().entries[3].text, "w6");
    waypoints_set_list_mouse_down(editor, 3, false);
    EXPECT_EQ(texts(editor.set_builder().entries()), strings{"w6"});
    EXPECT_EQ(editor.build_set()->points[0].waypoint, 6);
}

} // namespace
} // namespace wayloom::test
