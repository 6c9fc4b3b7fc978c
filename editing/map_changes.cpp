#include "editing/map_changes.h"

#include "editing/map_editor.h"

#include <algorithm>
#include <type_traits>

namespace wayloom {

namespace {

std::size_t entry_bytes(const std::vector<list_entry>& entries)
{
    std::size_t bytes = entries.capacity() * sizeof(list_entry);
    for (const list_entry& e : entries) bytes += e.text.capacity();
    return bytes;
}

std::size_t point_bytes(const std::vector<point_record>& points)
{
    std::size_t bytes = points.capacity() * sizeof(point_record);
    for (const point_record& p : points) bytes += p.name.capacity() + p.hint.capacity();
    return bytes;
}

template <class Item> std::size_t item_bytes(const Item* item)
{
    if (!item) return 0;
    std::size_t bytes = sizeof(Item) + item->name.capacity() + item->classes.capacity() * sizeof(std::int32_t);
    if constexpr (std::is_same_v<Item, t_shape>) bytes += item->nodes.capacity() * sizeof(t_node);
    else bytes += point_bytes(item->points);
    return bytes;
}

std::size_t mapper_bytes(const t_mapper* item)
{
    if (const auto* shape = dynamic_cast<const t_shape*>(item)) return item_bytes(shape);
    return item_bytes(dynamic_cast<const t_set*>(item));
}

list_object object_of(t_mapper& item)
{
    if (auto* shape = dynamic_cast<t_shape*>(&item)) return shape;
    return dynamic_cast<t_set*>(&item);
}

} // namespace

step_recorder::step_recorder(map_editor& editor, std::string text, merge_key key) : editor_(editor)
{
    if (editor.recording_) return;
    editor.recording_ = std::make_unique<edit_step>(std::move(text), key);
    owns_ = true;
}

step_recorder::~step_recorder()
{
    if (owns_) editor_.history_.push(std::move(editor_.recording_));
}

void step_recorder::keep(std::unique_ptr<map_change> done) { editor_.recording_->add(std::move(done)); }

void step_recorder::set_text(std::string text)
{
    if (owns_) editor_.recording_->set_text(std::move(text));
}

void step_recorder::set_changes_map(bool changes)
{
    if (owns_) editor_.recording_->set_changes_map(changes);
}

bool step_recorder::empty() const { return editor_.recording_->empty(); }

rows_change::rows_change(build_item& builder, std::vector<std::size_t> at, build_rows rows, bool into)
    : builder_(builder), at_(std::move(at)), rows_(std::move(rows)), into_(into)
{
}

void rows_change::move(map_editor& editor, bool in)
{
    item_ = builder_.item(editor.doc());
    if (in) builder_.put_rows(editor.doc(), at_, rows_);
    else rows_ = builder_.take_rows(editor.doc(), at_);
}

void rows_change::apply(map_editor& editor) { move(editor, into_); }

void rows_change::revert(map_editor& editor) { move(editor, !into_); }

std::size_t rows_change::held_bytes() const
{
    return at_.capacity() * sizeof(std::size_t) + rows_.nodes.capacity() * sizeof(t_node) +
           point_bytes(rows_.points) + entry_bytes(rows_.entries);
}

rows_swapped::rows_swapped(build_item& builder, std::vector<std::pair<std::size_t, std::size_t>> swaps)
    : builder_(builder), swaps_(std::move(swaps))
{
}

void rows_swapped::apply(map_editor& editor)
{
    item_ = builder_.item(editor.doc());
    for (const auto& [a, b] : swaps_) builder_.swap_rows(editor.doc(), a, b);
}

void rows_swapped::revert(map_editor& editor)
{
    for (auto swap = swaps_.rbegin(); swap != swaps_.rend(); ++swap)
        builder_.swap_rows(editor.doc(), swap->first, swap->second);
}

void holding_swapped::apply(map_editor& editor)
{
    builder_.swap_holding(holding_);
    holding_.entries.clear();
    holding_.entries.entries.shrink_to_fit();
    builder_.relist(editor.doc());
}

std::size_t holding_swapped::held_bytes() const
{
    return entry_bytes(holding_.entries.entries) + mapper_bytes(holding_.new_item.get());
}

item_looks item_looks::of(const t_mapper& item)
{
    item_looks looks;
    item_fields(looks) = item_fields(item);
    return looks;
}

void looks_swapped::apply(map_editor& editor)
{
    auto mine = item_fields(item_), other = item_fields(other_);
    mine.swap(other);
    // An entry of shape_list always shows its item's name.
    for (list_entry& entry : editor.doc().shape_list.entries)
        if (mapper_of(entry) == &item_) entry.text = item_.name;
}

std::size_t looks_swapped::held_bytes() const
{
    return other_.name.capacity() + other_.classes.capacity() * sizeof(std::int32_t);
}

void class_looks_swapped::apply(map_editor&)
{
    std::swap(class_.colour, colour_);
    std::swap(class_.border, border_);
}

point_looks point_looks::of(const point_record& p)
{
    point_looks looks;
    point_fields(looks) = point_fields(p);
    return looks;
}

void points_restyled::apply(map_editor& editor)
{
    t_set* set = builder_.set(editor.doc());
    if (!set) return;
    for (auto& [i, looks] : looks_) {
        if (i >= used_points(*set)) continue;
        point_record& p = set->points[i];
        auto mine = point_fields(p), other = point_fields(looks);
        mine.swap(other);
        if (i < builder_.entries().size()) builder_.entries().entries[i].text = p.name;
    }
}

std::size_t points_restyled::held_bytes() const
{
    std::size_t bytes = looks_.capacity() * sizeof(looks_.front());
    for (const auto& [i, looks] : looks_) bytes += looks.name.capacity() + looks.hint.capacity();
    return bytes;
}

void item_unlinked::apply(map_editor& editor)
{
    map_document& doc = editor.doc();
    entries_.clear();
    std::vector<list_entry>& list = doc.shape_list.entries;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (mapper_of(list[i]) == &item_) entries_.emplace_back(i, list[i]);
    std::erase_if(list, [&](const list_entry& e) { return mapper_of(e) == &item_; });
    if (auto* shape = dynamic_cast<t_shape*>(&item_)) {
        index_ = doc.chain_index(*shape);
        shape_ = doc.unlink(*shape);
    } else if (auto* set = dynamic_cast<t_set*>(&item_)) {
        index_ = doc.chain_index(*set);
        set_ = doc.unlink(*set);
    }
}

void item_unlinked::revert(map_editor& editor)
{
    map_document& doc = editor.doc();
    if (shape_) doc.relink(std::move(shape_), index_);
    if (set_) doc.relink(std::move(set_), index_);
    std::vector<list_entry>& list = doc.shape_list.entries;
    for (auto& [i, entry] : entries_)
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(i, list.size())), std::move(entry));
    entries_.clear();
}

