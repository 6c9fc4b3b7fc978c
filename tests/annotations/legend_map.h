// The map the legend tests list and draw: classes pasture (0) and water
// (1); shapes meadow, pond and North_Field, coloured 1,1,1, 2,2,2 and
// 3,3,3, pond in water and the others in pasture; and the point set posts,
// which a legend never lists.
#pragma once

#include "model/map_document.h"

#include <tuple>

namespace wayloom::testing {

constexpr colour_value pasture_colour = make_colour(0, 200, 0);

inline void make_legend_map(map_document& doc)
{
    for (const auto& [name, colour] : {std::pair{"pasture", pasture_colour}, {"water", make_colour(0, 0, 200)}}) {
        t_class& c = *doc.create_class();
        std::tie(c.name, c.colour) = std::tuple(name, colour);
        doc.class_list.add(name, &c);
    }
    for (const auto& [name, grey, in] : {std::tuple{"meadow", 1, 0}, {"pond", 2, 1}, {"North_Field", 3, 0}}) {
        t_shape& shape = doc.create_shape();
        std::tie(shape.name, shape.colour, shape.classes) = std::tuple(name, make_colour(grey, grey, grey), class_type{in});
        doc.add_item(name, &shape, nullptr);
    }
    t_set& posts = doc.create_set();
    posts.name = "posts";
    doc.add_item("posts", nullptr, &posts);
}

} // namespace wayloom::testing
