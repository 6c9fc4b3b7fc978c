// Never losing work: the map remembers whether it changed since it was last
// opened or saved, and a command that would drop it asks first.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace wayloom {

struct change_tracker {
    bool modified = false;

    // Every command that changes the map: building, editing, attributes,
    // renaming, deleting, a download, a merge.
    void changed() { modified = true; }
    // A successful save or open.
    void saved() { modified = false; }
};

inline constexpr std::string_view save_changes_question = "Save changes to the map?";

enum class save_answer { save, discard, cancel };

// Decides whether Open map, Refresh from source, closing the window or Exit
// may go on. Nothing is asked while the map is unmodified. Asked, Cancel
// stops the command, Discard lets it go on, and Save runs `save` (the Save
// map command) and lets the command go on only when the map was written, so
// a save that fails or is cancelled never costs the user the map.
bool may_drop_map(const change_tracker& changes, const std::function<save_answer()>& ask,
                  const std::function<bool()>& save);

// The window caption with "*" after it while there are unsaved changes.
std::string window_caption(std::string_view caption, const change_tracker& changes);

} // namespace wayloom