std::size_t item_unlinked::held_bytes() const
{
    std::size_t bytes = entries_.capacity() * sizeof(entries_.front());
    for (const auto& [i, entry] : entries_) bytes += entry.text.capacity();
    return bytes + item_bytes(shape_.get()) + item_bytes(set_.get());
}

void new_item_linked::apply(map_editor& editor)
{
    map_document& doc = editor.doc();
    std::unique_ptr<t_mapper> taken = builder_.take_new();
    item_ = taken.get();
    // The first time the item takes a new serial at the end of its chain
    // (also when an earlier commit of it was undone and dropped); after an
    // undo it goes back under the same one.
    auto link = [&](auto item, auto& chain) {
        if (!linked_) {
            index_ = chain.size();
            doc.link(std::move(item));
            linked_ = true;
        } else {
            doc.relink(std::move(item), index_);
        }
    };
    if (dynamic_cast<t_shape*>(item_)) link(std::unique_ptr<t_shape>(static_cast<t_shape*>(taken.release())), doc.shapes);
    else if (dynamic_cast<t_set*>(item_)) link(std::unique_ptr<t_set>(static_cast<t_set*>(taken.release())), doc.sets);
}

void new_item_linked::revert(map_editor& editor)
{
    map_document& doc = editor.doc();
    if (auto* shape = dynamic_cast<t_shape*>(item_)) builder_.put_new(doc.unlink(*shape));
    else if (auto* set = dynamic_cast<t_set*>(item_)) builder_.put_new(doc.unlink(*set));
    builder_.relist(doc);
}

