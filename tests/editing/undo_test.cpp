// Undo and redo over seeded random sessions of every kind of edit: the map
// written after each undo or redo is the one written when the history last
// stood there, byte for byte, with the lists that show it.
#include "editing/attribute_commands.h"
#include "editing/item_commands.h"
#include "editing/map_changes.h"
#include "editing/map_files.h"
#include "editing/mode_switching.h"
#include "editing/node_moves.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "editing/undo_commands.h"
#include "source/writer.h"
#include "view/geometry/view_state.h"
#include "tests/read_text.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace wayloom::test {
namespace {

namespace fs = std::filesystem;
const std::string farm = WAYLOOM_TEST_DATA "/../../examples/farm.wlm";

// A map of `count` waypoints on a grid, three classes, polygons and a path
// over them and a set of points.
std::string generated_map(int count)
{
    // Degrees written with a point whatever the locale: 10.007.
    auto degrees = [](int whole, int thousandths) {
        const std::string digits = std::to_string(1000 + thousandths);
        return std::to_string(whole) + "." + digits.substr(1);
    };
    std::string text = "waypoints\n{\n";
    for (int i = 0; i < count; ++i)
        text += "g" + std::to_string(i) + ", " + degrees(10, i % 20) + ", " + degrees(50, i / 20) + ", " +
                std::to_string(i % 7) + (i + 1 < count ? ",\n" : "\n");
    text += "}\nclass wood { colour 0,128,0 border 0,0,0 }\nclass water { colour 0,0,255 border 1,2,3 }\n"
            "class road { colour 90,90,90 border 0,0,0 }\n";
    for (int s = 0; s + 4 < count; s += 37) {
        text += (s % 2 ? "path p" : "shape f") + std::to_string(s) + " { class " + (s % 2 ? "road" : "wood") +
                " nodes {";
        for (int k = 0; k < 4; ++k) text += " " + std::to_string(s + k) + ", 0, 0";
        text += " } }\n";
    }
    return text + "set posts { class water points { a colour 1,1,1 border 2,2,2 square, 6, 1, 3, 0, 0 "
                  "b colour 4,4,4 border 5,5,5 circle, 8, 0, 5, 0, 0 } }\n";
}

struct session {
    map_document doc;
    view_state view;
    map_editor editor{doc, view};
    map_files files{editor};
    std::mt19937 rng;
    fs::path dir = fs::temp_directory_path() / ("wayloom-undo-" + std::to_string(::getpid()));

    explicit session(unsigned seed) : rng(seed)
    {
        view.avail_width = 500;
        view.avail_height = 400;
        fs::create_directories(dir);
        std::ofstream(dir / "small.wlm") << generated_map(40);
    }
    ~session() { fs::remove_all(dir); }

    std::size_t pick(std::size_t n) { return n == 0 ? 0 : rng() % n; }
    bool coin() { return rng() % 2 == 0; }
    void select_some(item_list& list)
    {
        for (list_entry& e : list.entries) e.selected = pick(3) == 0;
    }
    std::int32_t any(const item_list& list) { return static_cast<std::int32_t>(pick(list.size() + 1)) - 1; }

    // The map as a save writes it, and what the lists show of it.
    std::string state()
    {
        std::string error;
        const fs::path file = dir / "state.wlm";
        EXPECT_TRUE(write_map_file(doc, file.string(), &error)) << error;
        std::string text = testing::read_text(file);
        for (const item_list* list : {&doc.shape_list, &editor.shape_builder().entries(), &editor.set_builder().entries()}) {
            text += "\n--";
            for (const list_entry& e : list->entries) text += " " + e.text;
        }
        return text;
    }

