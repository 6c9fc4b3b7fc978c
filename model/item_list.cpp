#include "model/item_list.h"

#include "model/point_set.h"
#include "model/shape.h"

#include <utility>

namespace wayloom {

t_mapper* mapper_of(const list_entry& entry)
{
    if (const auto* shape = std::get_if<t_shape*>(&entry.object)) return *shape;
    if (const auto* set = std::get_if<t_set*>(&entry.object)) return *set;
    return nullptr;
}

void item_list::add(std::string text, list_object object)
{
    entries.push_back({std::move(text), object, false});
}

void item_list::copy_unselected(const item_list& other)
{
    // One allocation for the copy: the waypoints tab lists every waypoint of a large map.
    entries.clear();
    entries.reserve(other.size());
    for (const list_entry& entry : other.entries) entries.push_back({entry.text, entry.object, false});
}

std::optional<std::size_t> item_list::selected_index() const
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].selected) return i;
    return std::nullopt;
}

void item_list::select_only(std::size_t index)
{
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].selected = (i == index);
}

void item_list::truncate(std::size_t count)
{
    if (count < entries.size()) entries.resize(count);
}

} // namespace wayloom
