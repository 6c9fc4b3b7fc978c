// The kinds of change an edit is made of, each holding the least that lets
// it be applied and reverted, and the recorder that gathers the changes of
// one user action into a step of the history.
#pragma once

#include "editing/build_item.h"
#include "editing/edit_history.h"
#include "model/map_class.h"
#include "model/map_document.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace wayloom {

class map_editor;

// Gathers the changes made while it lives into one step under `text`, and
// hands the step to the history when it ends, if anything changed. A
// recorder made while another records joins that one's step.
class step_recorder {
public:
    step_recorder(map_editor& editor, std::string text, merge_key key = {});
    ~step_recorder();
    step_recorder(const step_recorder&) = delete;
    step_recorder& operator=(const step_recorder&) = delete;

    // Applies a change and keeps it.
    template <class Change, class... Args> void apply(Args&&... args)
    {
        auto change = std::make_unique<Change>(std::forward<Args>(args)...);
        change->apply(editor_);
        keep(std::move(change));
    }
    // Keeps a change that has already been made.
    void keep(std::unique_ptr<map_change> done);
    // The step's name, for a recorder of its own (one that joined keeps the first's).
    void set_text(std::string text);
    void set_changes_map(bool changes);
    bool empty() const;

private:
    map_editor& editor_;
    bool owns_ = false;
};

// Nodes or points with their list entries going into the item being built
// (`into`, with the rows) or coming out of it, at positions `at`.
class rows_change : public map_change {
public:
    rows_change(build_item& builder, std::vector<std::size_t> at, build_rows rows, bool into);
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override;
    std::size_t held_bytes() const override;
    const t_mapper* reshaped() const override { return item_; }

private:
    build_item& builder_;
    std::vector<std::size_t> at_;
    build_rows rows_;  // the rows while they are out of the item
    bool into_;
    const t_mapper* item_ = nullptr;
    void move(map_editor& editor, bool in);
};

// Rows of the item being built exchanged, a pair at a time in order.
class rows_swapped : public map_change {
public:
    rows_swapped(build_item& builder, std::vector<std::pair<std::size_t, std::size_t>> swaps);
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override;
    std::size_t held_bytes() const override { return swaps_.capacity() * sizeof(swaps_.front()); }
    const t_mapper* reshaped() const override { return item_; }

private:
    build_item& builder_;
    std::vector<std::pair<std::size_t, std::size_t>> swaps_;
    const t_mapper* item_ = nullptr;
};

// The builder changes hands: it takes up another item, or lets go of one.
// The list entries of the item it does not hold are not kept: they are
// listed again from the item when it comes back.
class holding_swapped : public map_change {
public:
    holding_swapped(build_item& builder, build_holding holding)
        : builder_(builder), holding_(std::move(holding)) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override { apply(editor); }
    std::size_t held_bytes() const override;

private:
    build_item& builder_;
    build_holding holding_;  // what the builder does not hold now
};

// An item's name, kind, colours, classes and editing mark: the fields of
// an item or of its looks, in one order, to copy or swap together.
template <class Item> auto item_fields(Item& x)
{
    return std::tie(x.name, x.shape_type, x.colour, x.default_colour, x.border, x.default_border, x.classes,
                    x.editing);
}

struct item_looks {
    std::string name;
    shape_kind shape_type = 0;
    colour_value colour = grey, default_colour = grey, border = black, default_border = black;
    class_type classes;
    bool editing = false;

    static item_looks of(const t_mapper& item);
    friend bool operator==(const item_looks&, const item_looks&) = default;
};

// An item's looks exchanged with others; the entries listing it show its name.
class looks_swapped : public map_change {
public:
    looks_swapped(t_mapper& item, item_looks other) : item_(item), other_(std::move(other)) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override { apply(editor); }
    std::size_t held_bytes() const override;

private:
    t_mapper& item_;
    item_looks other_;
};

// A class's colours exchanged with others.
class class_looks_swapped : public map_change {
public:
    class_looks_swapped(t_class& c, colour_value colour, colour_value border)
        : class_(c), colour_(colour), border_(border) {}
    void apply(map_editor&) override;
    void revert(map_editor& editor) override { apply(editor); }

private:
    t_class& class_;
    colour_value colour_, border_;
};

