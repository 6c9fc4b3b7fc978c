#include "view/geometry/map_refresh.h"

#include "model/map_document.h"
#include "view/geometry/area_estimate.h"
#include "view/geometry/correction.h"
#include "view/geometry/projection.h"

namespace wayloom {

void after_map_read(view_state& state, map_document& doc)
{
    break_up(doc.shape_list, nullptr);
    correct_nodes(doc.shape_list, nullptr, nullptr);
    update_shapes(state, doc.shape_list, nullptr, nullptr);
}

after_read view_after_read(view_state& state)
{
    return [&state](map_document& doc) { after_map_read(state, doc); };
}

} // namespace wayloom