void item_listed::apply(map_editor& editor) { editor.doc().shape_list.add(item_.name, object_of(item_)); }

void item_listed::revert(map_editor& editor)
{
    std::vector<list_entry>& list = editor.doc().shape_list.entries;
    const auto last = std::find_if(list.rbegin(), list.rend(),
                                   [&](const list_entry& e) { return mapper_of(e) == &item_; });
    if (last != list.rend()) list.erase(std::next(last).base());
}

void map_appended::apply(map_editor& editor)
{
    editor.doc().put_tail(std::move(tail_));
    tail_ = map_tail{};
    if (source_) std::swap(editor.doc().source, *source_);
}

void map_appended::revert(map_editor& editor)
{
    tail_ = editor.doc().take_tail(before_);
    if (source_) std::swap(editor.doc().source, *source_);
}

std::size_t map_appended::held_bytes() const
{
    std::size_t bytes = tail_.waypoints.capacity() * sizeof(t_waypoint);
    for (const t_waypoint& w : tail_.waypoints) bytes += w.name.capacity();
    for (const auto& c : tail_.classes) bytes += sizeof(t_class) + c->name.capacity();
    for (const auto& shape : tail_.shapes) bytes += item_bytes(shape.get());
    for (const auto& set : tail_.sets) bytes += item_bytes(set.get());
    bytes += entry_bytes(tail_.class_entries) + entry_bytes(tail_.points_class_entries) +
             entry_bytes(tail_.shape_entries);
    return bytes + (source_ ? source_->whole().size() : 0);
}

looks_snapshot::looks_snapshot(const map_editor& editor)
{
    const map_document& doc = editor.doc();
    for (const auto& c : doc.classes) classes_.push_back({c.get(), {c->colour, c->border}});
    for (const auto& shape : doc.shapes) items_.emplace_back(shape.get(), item_looks::of(*shape));
    for (const auto& set : doc.sets) items_.emplace_back(set.get(), item_looks::of(*set));
    for (const build_item* builder : {&editor.shape_builder(), &editor.set_builder()})
        if (builder->holds_new())
            if (t_mapper* item = builder->item(doc)) items_.emplace_back(item, item_looks::of(*item));
}

void looks_snapshot::record_changes(step_recorder& step) const
{
    for (const auto& [c, colours] : classes_)
        if (c->colour != colours.first || c->border != colours.second)
            step.keep(std::make_unique<class_looks_swapped>(*c, colours.first, colours.second));
    for (const auto& [item, looks] : items_)
        if (!(item_looks::of(*item) == looks)) step.keep(std::make_unique<looks_swapped>(*item, looks));
}

std::string looks_snapshot::recolour_text() const
{
    std::vector<std::string> classes, items;
    for (const auto& [c, colours] : classes_)
        if (c->colour != colours.first || c->border != colours.second) classes.push_back(c->name);
    for (const auto& [item, looks] : items_)
        if (!(item_looks::of(*item) == looks)) items.push_back(item->name);
    const bool of_classes = !classes.empty();
    const std::vector<std::string>& names = of_classes ? classes : items;
    const std::string noun = of_classes ? "class" : "shape";
    if (names.size() == 1) return "Recolour " + noun + " " + names.front();
    return "Recolour " + std::to_string(names.size()) + " " + (of_classes ? "classes" : "shapes");
}

point_looks_snapshot::point_looks_snapshot(build_item& builder, const map_document& doc,
                                           std::vector<std::size_t> at)
    : builder_(builder)
{
    const t_set* set = builder.set(doc);
    if (!set) return;
    for (std::size_t i : at)
        if (i < used_points(*set)) looks_.emplace_back(i, point_looks::of(set->points[i]));
}

void point_looks_snapshot::record_changes(step_recorder& step, const map_document& doc) const
{
    const t_set* set = builder_.set(doc);
    if (!set) return;
    std::vector<std::pair<std::size_t, point_looks>> changed;
    for (const auto& [i, looks] : looks_)
        if (i < used_points(*set) && !(point_looks::of(set->points[i]) == looks)) changed.emplace_back(i, looks);
    if (!changed.empty()) step.keep(std::make_unique<points_restyled>(builder_, std::move(changed)));
}

} // namespace wayloom