// What a point shows: its labels and marker, as item_fields.
template <class Point> auto point_fields(Point& x)
{
    return std::tie(x.name, x.hint, x.marker, x.size, x.colour, x.border, x.show_name);
}

struct point_looks {
    std::string name, hint;
    point_type marker = p_circle;
    long double size = 10;
    colour_value colour = grey, border = black;
    bool show_name = true;

    static point_looks of(const point_record& point);
    friend bool operator==(const point_looks&, const point_looks&) = default;
};

// The looks of points of the set being built exchanged with others.
class points_restyled : public map_change {
public:
    points_restyled(build_item& builder, std::vector<std::pair<std::size_t, point_looks>> looks)
        : builder_(builder), looks_(std::move(looks)) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override { apply(editor); }
    std::size_t held_bytes() const override;

private:
    build_item& builder_;
    std::vector<std::pair<std::size_t, point_looks>> looks_;
};

// A shape or set leaves the map with its shape_list entries.
class item_unlinked : public map_change {
public:
    explicit item_unlinked(t_mapper& item) : item_(item) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override;
    std::size_t held_bytes() const override;

private:
    t_mapper& item_;
    std::size_t index_ = 0;  // in its chain
    std::vector<std::pair<std::size_t, list_entry>> entries_;
    std::unique_ptr<t_shape> shape_;  // the item while it is out of the map
    std::unique_ptr<t_set> set_;
};

// The builder's new item joins the map: at the end of its chain under a
// new serial number the first time, under the same one after an undo.
class new_item_linked : public map_change {
public:
    explicit new_item_linked(build_item& builder) : builder_(builder) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override;

private:
    build_item& builder_;
    t_mapper* item_ = nullptr;
    std::size_t index_ = 0;
    bool linked_ = false;
};

// A shape's nodes exchanged with others, as Close path and Open shape
// drop or add the node that walks back to the start.
class nodes_swapped : public map_change {
public:
    nodes_swapped(t_shape& shape, std::vector<t_node> other) : shape_(shape), other_(std::move(other)) {}
    void apply(map_editor&) override { shape_.nodes.swap(other_); }
    void revert(map_editor& editor) override { apply(editor); }
    std::size_t held_bytes() const override { return other_.capacity() * sizeof(t_node); }
    const t_mapper* reshaped() const override { return &shape_; }

private:
    t_shape& shape_;
    std::vector<t_node> other_;
};

// The item gets an entry at the end of shape_list.
class item_listed : public map_change {
public:
    explicit item_listed(t_mapper& item) : item_(item) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override;

private:
    t_mapper& item_;
};

// What a read, a transfer or a new class appended to the map, from one mark
// to the next, with the map source the read replaced. While undone it holds
// what it took out of the map; while done only the marks.
class map_appended : public map_change {
public:
    // `replaced_source` is the text held before a read replaced it; a
    // transfer or a new class leaves the source alone.
    map_appended(const map_mark& before, std::optional<tsource_text> replaced_source)
        : before_(before), source_(std::move(replaced_source)) {}
    void apply(map_editor& editor) override;
    void revert(map_editor& editor) override;
    std::size_t held_bytes() const override;

private:
    map_mark before_;
    map_tail tail_;
    std::optional<tsource_text> source_;  // the source text the map does not hold now
};

// The looks of every class and item, taken before a rule recolours or
// renames what it chooses; record_changes then keeps a change for each
// class or item that differs.
class looks_snapshot {
public:
    explicit looks_snapshot(const map_editor& editor);
    void record_changes(step_recorder& step) const;
    // "Recolour class forest", "Recolour 2 shapes": what differs now.
    std::string recolour_text() const;

private:
    std::vector<std::pair<t_class*, std::pair<colour_value, colour_value>>> classes_;
    std::vector<std::pair<t_mapper*, item_looks>> items_;
};

// The same for points of the set being built, at the positions given.
class point_looks_snapshot {
public:
    point_looks_snapshot(build_item& builder, const map_document& doc, std::vector<std::size_t> at);
    void record_changes(step_recorder& step, const map_document& doc) const;

private:
    build_item& builder_;
    std::vector<std::pair<std::size_t, point_looks>> looks_;
};

} // namespace wayloom
