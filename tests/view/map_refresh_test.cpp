#include "view/geometry/map_refresh.h"

#include "view/geometry/area_estimate.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

#include "test_maps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wayloom {
namespace {

using test::add_set;
using test::add_shape;
using test::select_all;

TEST(after_map_read, estimates_areas_then_corrects_every_item_together)
{
    map_document doc;
    t_shape& low = add_shape(doc, "low", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    t_shape& high = add_shape(doc, "high", {{0, 59}, {1, 59}, {1, 60}, {0, 60}});
    view_state state;
    state.avail_width = 640;
    state.avail_height = 480;
    view_after_read(state)(doc);  // the reader's hook runs it on the given state

    EXPECT_DOUBLE_EQ(static_cast<double>(low.coverage), 100.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(high.coverage), 100.0);
    // Each area was measured at its own latitude...
    EXPECT_NEAR(static_cast<double>(high.area / low.area),
                static_cast<double>(correction_polynomial(59.5L) / correction_polynomial(0.5L)), 1e-9);
    // ...and the positions drawn afterwards share the middle latitude of both.
    const long double factor = correction_polynomial(30) / 100;
    EXPECT_NEAR(static_cast<double>(high.nodes[1].corrected_lon), (0.5 + 0.5 * factor) * 360, 1e-9);
    // Nothing is selected after a read: the surface takes the panel.
    EXPECT_EQ(state.surface, (surface_bounds{0, 0, 640, 480}));
}

TEST(extreme_positions, project_and_measure_without_overflow)
{
    // Far beyond any real map: positions clamp to the pixel range instead of
    // overflowing the conversion.
    map_document doc;
    t_shape& s = add_shape(doc, "wild", {{0, 0}, {1e290L, 0}, {1e290L, 1e-290L}, {-1e290L, 1}});
    add_set(doc, "far", {{1e300L, -1e300L}, {0, 0}});
    select_all(doc);
    view_state state;
    state.avail_width = 800;
    state.avail_height = 600;
    after_map_read(state, doc);
    update_shapes(state, doc.shape_list, nullptr, nullptr);
    EXPECT_GE(s.area, 0);
    EXPECT_GE(s.coverage, 0);
    EXPECT_LE(s.coverage, 100);
    EXPECT_GE(state.surface.width, 0);
    EXPECT_LE(state.surface.width, 800);
}

} // namespace
} // namespace wayloom
