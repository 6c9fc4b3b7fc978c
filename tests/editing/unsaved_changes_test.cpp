#include "editing_fixture.h"

#include "editing/attribute_commands.h"
#include "editing/item_commands.h"
#include "editing/node_moves.h"
#include "editing/undo_commands.h"
#include "editing/unsaved_changes.h"

#include <functional>

namespace wayloom::test {
namespace {

TEST(save_prompt, asks_only_when_modified_and_follows_the_answer)
{
    struct row { const char* name; bool modified; save_answer answer; bool save_works, may_go_on; int asked, saved; };
    const std::vector<row> rows = {
        {"unmodified: nothing asked", false, save_answer::cancel, true, true, 0, 0},
        {"discard goes on without saving", true, save_answer::discard, true, true, 1, 0},
        {"cancel stops", true, save_answer::cancel, true, false, 1, 0},
        {"save then go on", true, save_answer::save, true, true, 1, 1},
        {"a failed or cancelled save stops", true, save_answer::save, false, false, 1, 1},
    };
    for (const row& r : rows) {
        int asked = 0, saved = 0;
        const bool go_on = may_drop_map(r.modified, [&] { ++asked; return r.answer; }, [&] { ++saved; return r.save_works; });
        EXPECT_EQ(std::tuple(go_on, asked, saved), std::tuple(r.may_go_on, r.asked, r.saved)) << r.name;
    }
    EXPECT_EQ(save_changes_question, "Save changes to the map?");
}

TEST(save_prompt, caption_marks_unsaved_changes)
{
    EXPECT_EQ(window_caption("Wayloom 0.1.2", true), "Wayloom 0.1.2*");
    EXPECT_EQ(window_caption("Wayloom 0.1.2", false), "Wayloom 0.1.2");
}

// Each command starts from a saved map with a shape being built (two nodes,
// the second selected) on the Waypoints tab and one listed shape.
TEST(modified_flag, is_set_by_every_command_that_changes_the_map)
{
    struct row { const char* name; std::function<void(map_editor&)> command; bool changes; };
    const std::vector<row> rows = {
        {"a click", [](map_editor& e) { waypoints_list_mouse_down(e, 8, false); }, true},
        {"commit", [](map_editor& e) { add_shape_buttton_click(e); }, true},
        {"move up", [](map_editor& e) { up_button_click(e); }, true},
        {"delete node", [](map_editor& e) { delete_button_click(e); }, true},
        {"rename", [](map_editor& e) { shape_list_mouse_down(e, 0); shape_edit_change(e, "x y"); }, true},
        {"create class", [](map_editor& e) { std::string t = "c"; create_class(e, t); }, true},
        {"delete item", [](map_editor& e) { e.doc().shape_list.entries[0].selected = true; delete_shape_button_click(e); }, true},
        {"path", [](map_editor& e) { path_button_click(e); }, true},
        {"area colour", [](map_editor& e) { area_colour_chosen(e, 5); }, true},
        {"tab change", [](map_editor& e) { map_control_change(e, shapes_tab); }, false},
        {"take up for editing", [](map_editor& e) { e.doc().shape_list.entries[0].selected = true; edit_shape_button_click(e); }, false},
        {"the same waypoint again", [](map_editor& e) { waypoints_list_mouse_down(e, 2, false); }, false},
        {"polygon, already one", [](map_editor& e) { polygon_button_click(e); }, false},
    };
    for (const row& r : rows) {
        editing_map m;
        m.listed_shape("listed");
        m.build_shape_over(1, 1);
        waypoints_list_mouse_down(m.editor, 2, false);
        m.editor.shape_builder().entries().entries[1].selected = true;
        m.editor.history().set_clean();
        r.command(m.editor);
        EXPECT_EQ(m.editor.modified(), r.changes) << r.name;
    }
}

// The star follows the history: from an opened map, a run of class
// additions (e), undos (u), redos (r) and saves (s).
TEST(modified_flag, follows_undo_redo_and_the_state_saved)
{
    struct row { const char* name; std::string run; bool modified; std::size_t undos, redos; };
    const std::vector<row> rows = {
        {"an edit", "e", true, 1, 0},
        {"undone back to the map opened", "eu", false, 0, 1},
        {"redone past it", "eur", true, 1, 0},
        {"saved, then undone", "esu", true, 0, 1},
        {"saved, undone, redone", "esur", false, 1, 0},
        {"an edit after undoing the save drops it", "esueu", true, 0, 1},
        {"an edit after an undo keeps the state opened", "eueu", false, 0, 1},
        {"1,000 steps kept, the oldest dropped", std::string(1001, 'e') + std::string(1000, 'u'), true, 0, 1000},
    };
    for (const row& r : rows) {
        editing_map m;
        m.show_tab(waypoints_tab);
        m.editor.history().clear();
        for (std::size_t i = 0; i < r.run.size(); ++i) {
            std::string name = "c" + std::to_string(i);
            if (r.run[i] == 'e') create_class(m.editor, name);
            if (r.run[i] == 'u') undo_edit(m.editor);
            if (r.run[i] == 'r') redo_edit(m.editor);
            if (r.run[i] == 's') m.editor.history().set_clean();
        }
        const edit_history& h = m.editor.history();
        EXPECT_EQ(std::tuple(m.editor.modified(), h.index(), h.size() - h.index()),
                  std::tuple(r.modified, r.undos, r.redos)) << r.name;
    }
}

} // namespace
} // namespace wayloom::test
