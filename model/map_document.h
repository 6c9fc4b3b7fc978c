// One open map: the registries of waypoints, classes, shapes and point sets,
// the lists the main window shows, and the held map source. Whoever owns the
// map owns one of these; nothing in the model is global.
#pragma once

#include "model/item_list.h"
#include "model/map_class.h"
#include "model/point_set.h"
#include "model/shape.h"
#include "model/source_text.h"
#include "model/track_rules.h"
#include "model/waypoint.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace wayloom {

// Where the registries and lists stood; rolling back to it removes exactly
// what was appended since (everything is appended in order).
struct map_mark {
    std::size_t waypoints = 0, classes = 0, shapes = 0, sets = 0;
    std::size_t waypoints_list = 0, class_list = 0, points_class_list = 0, shape_list = 0;
};

// What was appended after a mark, taken out of the map whole so that it can
// be put back as it was: the objects keep their numbers and addresses (but
// waypoints, which live side by side, move), the list entries their texts.
struct map_tail {
    std::vector<t_waypoint> waypoints;
    std::vector<std::unique_ptr<t_class>> classes;
    std::vector<std::unique_ptr<t_shape>> shapes;
    std::vector<std::unique_ptr<t_set>> sets;
    std::vector<list_entry> class_entries, points_class_entries, shape_entries;

    bool empty() const { return waypoints.empty() && classes.empty() && shapes.empty() && sets.empty(); }
};

struct map_document {
    // Registries. Vector order is chain order; for waypoints and classes it is
    // also the table order, indexed by `number`. Waypoints are never taken
    // out one by one, so they live side by side in waypoint_store (a large
    // map has hundreds of thousands) at addresses that stay put while more
    // are added or the last ones dropped.
    std::vector<t_waypoint*> waypoints;
    std::deque<t_waypoint> waypoint_store;
    std::vector<std::unique_ptr<t_class>> classes;
    std::vector<std::unique_ptr<t_shape>> shapes;
    std::vector<std::unique_ptr<t_set>> sets;
    std::int32_t next_shape_number = 1;  // serials keep rising across clearings
    std::int32_t next_set_number = 1;

    t_waypoint* current_waypoint = nullptr;
    t_class* current_class = nullptr;
    t_shape* current_shape = nullptr;
    t_set* current_set = nullptr;

    // The main window's lists.
    item_list waypoints_list;
    item_list class_list;         // Waypoints tab
    item_list points_class_list;  // Points tab
    item_list shape_list;         // shapes and point sets
    item_list error_list;         // source lines around the last read error

    tsource_text source;
    point_defaults new_point;     // what add_point gives a new record
    track_rules track_reading;    // how tracks downloaded or read become paths and shapes

    // Cleared whenever an item is linked or unlinked: the statistics and
    // the legend must analyse the map again.
    bool statistics_ready = false;
    bool legend_ready = false;
    void analyses_outdated();

    std::int32_t waypoint_count() const { return static_cast<std::int32_t>(waypoints.size()); }
    std::int32_t shape_count() const { return static_cast<std::int32_t>(shapes.size()); }
    std::int32_t set_count() const { return static_cast<std::int32_t>(sets.size()); }
    std::int32_t class_counter() const { return static_cast<std::int32_t>(classes.size()); }
    bool empty() const { return waypoints.empty() && shapes.empty() && sets.empty(); }

    // The waypoint or class with that number, or null when there is none.
    t_waypoint* waypoint(std::int32_t number) const;
    t_class* class_by_number(std::int32_t number) const;

    // Creation appends to the registry and makes the object current.
    t_waypoint& create_waypoint();
    t_shape& create_shape();
    t_set& create_set();
    // Null when the 16-bit class counter is used up (65535 classes exist).
    t_class* create_class();

    // Takes the item out of its chain and hands it to the caller.
    std::unique_ptr<t_shape> unlink(t_shape& shape);
    std::unique_ptr<t_set> unlink(t_set& set);
    // Where the item stands in its chain; the chain's length when it is not in it.
    std::size_t chain_index(const t_shape& shape) const;
    std::size_t chain_index(const t_set& set) const;
    // Puts an item taken out by unlink back at `index` of its chain under
    // its own serial number, which no other item ever took.
    void relink(std::unique_ptr<t_shape> shape, std::size_t index);
    void relink(std::unique_ptr<t_set> set, std::size_t index);
    // Appends an item made outside the map (one the editor built) to its
    // chain under a new serial number and makes it current.
    t_shape& link(std::unique_ptr<t_shape> shape);
    t_set& link(std::unique_ptr<t_set> set);

    // Appends the class of entry `index` of class_list (for a shape) or of
    // points_class_list (for a set) to the item. An index past the list does nothing.
    void set_class(std::size_t index, t_shape* shape, t_set* set);
    // Removes every occurrence of the class of entry `index` of class_list
    // from the shape's classes, or from the set's when no shape is given.
    void clear_class(std::size_t index, t_shape* shape, t_set* set);
    // A class's new area colour, which every shape in the class takes too:
    // the map draws its shapes as the legend shows the class.
    void recolour_class(t_class& c, colour_value colour);
    // Lists the item in shape_list under `name`.
    void add_item(std::string name, t_shape* shape, t_set* set);

    // Empties waypoints_list and lists every waypoint in number order.
    void refill_waypoints_list();
    // Appends the waypoint to waypoints_list, unless nothing shows that list.
    void list_waypoint(t_waypoint& w);
    // Off where no window shows the lists (the command line): waypoints_list
    // then stays empty, which spares an entry for each of a large map's
    // waypoints. The other lists name the classes and items commands select.
    bool lists_waypoints = true;

    // Clears the map: every item, waypoint and class and every list. The
    // shape and set serials go on; the class counter restarts at 0.
    void demolish();

    map_mark mark() const;
    // Removes what was appended since the mark, with the lists' entries for
    // it, and hands it over; put_tail appends it again.
    map_tail take_tail(const map_mark& from);
    void put_tail(map_tail tail);
    // Drops what was appended since the mark, and any list entry past the
    // mark's lengths, so that no entry outlives an item taken out otherwise.
    void roll_back(const map_mark& to);
};

} // namespace wayloom
