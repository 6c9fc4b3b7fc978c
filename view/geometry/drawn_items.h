// Which items the map drawing paints, in which frame and in which order:
// the item being built alone and fitted, or the selection, with the item
// being built over it when the map is kept behind it.
#pragma once

#include "model/item_list.h"
#include "model/mapper.h"
#include "view/geometry/view_state.h"

#include <cstddef>

namespace wayloom {

// Stands for the item being built, which has no entry in the list.
inline constexpr std::size_t no_entry = static_cast<std::size_t>(-1);

// The item under construction when it has a node or point, else null.
t_mapper* build_item(const view_state& state);

// Whether the selection is projected and drawn while an item is being
// built, that item drawn over it in the selection's frame: asked for, an
// item with a node or point being built, and a selected item with one.
bool map_behind_applies(const view_state& state, const item_list& shape_list);

// Calls visit(item, entry) for every item projected into the surface's
// frame, in drawing order: the item being built alone (entry no_entry),
// or the selected items of the list with positions, leaving out the item
// being built when it is drawn over them.
template <class Visit>
void for_each_framed_item(const view_state& state, const item_list& shape_list, Visit&& visit)
{
    t_mapper* building = build_item(state);
    const bool behind = map_behind_applies(state, shape_list);
    if (building && !behind) {
        visit(*building, no_entry);
        return;
    }
    for (std::size_t i = 0; i < shape_list.entries.size(); ++i) {
        if (!shape_list.entries[i].selected) continue;
        t_mapper* item = mapper_of(shape_list.entries[i]);
        if (item && item != building && !item->positions().empty()) visit(*item, i);
    }
}

} // namespace wayloom
