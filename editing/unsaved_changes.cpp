#include "editing/unsaved_changes.h"

namespace wayloom {

bool may_drop_map(bool modified, const std::function<save_answer()>& ask,
                  const std::function<bool()>& save)
{
    if (!modified) return true;
    switch (ask ? ask() : save_answer::cancel) {
    case save_answer::discard: return true;
    case save_answer::save: return save && save();
    case save_answer::cancel: break;
    }
    return false;
}

std::string window_caption(std::string_view caption, bool modified)
{
    std::string text(caption);
    if (modified) text += '*';
    return text;
}

} // namespace wayloom
