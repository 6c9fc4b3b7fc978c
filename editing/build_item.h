// The item under construction on the Waypoints or the Points tab: a new
// shape or point set the builder owns until it is committed, or a map item
// taken up for editing, with the list that mirrors its nodes or points one
// entry each. One type serves both kinds; what differs is the record a row
// holds (a node or a point), reached through the item's positions.
#pragma once

#include "model/item_list.h"
#include "model/mapper.h"
#include "model/point_set.h"
#include "model/shape.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace wayloom {

struct map_document;

// Rows taken out of an item or to be put into it, in position order: one
// record and one list entry each (nodes for a shape, points for a set).
struct build_rows {
    std::vector<t_node> nodes;
    std::vector<point_record> points;
    std::vector<list_entry> entries;
};

// Whom the builder holds: the new item, else the map item taken up (by
// serial number, which the map never gives twice), and the list entries.
// Swapping two of these is how the builder changes hands.
struct build_holding {
    std::unique_ptr<t_mapper> new_item;
    std::int32_t taken = 0;
    item_list entries;
};

class build_item {
public:
    // s_points builds point sets; any other kind builds shapes.
    explicit build_item(shape_kind kind) : kind_(kind) {}

    bool builds_sets() const { return kind_ == s_points; }
    // The new item under construction, else the map item taken up for
    // editing when the map still holds it, else null.
    t_mapper* item(const map_document& doc) const;
    t_shape* shape(const map_document& doc) const;
    t_set* set(const map_document& doc) const;
    bool holds_new() const { return holding_.new_item != nullptr; }
    std::int32_t taken_number() const { return holding_.taken; }
    // Nodes or points in use; 0 without an item.
    std::size_t size(const map_document& doc) const;

    // One entry per node or point, the waypoint's name (a point's own name)
    // with the waypoint as object. The view writes the user's selection here.
    item_list& entries() { return holding_.entries; }
    const item_list& entries() const { return holding_.entries; }

    // A holding with a new item "build" of the builder's kind, to swap in.
    build_holding fresh() const;
    // The new item leaves for the map, or comes back from it.
    std::unique_ptr<t_mapper> take_new() { return std::move(holding_.new_item); }
    void put_new(std::unique_ptr<t_mapper> item) { holding_.new_item = std::move(item); }
    // What the builder would hold after taking up `item`: its rows listed.
    build_holding holding_for(const map_document& doc, const t_mapper& item, std::int32_t number) const;
    void swap_holding(build_holding& other) { std::swap(holding_, other); }
    // Lets go of everything; a map item taken up stays in the map.
    void clear() { holding_ = {}; }

    // Rows of the item and the list together, at positions `at`: rising,
    // each below the item's size (for take_rows) or below its size once the
    // rows before it are in (for put_rows, which empties `rows`).
    build_rows take_rows(const map_document& doc, const std::vector<std::size_t>& at);
    void put_rows(const map_document& doc, const std::vector<std::size_t>& at, build_rows& rows);
    void swap_rows(const map_document& doc, std::size_t a, std::size_t b);
    // The entries' texts again from the item's waypoints or point names,
    // keeping their selection.
    void relist(const map_document& doc);

    // The anchor of a Shift-click range (−1: none) and the guard that keeps
    // a click from being handled inside another.
    std::int32_t anchor() const { return anchor_; }
    void set_anchor(std::int32_t index) { anchor_ = index; }
    bool busy() const { return busy_; }
    void set_busy(bool busy) { busy_ = busy; }

    // The tab's tool strip shows exactly while this is set.
    bool toolbar_shown() const { return toolbar_shown_; }
    void show_toolbar(bool shown) { toolbar_shown_ = shown; }

private:
    shape_kind kind_;
    build_holding holding_;
    std::int32_t anchor_ = -1;
    bool busy_ = false;
    bool toolbar_shown_ = false;
};

// The list entry that stands for a node or a point of an item being built.
list_entry node_entry(const map_document& doc, const t_node& node);
list_entry point_entry(const map_document& doc, const point_record& point);

} // namespace wayloom
