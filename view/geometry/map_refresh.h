// The steps after a map has been read, shared by the window and the CLI.
#pragma once

#include "source/reader.h"
#include "view/geometry/view_state.h"

namespace wayloom {

struct map_document;

// The area estimate of every shape, the longitude correction of every item,
// and the projection of the selection into the state's panel.
void after_map_read(view_state& state, map_document& doc);

// A reader hook running after_map_read on `state`, which must outlive it.
after_read view_after_read(view_state& state);

} // namespace wayloom
