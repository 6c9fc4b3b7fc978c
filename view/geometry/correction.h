// The longitude correction: longitude differences shrink by the cosine of the
// middle latitude so that both axes of the drawing have the same ground scale.
#pragma once

namespace wayloom {

struct item_list;
struct t_shape;
struct t_set;

// About 100 · cos(latitude) for a latitude in degrees (0 to 90): 99.83 at 0,
// 50.14 at 60, −0.06 at 90.
long double correction_polynomial(long double latitude_degrees);

// Recomputes the corrected longitudes of `shape`, else of `set`, else of every
// item of `shape_list`, selected or not, about the middle of their common
// extent. Items without nodes or points take no part; with none at all
// nothing changes.
void correct_nodes(const item_list& shape_list, t_shape* shape, t_set* set);

} // namespace wayloom
