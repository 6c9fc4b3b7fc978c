// Edit "Undo" and "Redo", and the step for what a read or a transfer
// appended to the map.
#pragma once

#include "editing/map_editor.h"
#include "model/map_document.h"

#include <optional>
#include <string>

namespace wayloom {

// Takes the last step back, or does the next one again. The drawing, the
// lists, the legend and the area figures follow: a shape whose nodes the
// step moved is estimated again, the tab shown builds its item again when
// it has a node or point, and the map is corrected and projected afresh.
edit_result undo_edit(map_editor& editor);
edit_result redo_edit(map_editor& editor);

// The Edit menu's captions: "Undo Move node up", or "Undo" when there is
// nothing to take back (the item is then disabled).
std::string undo_caption(const map_editor& editor);
std::string redo_caption(const map_editor& editor);

// What a read, a download or an import appended to the map since `before`
// becomes one step named `text`; nothing when the map did not grow.
// `replaced_source` is the map source a read replaced.
void record_appended(map_editor& editor, const map_mark& before, std::string text,
                     std::optional<tsource_text> replaced_source = std::nullopt);

// What was appended since `before`: "33 waypoints", "2 shapes, 1 set".
std::string appended_text(const map_mark& before, const map_mark& after);

} // namespace wayloom
