#include "view/geometry/drawn_items.h"

#include "model/point_set.h"
#include "model/shape.h"

namespace wayloom {

t_mapper* build_item(const view_state& state)
{
    if (state.building_shape && !state.building_shape->nodes.empty()) return state.building_shape;
    if (state.building_set && used_points(*state.building_set) > 0) return state.building_set;
    return nullptr;
}

bool map_behind_applies(const view_state& state, const item_list& shape_list)
{
    const t_mapper* building = build_item(state);
    if (!state.map_behind_build || !building) return false;
    for (const list_entry& entry : shape_list.entries) {
        const t_mapper* item = entry.selected ? mapper_of(entry) : nullptr;
        if (item && item != building && !item->positions().empty()) return true;
    }
    return false;
}

} // namespace wayloom
