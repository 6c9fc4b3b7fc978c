// The map file's life without a window: open, merge with its roll-back,
// refresh from source, save, the change flag and the proposed names.
#include "editing/map_files.h"

#include "editing/item_commands.h"
#include "editing/mode_switching.h"
#include "editing/node_moves.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"

#include "model/map_document.h"
#include "view/geometry/view_state.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace wayloom {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> texts(const item_list& list)
{
    std::vector<std::string> out;
    for (const list_entry& e : list.entries) out.push_back(e.text);
    return out;
}

const std::string farm = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";
const std::string unknown_command = WAYLOOM_TEST_DATA "/cli/unknown_command.wlm";

struct map_files_fixture : ::testing::Test {
    map_document doc;
    view_state view;
    map_editor editor{doc, view};
    map_files files{editor};
    fs::path dir = fs::temp_directory_path() /
                   ("wayloom_map_files_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());

    map_files_fixture()
    {
        fs::create_directories(dir);
        view.avail_width = 400;
        view.avail_height = 300;
    }
    ~map_files_fixture() override { fs::remove_all(dir); }

    std::string file(const std::string& name, const std::string& text) const
    {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

TEST_F(map_files_fixture, open_reads_the_file_into_an_emptied_map_and_counts_it_saved)
{
    ASSERT_TRUE(files.open(farm).ok());
    editor.history().lose_clean();
    const read_report again = files.open(farm);
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(doc.waypoint_count(), 33) << "the map was emptied first";
    EXPECT_EQ(doc.shape_list.size(), 6u);
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.waypoints_set_list().size(), 33u) << "the Points tab sees the waypoints";
}

TEST_F(map_files_fixture, a_missing_file_is_an_error_box_without_the_error_tab)
{
    ASSERT_TRUE(files.open(farm).ok());
    const std::string gone = (dir / "gone.wlm").string();
    const read_report report = files.open(gone);
    EXPECT_EQ(report.errors, std::vector<std::string>{"Cant find : " + gone});
    EXPECT_TRUE(report.missing);
    EXPECT_FALSE(shows_error_tab(report));
    EXPECT_TRUE(doc.empty()) << "Open clears the map before it looks for the file";
    EXPECT_FALSE(editor.modified());

    const read_report bad = files.open(unknown_command);
    EXPECT_FALSE(bad.missing);
    EXPECT_TRUE(shows_error_tab(bad));
}

TEST_F(map_files_fixture, a_merge_that_adds_is_a_change_and_a_failed_one_keeps_the_map)
{
    ASSERT_TRUE(files.open(farm).ok());
    ASSERT_TRUE(files.merge(farm).ok());
    EXPECT_EQ(doc.waypoint_count(), 66);
    EXPECT_TRUE(editor.modified());

    editor.history().set_clean();
    const read_report failed = files.merge(unknown_command);
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(doc.waypoint_count(), 66) << "only what the failed read added goes";
    EXPECT_EQ(doc.shape_list.size(), 12u);
    EXPECT_FALSE(editor.modified()) << "nothing was added";
}

TEST_F(map_files_fixture, refresh_rebuilds_from_the_last_text_read_and_needs_an_item)
{
    ASSERT_TRUE(files.open(farm).ok());
    ASSERT_TRUE(files.merge(farm).ok());
    EXPECT_TRUE(files.can_refresh());
    EXPECT_TRUE(files.refresh().ok());
    EXPECT_EQ(doc.waypoint_count(), 33) << "the held text is the merged file's alone";
    EXPECT_FALSE(editor.modified());

    const std::string only = file("only.wlm", "waypoints\n  {\n    a, 1, 2, 3\n  }\n");
    ASSERT_TRUE(files.open(only).ok());
    EXPECT_FALSE(files.can_refresh());
    editor.history().lose_clean();
    EXPECT_TRUE(files.refresh().ok());
    EXPECT_TRUE(editor.modified()) << "with only waypoints nothing is read again";
}

TEST_F(map_files_fixture, save_proposes_the_last_name_written_and_no_failed_one)
{
    EXPECT_EQ(files.proposed_name(), "new.wlm");
    ASSERT_TRUE(files.open(farm).ok());
    editor.history().lose_clean();
    std::string error;
    EXPECT_FALSE(files.save((dir / "no-such-folder" / "x.wlm").string(), error));
    EXPECT_EQ(error, std::strerror(ENOENT));
    EXPECT_EQ(files.proposed_name(), "new.wlm");
    EXPECT_TRUE(editor.modified());

    EXPECT_TRUE(files.save((dir / "kept.wlm").string(), error));
    EXPECT_EQ(files.proposed_name(), "kept.wlm");
    EXPECT_FALSE(editor.modified());
    EXPECT_TRUE(files.open((dir / "kept.wlm").string()).ok());
    EXPECT_EQ(doc.waypoint_count(), 33);
}

// Only map items are written: a new item still being built is none, an item
// taken up for editing is one, written as it stands.
TEST_F(map_files_fixture, save_writes_the_map_items_with_an_edited_one_as_it_stands)
{
    ASSERT_TRUE(files.open(farm).ok());
    map_control_change(editor, points_tab);
    waypoints_set_list_mouse_down(editor, 0, false);
    waypoints_set_list_mouse_down(editor, 1, false);
    map_control_change(editor, shapes_tab);
    ASSERT_NE(editor.build_set(), nullptr);
    EXPECT_EQ(std::tuple(doc.shape_count(), doc.set_count()), std::tuple(5, 1));

    doc.shape_list.entries[3].selected = true;  // pond
    const t_shape* pond = doc.shape_list.object_at<t_shape>(3);
    const std::size_t pond_nodes = pond->nodes.size();
    ASSERT_TRUE(edit_shape_button_click(editor).error.empty());
    map_control_change(editor, waypoints_tab);
    editor.shape_builder().entries().entries[0].selected = true;
    delete_button_click(editor);
    map_control_change(editor, shapes_tab);

    std::string error;
    ASSERT_TRUE(files.save((dir / "saved.wlm").string(), error)) << error;
    ASSERT_TRUE(files.open((dir / "saved.wlm").string()).ok());
    EXPECT_EQ(texts(doc.shape_list), (std::vector<std::string>{"north-meadow", "long-field", "orchard",
                                                                "pond", "farm-track", "fence-posts"}));
    EXPECT_EQ(doc.shape_list.object_at<t_shape>(3)->nodes.size(), pond_nodes - 1);
}

TEST_F(map_files_fixture, file_commands_wait_only_for_a_new_item_with_nodes_or_points)
{
    ASSERT_TRUE(files.open(farm).ok());
    EXPECT_EQ(files.map_folder() + "farm.wlm", farm);
    const std::optional<std::string> none;
    const std::string shape = "Finish or cancel the shape being built first";
    const std::string set = "Finish or cancel the point set being built first";
    map_control_change(editor, waypoints_tab);
    EXPECT_EQ(file_command_refusal(editor), none) << "a tab alone builds nothing";
    waypoints_list_mouse_down(editor, 0, false);
    map_control_change(editor, shapes_tab);
    EXPECT_EQ(file_command_refusal(editor), shape) << "whatever tab shows";
    map_control_change(editor, waypoints_tab);
    add_shape_buttton_click(editor);
    EXPECT_EQ(file_command_refusal(editor), none);
    map_control_change(editor, points_tab);
    waypoints_set_list_mouse_down(editor, 0, false);
    EXPECT_EQ(file_command_refusal(editor), set);
    add_shape_buttton_click(editor);
    doc.shape_list.entries[3].selected = true;
    edit_shape_button_click(editor);
    map_control_change(editor, waypoints_tab);
    EXPECT_EQ(file_command_refusal(editor), none) << "an item taken up for editing is in the map";
    files.new_map();
    EXPECT_EQ(files.map_folder(), "");
}

TEST_F(map_files_fixture, may_drop_asks_only_when_changed_and_a_save_must_write)
{
    int asked = 0;
    const auto answer = [&](save_answer a) {
        return [&asked, a] { ++asked; return a; };
    };
    EXPECT_TRUE(files.may_drop(answer(save_answer::cancel), [] { return false; }));
    EXPECT_EQ(asked, 0);
    editor.history().lose_clean();
    EXPECT_FALSE(files.may_drop(answer(save_answer::cancel), [] { return true; }));
    EXPECT_TRUE(files.may_drop(answer(save_answer::discard), [] { return false; }));
    EXPECT_FALSE(files.may_drop(answer(save_answer::save), [] { return false; }));
    EXPECT_TRUE(files.may_drop(answer(save_answer::save), [] { return true; }));
    EXPECT_EQ(asked, 4);
}

TEST(read_map_files, the_first_is_opened_the_rest_merged_up_to_the_first_error)
{
    map_document doc;
    const std::vector<std::string> three = {farm, unknown_command, farm};
    const read_report report = read_map_files(doc, three);
    EXPECT_EQ(report.errors, std::vector<std::string>{"Unrecongnised command : field"});
    EXPECT_EQ(doc.waypoint_count(), 33) << "the third file is not read";

    map_document two;
    const std::vector<std::string> farms = {farm, farm};
    EXPECT_TRUE(read_map_files(two, farms).ok());
    EXPECT_EQ(two.waypoint_count(), 66);
    EXPECT_EQ(file_part("/a/b/c.wlm"), "c.wlm");
    EXPECT_EQ(file_part("c.wlm"), "c.wlm");
}

} // namespace
} // namespace wayloom
