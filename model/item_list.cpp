#include "model/item_list.h"

#include <utility>

namespace wayloom {

void item_list::add(std::string text, list_object object)
{
    entries.push_back({std::move(text), object, false});
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
