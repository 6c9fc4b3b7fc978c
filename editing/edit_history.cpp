#include "editing/edit_history.h"

#include <algorithm>

namespace wayloom {

void edit_step::undo(map_editor& editor)
{
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) (*change)->revert(editor);
}

void edit_step::redo(map_editor& editor)
{
    for (const auto& change : changes_) change->apply(editor);
}

void edit_step::absorb(edit_step& next)
{
    for (auto& change : next.changes_) changes_.push_back(std::move(change));
    next.changes_.clear();
    text_ = next.text_;
    changes_map_ = changes_map_ || next.changes_map_;
}

std::size_t edit_step::held_bytes() const
{
    std::size_t bytes = sizeof(*this) + text_.capacity() + changes_.capacity() * sizeof(changes_.front());
    for (const auto& change : changes_) bytes += change->held_bytes();
    return bytes;
}

std::vector<const t_mapper*> edit_step::reshaped() const
{
    std::vector<const t_mapper*> items;
    for (const auto& change : changes_)
        if (const t_mapper* item = change->reshaped();
            item && std::find(items.begin(), items.end(), item) == items.end())
            items.push_back(item);
    return items;
}

void edit_history::push(std::unique_ptr<edit_step> step)
{
    if (!step || step->empty()) return;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(index_), steps_.end());
    if (clean_ && *clean_ > index_) clean_.reset();  // the saved state was undone and is gone
    edit_step* last = index_ > 0 ? steps_[index_ - 1].get() : nullptr;
    if (last && merge_open_ && step->key().kind != 0 && step->key() == last->key() && clean_ != index_) {
        last->absorb(*step);
        return;
    }
    steps_.push_back(std::move(step));
    index_ = steps_.size();
    merge_open_ = true;
    if (steps_.size() > history_limit) {
        steps_.erase(steps_.begin());
        --index_;
        if (clean_) {
            if (*clean_ == 0) clean_.reset();
            else --*clean_;
        }
    }
}

std::string edit_history::undo_text() const { return can_undo() ? steps_[index_ - 1]->text() : std::string(); }

std::string edit_history::redo_text() const { return can_redo() ? steps_[index_]->text() : std::string(); }

const edit_step* edit_history::undo(map_editor& editor)
{
    if (!can_undo()) return nullptr;
    edit_step& step = *steps_[--index_];
    step.undo(editor);
    merge_open_ = false;
    return &step;
}

const edit_step* edit_history::redo(map_editor& editor)
{
    if (!can_redo()) return nullptr;
    edit_step& step = *steps_[index_++];
    step.redo(editor);
    merge_open_ = false;
    return &step;
}

void edit_history::set_clean()
{
    clean_ = index_;
    merge_open_ = false;
}

bool edit_history::clean() const
{
    if (!clean_) return false;
    const std::size_t from = std::min(*clean_, index_);
    const std::size_t to = std::max(*clean_, index_);
    for (std::size_t i = from; i < to; ++i)
        if (steps_[i]->changes_map()) return false;
    return true;
}

void edit_history::clear()
{
    steps_.clear();
    index_ = 0;
    clean_ = 0;
    merge_open_ = false;
}

std::size_t edit_history::held_bytes() const
{
    std::size_t bytes = steps_.capacity() * sizeof(steps_.front());
    for (const auto& step : steps_) bytes += step->held_bytes();
    return bytes;
}

} // namespace wayloom
