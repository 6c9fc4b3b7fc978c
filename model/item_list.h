// The lists the main window shows: entries of text, each with the object it
// stands for and a selected flag. The views display them; the core fills them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace wayloom {

struct t_waypoint;
struct t_class;
struct t_shape;
struct t_set;
struct t_mapper;

using list_object = std::variant<std::monostate, t_waypoint*, t_class*, t_shape*, t_set*>;

struct list_entry {
    std::string text;
    list_object object;
    bool selected = false;
};

// The shape or set an entry stands for, or null.
t_mapper* mapper_of(const list_entry& entry);

struct item_list {
    std::vector<list_entry> entries;

    void add(std::string text, list_object object = {});
    // Replaces the entries with copies of `other`'s, none selected.
    void copy_unselected(const item_list& other);
    void clear() { entries.clear(); }
    std::size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }

    // First selected entry, if any.
    std::optional<std::size_t> selected_index() const;
    // Selects entry `index` alone; an index past the end selects nothing.
    void select_only(std::size_t index);
    // Entries past `count` are dropped (used to undo a read that failed).
    void truncate(std::size_t count);

    template <class T> T* object_at(std::size_t index) const
    {
        if (index >= entries.size()) return nullptr;
        const auto* held = std::get_if<T*>(&entries[index].object);
        return held ? *held : nullptr;
    }
};

} // namespace wayloom
