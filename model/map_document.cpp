#include "model/map_document.h"

#include <algorithm>
#include <utility>

namespace wayloom {

namespace {

template <class T> std::unique_ptr<T> take_out(std::vector<std::unique_ptr<T>>& chain, T& item)
{
    const auto at = std::find_if(chain.begin(), chain.end(),
                                 [&](const std::unique_ptr<T>& held) { return held.get() == &item; });
    if (at == chain.end()) return nullptr;
    std::unique_ptr<T> taken = std::move(*at);
    chain.erase(at);
    return taken;
}

template <class T> T& append_numbered(std::vector<std::unique_ptr<T>>& chain, std::unique_ptr<T> item,
                                       std::int32_t& next_number, T*& current)
{
    T& appended = *chain.emplace_back(std::move(item));
    appended.number = next_number++;
    current = &appended;
    return appended;
}

template <class T> void truncate(std::vector<T>& v, std::size_t count)
{
    if (count < v.size()) v.erase(v.begin() + static_cast<std::ptrdiff_t>(count), v.end());
}

template <class T> bool holds(const std::vector<std::unique_ptr<T>>& chain, const T* item)
{
    return std::any_of(chain.begin(), chain.end(),
                       [&](const std::unique_ptr<T>& held) { return held.get() == item; });
}

template <class T> std::size_t index_in(const std::vector<std::unique_ptr<T>>& chain, const T& item)
{
    const auto at = std::find_if(chain.begin(), chain.end(),
                                 [&](const std::unique_ptr<T>& held) { return held.get() == &item; });
    return static_cast<std::size_t>(at - chain.begin());
}

template <class T> void insert_at(std::vector<std::unique_ptr<T>>& chain, std::unique_ptr<T> item,
                                  std::size_t index)
{
    chain.insert(chain.begin() + static_cast<std::ptrdiff_t>(std::min(index, chain.size())), std::move(item));
}

// Moves the chain's objects from `count` on to the end of `to`.
template <class T> void move_tail(std::vector<T>& chain, std::size_t count, std::vector<T>& to)
{
    if (count >= chain.size()) return;
    const auto from = chain.begin() + static_cast<std::ptrdiff_t>(count);
    to.insert(to.end(), std::make_move_iterator(from), std::make_move_iterator(chain.end()));
    chain.erase(from, chain.end());
}

// Moves the entries whose object is one of `objects` (sorted) to the end of `to`.
void move_entries(item_list& list, const std::vector<list_object>& objects, std::vector<list_entry>& to)
{
    if (objects.empty()) return;
    const auto taken = std::stable_partition(list.entries.begin(), list.entries.end(), [&](const list_entry& e) {
        return !std::binary_search(objects.begin(), objects.end(), e.object);
    });
    to.insert(to.end(), std::make_move_iterator(taken), std::make_move_iterator(list.entries.end()));
    list.entries.erase(taken, list.entries.end());
}

template <class T> void add_objects(std::vector<list_object>& objects, const std::vector<std::unique_ptr<T>>& items)
{
    for (const auto& item : items) objects.emplace_back(item.get());
}

} // namespace

t_waypoint* map_document::waypoint(std::int32_t number) const
{
    if (number < 0 || number >= waypoint_count()) return nullptr;
    return waypoints[static_cast<std::size_t>(number)];
}

t_class* map_document::class_by_number(std::int32_t number) const
{
    if (number < 0 || number >= class_counter()) return nullptr;
    return classes[static_cast<std::size_t>(number)].get();
}

t_waypoint& map_document::create_waypoint()
{
    t_waypoint& w = waypoint_store.emplace_back();
    waypoints.push_back(&w);
    w.number = waypoint_count() - 1;
    current_waypoint = &w;
    return w;
}

t_shape& map_document::create_shape()
{
    t_shape& s = append_numbered(shapes, std::make_unique<t_shape>(), next_shape_number, current_shape);
    s.shape_type = s_polygon;
    return s;
}

t_set& map_document::create_set()
{
    return append_numbered(sets, std::make_unique<t_set>(), next_set_number, current_set);
}

t_class* map_document::create_class()
{
    if (class_counter() >= max_classes) return nullptr;
    auto& c = *classes.emplace_back(std::make_unique<t_class>());
    c.number = class_counter() - 1;
    current_class = &c;
    return &c;
}

std::unique_ptr<t_shape> map_document::unlink(t_shape& shape)
{
    analyses_outdated();
    if (current_shape == &shape) current_shape = nullptr;
    return take_out(shapes, shape);
}

std::unique_ptr<t_set> map_document::unlink(t_set& set)
{
    analyses_outdated();
    if (current_set == &set) current_set = nullptr;
    return take_out(sets, set);
}

std::size_t map_document::chain_index(const t_shape& shape) const { return index_in(shapes, shape); }

std::size_t map_document::chain_index(const t_set& set) const { return index_in(sets, set); }

void map_document::relink(std::unique_ptr<t_shape> shape, std::size_t index)
{
    analyses_outdated();
    insert_at(shapes, std::move(shape), index);
}

void map_document::relink(std::unique_ptr<t_set> set, std::size_t index)
{
    analyses_outdated();
    insert_at(sets, std::move(set), index);
}

t_shape& map_document::link(std::unique_ptr<t_shape> shape)
{
    analyses_outdated();
    return append_numbered(shapes, std::move(shape), next_shape_number, current_shape);
}

t_set& map_document::link(std::unique_ptr<t_set> set)
{
    analyses_outdated();
    return append_numbered(sets, std::move(set), next_set_number, current_set);
}

void map_document::recolour_class(t_class& c, colour_value colour)
{
    c.colour = colour;
    for (const auto& shape : shapes)
        if (std::find(shape->classes.begin(), shape->classes.end(), c.number) != shape->classes.end())
            shape->colour = colour;
}

void map_document::analyses_outdated()
{
    statistics_ready = false;
    legend_ready = false;
}

void map_document::set_class(std::size_t index, t_shape* shape, t_set* set)
{
    t_mapper* item = shape ? static_cast<t_mapper*>(shape) : set;
    if (!item) return;
    const t_class* c = (shape ? class_list : points_class_list).object_at<t_class>(index);
    if (!c) return;
    item->classes.push_back(c->number);
}

void map_document::clear_class(std::size_t index, t_shape* shape, t_set* set)
{
    t_mapper* item = shape ? static_cast<t_mapper*>(shape) : set;
    const t_class* c = class_list.object_at<t_class>(index);
    if (!item || !c) return;
    std::erase(item->classes, c->number);
}

void map_document::add_item(std::string name, t_shape* shape, t_set* set)
{
    if (shape)
        shape_list.add(std::move(name), shape);
    else if (set)
        shape_list.add(std::move(name), set);
}

void map_document::refill_waypoints_list()
{
    waypoints_list.clear();
    for (t_waypoint* w : waypoints) list_waypoint(*w);
}

void map_document::list_waypoint(t_waypoint& w)
{
    if (lists_waypoints) waypoints_list.add(w.name, &w);
}

void map_document::demolish()
{
    if (!shapes.empty() || !sets.empty()) analyses_outdated();
    roll_back(map_mark{});
}

map_mark map_document::mark() const
{
    return {waypoints.size(),     classes.size(),     shapes.size(),
            sets.size(),          waypoints_list.size(), class_list.size(),
            points_class_list.size(), shape_list.size()};
}

void map_document::roll_back(const map_mark& to)
{
    take_tail(to);
    waypoints_list.truncate(to.waypoints_list);
    class_list.truncate(to.class_list);
    points_class_list.truncate(to.points_class_list);
    shape_list.truncate(to.shape_list);
}

map_tail map_document::take_tail(const map_mark& from)
{
    map_tail tail;
    // Lists first: their entries point into the registries. Waypoints are
    // listed in number order, so theirs are the last ones.
    waypoints_list.truncate(from.waypoints_list);
    if (from.shapes < shapes.size() || from.sets < sets.size()) analyses_outdated();
    move_tail(shapes, from.shapes, tail.shapes);
    move_tail(sets, from.sets, tail.sets);
    move_tail(classes, from.classes, tail.classes);
    std::vector<list_object> objects;
    add_objects(objects, tail.classes);
    std::sort(objects.begin(), objects.end());
    move_entries(class_list, objects, tail.class_entries);
    move_entries(points_class_list, objects, tail.points_class_entries);
    objects.clear();
    add_objects(objects, tail.shapes);
    add_objects(objects, tail.sets);
    std::sort(objects.begin(), objects.end());
    move_entries(shape_list, objects, tail.shape_entries);
    if (from.waypoints < waypoints.size()) {
        tail.waypoints.reserve(waypoints.size() - from.waypoints);
        for (std::size_t i = from.waypoints; i < waypoints.size(); ++i)
            tail.waypoints.push_back(std::move(*waypoints[i]));
        waypoints.resize(from.waypoints);
        waypoint_store.resize(from.waypoints);
    }
    if (std::find(waypoints.begin(), waypoints.end(), current_waypoint) == waypoints.end())
        current_waypoint = nullptr;
    if (!holds(classes, current_class)) current_class = nullptr;
    if (!holds(shapes, current_shape)) current_shape = nullptr;
    if (!holds(sets, current_set)) current_set = nullptr;
    return tail;
}

void map_document::put_tail(map_tail tail)
{
    if (!tail.shapes.empty() || !tail.sets.empty()) analyses_outdated();
    for (t_waypoint& w : tail.waypoints) {
        t_waypoint& back = waypoint_store.emplace_back(std::move(w));
        waypoints.push_back(&back);
        list_waypoint(back);
    }
    auto append = [](auto& chain, auto& items) {
        for (auto& item : items) chain.push_back(std::move(item));
    };
    append(classes, tail.classes);
    append(shapes, tail.shapes);
    append(sets, tail.sets);
    append(class_list.entries, tail.class_entries);
    append(points_class_list.entries, tail.points_class_entries);
    append(shape_list.entries, tail.shape_entries);
}

} // namespace wayloom
