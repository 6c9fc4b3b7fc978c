// A user's session without the window: open the example farm, build a new
// field with classes and a set of named square markers, save, open again.
#include "editing/attribute_commands.h"
#include "editing/item_commands.h"
#include "editing/mode_switching.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"
#include "source/reader.h"
#include "source/writer.h"
#include "view/geometry/map_refresh.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace wayloom {
namespace {

template <class Item> const Item* listed(const map_document& doc, const std::string& name)
{
    for (std::size_t i = 0; i < doc.shape_list.size(); ++i)
        if (doc.shape_list.entries[i].text == name) return doc.shape_list.object_at<Item>(i);
    return nullptr;
}

std::size_t entry_named(const item_list& list, const std::string& text)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list.entries[i].text == text) return i;
    ADD_FAILURE() << "no entry " << text;
    return 0;
}

TEST(map_round_trip, a_field_and_a_marked_set_survive_save_and_reopen)
{
    map_document doc;
    view_state view;
    view.avail_width = 600;
    view.avail_height = 400;
    map_editor editor{doc, view};
    const read_report opened = read_map(doc, WAYLOOM_TEST_DATA "/../../examples/farm.wlm", view_after_read(view));
    ASSERT_TRUE(opened.ok()) << opened.errors.front();
    editor.sync_with_map();
    editor.history().set_clean();
    const std::size_t shapes_before = doc.shape_list.size();

    // A field on the Waypoints tab: the four corners of the long field, filed
    // under a new class "wet meadow" and the existing "water".
    map_control_change(editor, waypoints_tab);
    const auto nw = static_cast<std::int32_t>(entry_named(doc.waypoints_list, "lf-nw"));
    waypoints_list_mouse_down(editor, nw, false);
    waypoints_list_mouse_down(editor, nw + 3, true);
    std::string class_text = "wet meadow";
    create_class(editor, class_text);
    const std::size_t wet = entry_named(doc.class_list, "wet_meadow");
    doc.class_list.entries[entry_named(doc.class_list, "water")].selected = true;
    doc.class_list.entries[wet].selected = true;
    ASSERT_TRUE(add_shape_buttton_click(editor).error.empty());
    EXPECT_TRUE(editor.modified());

    // A set on the Points tab: three square markers, two of them renamed.
    map_control_change(editor, points_tab);
    waypoints_set_list_mouse_down(editor, 0, false);
    editor.attributes().marker = p_square;  // the dialog's square button, a set being built
    editor.attributes().point_size = 6;
    waypoints_set_list_mouse_down(editor, 1, false);
    waypoints_set_list_mouse_down(editor, 2, true);
    editor.set_builder().entries().entries[0].selected = true;
    editor.set_builder().entries().entries[2].selected = true;
    editor.attributes().name = "gate post";
    ok_button_click(editor);
    ASSERT_TRUE(add_shape_buttton_click(editor).error.empty());
    ASSERT_EQ(doc.shape_list.size(), shapes_before + 2);

    const std::string file =
        (std::filesystem::temp_directory_path() / ("wayloom-edit-" + std::to_string(::getpid()) + ".wlm")).string();
    std::string error;
    ASSERT_TRUE(save_map(doc, file, &error)) << error;
    editor.history().set_clean();

    map_document again;
    view_state view2;
    const read_report reopened = read_map(again, file, view_after_read(view2));
    std::filesystem::remove(file);
    ASSERT_TRUE(reopened.ok()) << reopened.errors.front();
    EXPECT_EQ(again.shape_list.size(), shapes_before + 2);

    const auto* field = listed<t_shape>(again, "water-1");
    ASSERT_NE(field, nullptr) << "named after its first class in the list";
    std::vector<std::string> names;
    for (const t_node& n : field->nodes) names.push_back(again.waypoints[static_cast<std::size_t>(n.waypoint)]->name);
    for (std::int32_t c : field->classes) names.push_back(again.class_by_number(c)->name);
    EXPECT_EQ(names, (std::vector<std::string>{"lf-nw", "lf-ne", "lf-se", "lf-sw", "water", "wet_meadow"}));

    const auto* set = listed<t_set>(again, "new-set-1");  // names read back in lower case
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->point_count, 3);
    // Point 0 came before the square was chosen and took it with OK.
    for (std::size_t i = 0; i < 3; ++i) {
        const point_record& p = set->points[i];
        EXPECT_EQ(std::tie(p.name, p.waypoint, p.marker, p.size),
                  std::tuple(i == 1 ? again.waypoints[1]->name : "gate_post", static_cast<int>(i), p_square, 6));
    }
}

} // namespace
} // namespace wayloom
