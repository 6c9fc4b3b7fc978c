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
    // Lists first: their entries point into the registries.
    waypoints_list.truncate(to.waypoints_list);
    class_list.truncate(to.class_list);
    points_class_list.truncate(to.points_class_list);
    shape_list.truncate(to.shape_list);
    if (to.shapes < shapes.size() || to.sets < sets.size()) analyses_outdated();
    truncate(shapes, to.shapes);
    truncate(sets, to.sets);
    truncate(waypoints, to.waypoints);
    waypoint_store.resize(waypoints.size());
    truncate(classes, to.classes);
    if (std::find(waypoints.begin(), waypoints.end(), current_waypoint) == waypoints.end())
        current_waypoint = nullptr;
    if (!holds(classes, current_class)) current_class = nullptr;
    if (!holds(shapes, current_shape)) current_shape = nullptr;
    if (!holds(sets, current_set)) current_set = nullptr;
}

} // namespace wayloom
