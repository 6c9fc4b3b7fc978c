// A small map to edit: ten waypoints w0 … w9 along a diagonal, the classes
// forest and lake, and an editor on the "Shapes" tab with a 400 × 300 panel.
#pragma once

#include "editing/map_changes.h"
#include "editing/map_editor.h"
#include "editing/mode_switching.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_document.h"
#include "view/geometry/view_state.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace wayloom::test {

inline std::vector<std::string> texts(const item_list& list)
{
    std::vector<std::string> result;
    for (const list_entry& e : list.entries) result.push_back(e.text);
    return result;
}

inline std::vector<std::string> selected_texts(const item_list& list)
{
    std::vector<std::string> result;
    for (const list_entry& e : list.entries)
        if (e.selected) result.push_back(e.text);
    return result;
}

inline void select(item_list& list, const std::vector<int>& indexes)
{
    for (list_entry& e : list.entries) e.selected = false;
    for (int i : indexes) list.entries.at(static_cast<std::size_t>(i)).selected = true;
}

using strings = std::vector<std::string>;

struct editing_map {
    map_document doc;
    view_state view;
    map_editor editor{doc, view};

    editing_map()
    {
        view.avail_width = 400;
        view.avail_height = 300;
        for (int i = 0; i < 10; ++i) {
            t_waypoint& w = doc.create_waypoint();
            w.name = "w" + std::to_string(i);
            w.lon = 10 + i * 0.01L;
            w.lat = 50 + i * 0.005L * (i % 3);
            w.alt = i;
        }
        doc.refill_waypoints_list();
        for (const auto& [name, colour] : {std::pair{"forest", make_colour(0, 128, 0)},
                                          std::pair{"lake", make_colour(0, 0, 255)}}) {
            t_class& c = *doc.create_class();
            c.name = name;
            c.colour = colour;
            doc.class_list.add(name, &c);
        }
        editor.sync_with_map();
    }

    void show_tab(int tab) { map_control_change(editor, tab); }

    // On the Waypoints tab, a shape of the waypoints first … last.
    void build_shape_over(int first, int last)
    {
        show_tab(waypoints_tab);
        waypoints_list_mouse_down(editor, first, false);
        if (last != first) waypoints_list_mouse_down(editor, last, true);
    }

    // On the Points tab, a set of the waypoints first … last.
    void build_set_over(int first, int last)
    {
        show_tab(points_tab);
        waypoints_set_list_mouse_down(editor, first, false);
        if (last != first) waypoints_set_list_mouse_down(editor, last, true);
    }

    // A listed shape on the waypoints w0, w3 and w6.
    t_shape& listed_shape(const std::string& name)
    {
        t_shape& s = doc.create_shape();
        s.name = name;
        for (int w : {0, 3, 6}) s.nodes.emplace_back(w, 0, 0);
        doc.add_item(name, &s, nullptr);
        return s;
    }

    // Nothing of a shape being built is left in the editor or the view.
    bool shape_building_over() const
    {
        return !editor.build_shape() && !view.building_shape && editor.shape_builder().entries().empty() &&
               !editor.shape_builder().toolbar_shown() && !editor.building_shape();
    }

    // Waypoint numbers of the shape being built, in node order.
    std::vector<int> build_nodes() const
    {
        std::vector<int> numbers;
        if (const t_shape* shape = editor.build_shape())
            for (const t_node& node : shape->nodes) numbers.push_back(node.waypoint);
        return numbers;
    }
};

class editing_fixture : public ::testing::Test, public editing_map {};

} // namespace wayloom::test
