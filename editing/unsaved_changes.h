// Never losing work: a command that would drop a map with unsaved changes
// (the editor's history says whether it has any) asks first.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace wayloom {

inline constexpr std::string_view save_changes_question = "Save changes to the map?";

enum class save_answer { save, discard, cancel };

// Decides whether Open map, Refresh from source, closing the window or Exit
// may go on. Nothing is asked while the map is unmodified. Asked, Cancel
// stops the command, Discard lets it go on, and Save runs `save` (the Save
// map command) and lets the command go on only when the map was written, so
// a save that fails or is cancelled never costs the user the map.
bool may_drop_map(bool modified, const std::function<save_answer()>& ask,
                  const std::function<bool()>& save);

// The window caption with "*" after it while there are unsaved changes.
std::string window_caption(std::string_view caption, bool modified);

} // namespace wayloom
