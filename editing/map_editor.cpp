#include "editing/map_editor.h"

#include "model/map_document.h"
#include "view/geometry/view_state.h"

#include <algorithm>
#include <memory>

namespace wayloom {

namespace {

// Items keep their registry in rising serial order (appended, erased in place).
template <class T>
T* find_by_number(const std::vector<std::unique_ptr<T>>& chain, std::int32_t number)
{
    if (number <= 0) return nullptr;
    const auto at = std::lower_bound(
        chain.begin(), chain.end(), number,
        [](const std::unique_ptr<T>& item, std::int32_t n) { return item->number < n; });
    return at != chain.end() && (*at)->number == number ? at->get() : nullptr;
}

} // namespace

edit_result& edit_result::operator|=(const edit_result& other)
{
    if (error.empty()) error = other.error;
    repaint = repaint || other.repaint;
    legend = legend || other.legend;
    return *this;
}

map_editor::map_editor(map_document& document, view_state& view_state)
    : doc(document), view(view_state)
{
}

t_shape* map_editor::build_shape() const
{
    return new_shape ? new_shape.get() : find_by_number(doc.shapes, build_shape_number);
}

t_set* map_editor::build_set() const
{
    return new_set ? new_set.get() : find_by_number(doc.sets, build_set_number);
}

void map_editor::sync_with_map()
{
    if (build_shape_number != 0 && !build_shape()) {
        build_shape_number = 0;
        waypoints_shape_list.clear();
        right_toolbar_shown = false;
        building_shape = false;
    }
    if (build_set_number != 0 && !build_set()) {
        build_set_number = 0;
        points_list.clear();
        working_points.clear();
        points_toolbar_shown = false;
        building_set = false;
    }
    waypoints_set_list.copy_unselected(doc.waypoints_list);
    sync_view();
}

void map_editor::release_build_items()
{
    if (t_shape* shape = find_by_number(doc.shapes, build_shape_number)) shape->editing = false;
    if (t_set* set = find_by_number(doc.sets, build_set_number)) set->editing = false;
    new_shape.reset();
    new_set.reset();
    build_shape_number = 0;
    build_set_number = 0;
    rename_shape_number = 0;
    rename_set_number = 0;
    waypoints_shape_list.clear();
    points_list.clear();
    working_points.clear();
    right_toolbar_shown = false;
    points_toolbar_shown = false;
    building_shape = false;
    building_set = false;
    sync_with_map();
}

void map_editor::sync_view()
{
    view.building_shape = building_shape ? build_shape() : nullptr;
    view.building_set = building_set ? build_set() : nullptr;
}

} // namespace wayloom
