// The history of edits on the benchmark map (200,000 waypoints, 400
// polygons of 500 nodes): what 1,000 edits of every kind keep, beside the
// map's own memory, and how long an undo and a redo of each kind take.
#include "survey.h"

#include "editing/item_commands.h"
#include "editing/map_editor.h"
#include "editing/mode_switching.h"
#include "editing/node_moves.h"
#include "editing/shape_building.h"
#include "editing/undo_commands.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/view_state.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace wayloom::bench {

namespace {

// Bytes in use from the heap and in mapped blocks (large vectors).
std::size_t heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct edited_map {
    map_document doc;
    view_state view;
    map_editor editor{doc, view};

    edited_map()
    {
        view.avail_width = 1280;
        view.avail_height = 1024;
        build_benchmark_map(doc);
        doc.refill_waypoints_list();  // as the window lists them
        for (const auto& c : doc.classes) doc.class_list.add(c->name, c.get());
        after_map_read(view, doc);
    }
    // The editor takes up the map: the Points tab's copy of the waypoints.
    void start() { editor.sync_with_map(); }

    // A run of the edits users make, `count` steps in all, in turn: renames,
    // an item taken up with a node deleted and one moved and committed
    // again, a deleted shape (unless `deletes` is false), a new class, a
    // download of 100 waypoints.
    void edit(int count, bool deletes)
    {
        map_control_change(editor, waypoints_tab);
        for (int i = 0; editor.history().size() < static_cast<std::size_t>(count); ++i) {
            const auto item = static_cast<std::size_t>(i % static_cast<int>(doc.shape_list.size()));
            if (!deletes && i % 8 == 5) continue;
            switch (i % 8) {
            case 0:
                shape_list_mouse_down(editor, static_cast<std::int32_t>(item));
                shape_edit_change(editor, "renamed-" + std::to_string(i));
                break;
            case 1:
                doc.shape_list.select_only(item);
                edit_shape_button_click(editor);
                break;
            case 2:
            case 3:
                editor.shape_builder().entries().select_only(0);
                (i % 8 == 2 ? delete_button_click : down_button_click)(editor);
                break;
            case 4: add_shape_buttton_click(editor); break;
            case 5:
                doc.shape_list.select_only(item);
                delete_shape_button_click(editor);
                break;
            case 6: {
                std::string name = "class-" + std::to_string(i);
                create_class(editor, name);
                break;
            }
            default: {
                const map_mark before = doc.mark();
                for (int k = 0; k < 100; ++k) {
                    t_waypoint& w = doc.create_waypoint();
                    w.name = "dl" + std::to_string(w.number);
                    w.lon = -4.1 + k * 0.0001;
                    w.lat = 52.3;
                    doc.list_waypoint(w);
                }
                record_appended(editor, before, "Download");
            }
            }
        }
    }
};

// The history's own count of what its steps keep, and the heap's growth
// over the edits, against the heap the map and its lists took. With
// argument 1 an eighth of the edits delete a 500-node shape, which the
// history then keeps whole; with 0 there are none.
void history_memory(benchmark::State& state)
{
    for (auto _ : state) {
        const std::size_t start = heap_in_use();
        edited_map map;
        const std::size_t map_bytes = heap_in_use() - start;
        map.start();
        const std::size_t before_edits = heap_in_use();
        map.edit(1000, state.range(0) != 0);
        const std::size_t held = map.editor.history().held_bytes();
        state.counters["map_MB"] = static_cast<double>(map_bytes) / 1e6;
        state.counters["history_KB"] = static_cast<double>(held) / 1e3;
        state.counters["history_percent"] = 100.0 * static_cast<double>(held) / static_cast<double>(map_bytes);
        state.counters["heap_growth_KB"] = static_cast<double>(heap_in_use() - before_edits) / 1e3;
        state.counters["steps"] = static_cast<double>(map.editor.history().size());
    }
}
BENCHMARK(history_memory)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

// Undoing and redoing the whole history, a step at a time, with the
// drawing's projection and the lists following each.
void undo_and_redo_all(benchmark::State& state)
{
    edited_map map;
    map.start();
    map.edit(1000, true);
    for (auto _ : state) {
        while (map.editor.history().can_undo()) undo_edit(map.editor);
        while (map.editor.history().can_redo()) redo_edit(map.editor);
    }
    state.counters["steps"] = static_cast<double>(2 * map.editor.history().size());
}
BENCHMARK(undo_and_redo_all)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace wayloom::bench