    // One user action, chosen at random. Returns true when it may have
    // merged into the last step (typing a name, the attributes dialog).
    std::size_t kind = 0;  // of the last action
    bool act()
    {
        kind = pick(17);
        build_item& builder = coin() ? editor.shape_builder() : editor.set_builder();
        switch (kind) {
        case 0: map_control_change(editor, static_cast<int>(pick(3))); break;
        case 1: case 2:
            map_control_change(editor, waypoints_tab);
            waypoints_list_mouse_down(editor, any(doc.waypoints_list), coin());
            break;
        case 3:
            map_control_change(editor, points_tab);
            waypoints_set_list_mouse_down(editor, any(editor.waypoints_set_list()), coin());
            break;
        case 4:
            select_some(builder.entries());
            (builder.builds_sets() ? delete_point_button_click : delete_button_click)(editor);
            break;
        case 5:
            select_some(builder.entries());
            if (builder.builds_sets()) (coin() ? points_up_button_click : points_down_button_click)(editor);
            else (coin() ? up_button_click : down_button_click)(editor);
            break;
        case 6: case 7:
            map_control_change(editor, builder.builds_sets() ? points_tab : waypoints_tab);
            select_some(builder.builds_sets() ? doc.points_class_list : doc.class_list);
            add_shape_buttton_click(editor);
            break;
        case 8:
            doc.shape_list.select_only(pick(doc.shape_list.size() + 1));
            edit_shape_button_click(editor);
            break;
        case 9:
            for (list_entry& e : doc.shape_list.entries) e.selected = pick(6) == 0;
            delete_shape_button_click(editor);
            break;
        case 10: {
            shape_list_mouse_down(editor, any(doc.shape_list));
            const char* names[] = {"", "north field", "lake.2", "x"};
            shape_edit_change(editor, names[pick(4)]);
            return true;
        }
        case 11: {
            map_control_change(editor, coin() ? waypoints_tab : points_tab);
            std::string name = "class " + std::to_string(pick(50));
            create_class(editor, name);
            break;
        }
        case 12:
            select_some(doc.class_list);
            if (colour_button_click(editor)) {
                select_some(editor.set_builder().entries());
                const colour_value c = make_colour(pick(256), pick(256), 7);
                coin() ? area_colour_chosen(editor, c) : border_colour_chosen(editor, c);
            }
            break;
        case 13:
            select_some(editor.set_builder().entries());
            editor.attributes().name = coin() ? "" : "tree " + std::to_string(pick(9));
            editor.attributes().marker = coin() ? p_square : p_circle;
            editor.attributes().point_size = 1 + static_cast<std::int32_t>(pick(20));
            ok_button_click(editor);
            return true;
        case 14: (coin() ? path_button_click : polygon_button_click)(editor); break;
        case 15:
            if (!file_command_refusal(editor)) files.merge(coin() ? farm : (dir / "small.wlm").string());
            break;
        default: {
            // What a download or a recolouring from the legend does.
            if (coin()) {
                const map_mark before = doc.mark();
                for (std::size_t i = 0, n = 1 + pick(4); i < n; ++i) {
                    t_waypoint& w = doc.create_waypoint();
                    w.name = "dl" + std::to_string(w.number);
                    w.lon = 10 + static_cast<long double>(pick(100)) / 1000;
                    w.lat = 50.5;
                }
                doc.refill_waypoints_list();
                record_appended(editor, before, "Download");
                editor.sync_with_map();
            } else if (!doc.classes.empty()) {
                const looks_snapshot before(editor);
                doc.recolour_class(*doc.classes[pick(doc.classes.size())], make_colour(1, 2, pick(256)));
                step_recorder step(editor, before.recolour_text());
                before.record_changes(step);
            }
        }
        }
        return false;
    }
};

struct undo_case {
    const char* name;
    unsigned seed;
    bool generated;  // a generated map, else the farm
};

class undo_sessions : public ::testing::TestWithParam<undo_case> {};

TEST_P(undo_sessions, every_state_comes_back_byte_for_byte)
{
    session s(GetParam().seed);
    const fs::path generated = s.dir / "generated.wlm";
    std::ofstream(generated) << generated_map(120);
    const read_report opened = s.files.open(GetParam().generated ? generated.string() : farm);
    ASSERT_TRUE(opened.ok()) << opened.errors.front() << " at line " << opened.error_line;
    std::vector<std::string> states{s.state()};
    // The first line that differs, with the action and the step.
    auto check = [&](const char* what) {
        ASSERT_LT(s.editor.history().index(), states.size());
        const std::string now = s.state(), then = states[s.editor.history().index()];
        const auto [a, b] = std::mismatch(now.begin(), now.end(), then.begin(), then.end());
        if (a == now.end() && b == then.end()) return;
        const auto line = std::count(now.begin(), a, '\n');
        FAIL() << what << " at step " << s.editor.history().index() << " after action " << s.kind << ", line "
               << line << ": " << std::string(a, std::find(a, now.end(), '\n')) << " | "
               << std::string(b, std::find(b, then.end(), '\n'));
    };
    for (int action = 0; action < 250; ++action) {
        const std::size_t before = s.editor.history().index();
        const bool may_merge = s.act();
        const std::size_t at = s.editor.history().index();
        states.resize(s.editor.history().size() + 1);
        if (at == before && !may_merge) check("an action that made no step changed nothing");
        states[at] = s.state();
        if (s.pick(10) == 0) {
            // A few steps back and forward again, or back and on from there.
            const std::size_t back = 1 + s.pick(4);
            for (std::size_t k = 0; k < back && s.editor.history().can_undo(); ++k) {
                undo_edit(s.editor);
                check("undo");
            }
            for (std::size_t k = 0; k < back && s.coin() && s.editor.history().can_redo(); ++k) {
                redo_edit(s.editor);
                check("redo");
            }
        }
        if (HasFatalFailure()) return;
    }
    const std::size_t last = s.editor.history().size();
    while (s.editor.history().can_undo()) {
        undo_edit(s.editor);
        check("undo all");
    }
    EXPECT_FALSE(s.editor.modified()) << "back at the map opened";
    while (s.editor.history().can_redo()) {
        redo_edit(s.editor);
        check("redo all");
    }
    EXPECT_EQ(s.editor.history().index(), last);
    EXPECT_GT(last, 40u) << "the session made steps";
}

INSTANTIATE_TEST_SUITE_P(seeds, undo_sessions,
                         ::testing::Values(undo_case{"farm_1", 1, false}, undo_case{"farm_2", 2, false},
                                           undo_case{"generated_4", 4, true}, undo_case{"generated_5", 5, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace wayloom::test
