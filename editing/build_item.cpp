#include "editing/build_item.h"

#include "model/map_document.h"

#include <algorithm>

namespace wayloom {

namespace {

// Items keep their registry in rising serial order (appended, erased and
// put back in place).
template <class T>
T* find_by_number(const std::vector<std::unique_ptr<T>>& chain, std::int32_t number)
{
    if (number <= 0) return nullptr;
    const auto at = std::lower_bound(
        chain.begin(), chain.end(), number,
        [](const std::unique_ptr<T>& item, std::int32_t n) { return item->number < n; });
    return at != chain.end() && (*at)->number == number ? at->get() : nullptr;
}

// Takes the records at the positions `at` (rising) out of the first
// `used`, keeping the order of the others.
template <class Record>
void take_from(std::vector<Record>& records, std::size_t used, const std::vector<std::size_t>& at,
               std::vector<Record>& taken)
{
    for (std::size_t i : at) taken.push_back(std::move(records[i]));
    std::size_t write = 0;
    std::size_t next = 0;
    for (std::size_t read = 0; read < used; ++read) {
        if (next < at.size() && at[next] == read) {
            ++next;
            continue;
        }
        if (write != read) records[write] = std::move(records[read]);
        ++write;
    }
    // Records past the used ones (a set's spare records) move down with them.
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(write),
                  records.begin() + static_cast<std::ptrdiff_t>(used));
}

template <class Record>
void put_into(std::vector<Record>& records, const std::vector<std::size_t>& at, std::vector<Record>& rows)
{
    for (std::size_t i = 0; i < at.size() && i < rows.size(); ++i)
        records.insert(records.begin() + static_cast<std::ptrdiff_t>(std::min(at[i], records.size())),
                       std::move(rows[i]));
    rows.clear();
}

} // namespace

list_entry node_entry(const map_document& doc, const t_node& node)
{
    t_waypoint* w = doc.waypoint(node.waypoint);
    return {w ? w->name : std::to_string(node.waypoint), w ? list_object{w} : list_object{}, false};
}

list_entry point_entry(const map_document& doc, const point_record& point)
{
    t_waypoint* w = doc.waypoint(point.waypoint);
    return {point.name, w ? list_object{w} : list_object{}, false};
}

t_mapper* build_item::item(const map_document& doc) const
{
    if (holding_.new_item) return holding_.new_item.get();
    if (builds_sets()) return find_by_number(doc.sets, holding_.taken);
    return find_by_number(doc.shapes, holding_.taken);
}

t_shape* build_item::shape(const map_document& doc) const
{
    return builds_sets() ? nullptr : static_cast<t_shape*>(item(doc));
}

t_set* build_item::set(const map_document& doc) const
{
    return builds_sets() ? static_cast<t_set*>(item(doc)) : nullptr;
}

std::size_t build_item::size(const map_document& doc) const
{
    const t_mapper* held = item(doc);
    return held ? held->positions().size() : 0;
}

build_holding build_item::fresh() const
{
    build_holding holding;
    if (builds_sets()) holding.new_item = std::make_unique<t_set>();
    else holding.new_item = std::make_unique<t_shape>();
    holding.new_item->name = "build";
    holding.new_item->shape_type = builds_sets() ? s_points : s_polygon;
    return holding;
}

build_holding build_item::holding_for(const map_document& doc, const t_mapper& item, std::int32_t number) const
{
    build_holding holding;
    holding.taken = number;
    if (const auto* set = dynamic_cast<const t_set*>(&item))
        for (const point_record& p : set->used()) holding.entries.entries.push_back(point_entry(doc, p));
    else if (const auto* shape = dynamic_cast<const t_shape*>(&item))
        for (const t_node& n : shape->nodes) holding.entries.entries.push_back(node_entry(doc, n));
    return holding;
}

build_rows build_item::take_rows(const map_document& doc, const std::vector<std::size_t>& at)
{
    build_rows rows;
    if (at.empty()) return rows;
    if (t_set* s = set(doc)) {
        take_from(s->points, used_points(*s), at, rows.points);
        s->point_count -= static_cast<std::int32_t>(at.size());
    } else if (t_shape* sh = shape(doc)) {
        take_from(sh->nodes, sh->nodes.size(), at, rows.nodes);
    }
    take_from(entries().entries, entries().size(), at, rows.entries);
    return rows;
}

void build_item::put_rows(const map_document& doc, const std::vector<std::size_t>& at, build_rows& rows)
{
    if (t_set* s = set(doc)) {
        // A set's spare records are not kept: a put back set holds just its points.
        s->points.resize(used_points(*s));
        put_into(s->points, at, rows.points);
        s->point_count = static_cast<std::int32_t>(s->points.size());
    } else if (t_shape* sh = shape(doc)) {
        put_into(sh->nodes, at, rows.nodes);
    }
    put_into(entries().entries, at, rows.entries);
}

void build_item::swap_rows(const map_document& doc, std::size_t a, std::size_t b)
{
    if (t_set* s = set(doc)) std::swap(s->points[a], s->points[b]);
    else if (t_shape* sh = shape(doc)) std::swap(sh->nodes[a], sh->nodes[b]);
    std::swap(entries().entries[a], entries().entries[b]);
}

void build_item::relist(const map_document& doc)
{
    std::vector<list_entry>& listed = entries().entries;
    auto keep_selection = [&](std::size_t i, list_entry fresh) {
        fresh.selected = i < listed.size() && listed[i].selected;
        return fresh;
    };
    std::vector<list_entry> fresh;
    if (const t_set* s = set(doc)) {
        const auto points = s->used();
        for (std::size_t i = 0; i < points.size(); ++i) fresh.push_back(keep_selection(i, point_entry(doc, points[i])));
    } else if (const t_shape* sh = shape(doc)) {
        for (std::size_t i = 0; i < sh->nodes.size(); ++i) fresh.push_back(keep_selection(i, node_entry(doc, sh->nodes[i])));
    }
    listed = std::move(fresh);
}

} // namespace wayloom
