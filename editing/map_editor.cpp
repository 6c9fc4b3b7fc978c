#include "editing/map_editor.h"

#include "editing/clean_name.h"
#include "model/map_document.h"
#include "view/geometry/view_state.h"

namespace wayloom {

edit_result& edit_result::operator|=(const edit_result& other)
{
    if (error.empty()) error = other.error;
    repaint = repaint || other.repaint;
    legend = legend || other.legend;
    return *this;
}

map_editor::map_editor(map_document& document, view_state& view_state)
    : doc_(document), view_(view_state)
{
}

void map_editor::start_building(build_mode mode)
{
    building_ = mode;
    if (mode == build_mode::shape) mode_ = waypoints_tab;
    if (mode == build_mode::set) mode_ = points_tab;
}

void map_editor::set_mode(int mode)
{
    mode_ = mode;
    if ((building_shape() && mode != waypoints_tab) || (building_set() && mode != points_tab))
        building_ = build_mode::none;
}

void map_editor::hold_for_rename(std::int32_t shape_number, std::int32_t set_number)
{
    rename_shape_ = shape_number;
    rename_set_ = set_number;
}

std::string map_editor::clean(std::string_view text) { return clean_name(text, no_name_counter_); }

std::int32_t map_editor::take_new_number(build_mode kind)
{
    return kind == build_mode::set ? new_set_counter_++ : new_shape_counter_++;
}

void map_editor::sync_with_map()
{
    for (build_item* builder : {&shapes_, &sets_}) {
        if (builder->taken_number() == 0 || builder->item(doc_)) continue;
        builder->clear();
        builder->show_toolbar(false);
        if (builder == &shapes_ ? building_shape() : building_set()) building_ = build_mode::none;
    }
    waypoints_set_list_.copy_unselected(doc_.waypoints_list);
    sync_view();
}

void map_editor::release_build_items()
{
    for (build_item* builder : {&shapes_, &sets_}) {
        if (t_mapper* item = builder->item(doc_)) item->editing = false;
        builder->clear();
        builder->show_toolbar(false);
    }
    building_ = build_mode::none;
    rename_shape_ = rename_set_ = 0;
    history_.clear();
    sync_with_map();
}

void map_editor::sync_view()
{
    view_.building_shape = building_shape() ? build_shape() : nullptr;
    view_.building_set = building_set() ? build_set() : nullptr;
}

} // namespace wayloom
