// A small map to edit: ten waypoints w0 … w9 along a diagonal, the classes
// forest and lake, and an editor on the "Shapes" tab with a 400 × 300 panel.
#pragma once

#include "editing/map_editor.h"
#include "editing/mode_switching.h"
#include "model/map_document.h"
#include "view/geometry/view_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wayloom::test {

class editing_fixture : public ::testing::Test {
protected:
    map_document doc;
    view_state view;
    map_editor editor{doc, view};

    void SetUp() override
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
        add_class("forest", make_colour(0, 128, 0));
        add_class("lake", make_colour(0, 0, 255));
        editor.sync_with_map();
    }

    t_class& add_class(const std::string& name, colour_value colour)
    {
        t_class& c = *doc.create_class();
        c.name = name;
        c.colour = colour;
        doc.class_list.add(name, &c);
        return c;
    }

    void show_tab(int tab) { map_control_change(editor, tab); }

    // Waypoint numbers of the shape being built, in node order.
    std::vector<int> build_nodes() const
    {
        std::vector<int> numbers;
        if (const t_shape* shape = editor.build_shape())
            for (const t_node& node : shape->nodes) numbers.push_back(node.waypoint);
        return numbers;
    }

    static std::vector<std::string> texts(const item_list& list)
    {
        std::vector<std::string> result;
        for (const list_entry& e : list.entries) result.push_back(e.text);
        return result;
    }

    static std::vector<std::string> selected_texts(const item_list& list)
    {
        std::vector<std::string> result;
        for (const list_entry& e : list.entries)
            if (e.selected) result.push_back(e.text);
        return result;
    }

    static void select(item_list& list, const std::vector<int>& indexes)
    {
        for (list_entry& e : list.entries) e.selected = false;
        for (int i : indexes) list.entries.at(static_cast<std::size_t>(i)).selected = true;
    }
};

} // namespace wayloom::test
