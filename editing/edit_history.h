// Undo and redo. Every edit of the map or of the item under construction
// is a step: a user's action under a name ("Move node up", "Delete shape
// north-meadow"), made of small changes that each hold only what they
// changed and can be applied and reverted. The history keeps the steps in
// order with the one the map was last saved at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wayloom {

class map_editor;
struct t_mapper;

// One kind of change. A change is made by applying it once; undo reverts
// it and redo applies it again, each time to the state the other left.
class map_change {
public:
    virtual ~map_change() = default;
    virtual void apply(map_editor& editor) = 0;
    virtual void revert(map_editor& editor) = 0;
    // Bytes this change keeps beyond its own object.
    virtual std::size_t held_bytes() const { return 0; }
    // The item whose nodes or points this change moved, if any: its area
    // and drawing follow.
    virtual const t_mapper* reshaped() const { return nullptr; }
};

// Steps of the same kind of edit that follow each other may become one:
// the changes made in the attributes dialog until its OK, the typing of a
// new name, the moves of one node drag. Steps with different keys never merge.
struct merge_key {
    int kind = 0;         // 0: never merges; else one of the kinds below
    std::int64_t of = 0;  // what it is about: a dialog's opening, an item's serial, a drag

    friend bool operator==(const merge_key&, const merge_key&) = default;
};
inline constexpr int attributes_steps = 1;
inline constexpr int rename_steps = 2;
inline constexpr int drag_steps = 3;

class edit_step {
public:
    explicit edit_step(std::string text, merge_key key = {}) : text_(std::move(text)), key_(key) {}

    // What the Edit menu names: "Undo " and this.
    const std::string& text() const { return text_; }
    void set_text(std::string text) { text_ = std::move(text); }
    merge_key key() const { return key_; }
    // Whether the step changes what a save writes (taking an item up for
    // editing does not, so it leaves a saved map unmodified).
    bool changes_map() const { return changes_map_; }
    void set_changes_map(bool changes) { changes_map_ = changes; }

    // Keeps a change that has just been applied.
    void add(std::unique_ptr<map_change> change) { changes_.push_back(std::move(change)); }
    bool empty() const { return changes_.empty(); }
    void undo(map_editor& editor);
    void redo(map_editor& editor);
    // Takes the next step's changes and name, as one step.
    void absorb(edit_step& next);
    std::size_t held_bytes() const;
    // The items whose nodes or points the step moves.
    std::vector<const t_mapper*> reshaped() const;

private:
    std::string text_;
    merge_key key_;
    bool changes_map_ = true;
    std::vector<std::unique_ptr<map_change>> changes_;
};

// How many steps the history keeps; the oldest go first.
inline constexpr std::size_t history_limit = 1000;

class edit_history {
public:
    // Adds a step that is done. Steps undone before it are dropped. It
    // becomes part of the last step when their keys match, unless the map
    // was saved in between.
    void push(std::unique_ptr<edit_step> step);
    bool can_undo() const { return index_ > 0; }
    bool can_redo() const { return index_ < steps_.size(); }
    // The names of the steps undo and redo would take; empty when none.
    std::string undo_text() const;
    std::string redo_text() const;
    // Undoes or redoes one step and returns it (null when there is none).
    const edit_step* undo(map_editor& editor);
    const edit_step* redo(map_editor& editor);
    // No further step merges into the last one.
    void close_last() { merge_open_ = false; }

    // The map as it stands is the one saved or opened.
    void set_clean();
    // No state in the history is the saved one (a map read only in part).
    void lose_clean() { clean_.reset(); }
    // Whether the map is as last saved or opened: only steps that change
    // nothing written lie between.
    bool clean() const;
    // Forgets every step; the map as it stands becomes the saved one.
    void clear();

    std::size_t size() const { return steps_.size(); }
    std::size_t index() const { return index_; }
    std::size_t held_bytes() const;

private:
    std::vector<std::unique_ptr<edit_step>> steps_;
    std::size_t index_ = 0;  // steps before it are done
    std::optional<std::size_t> clean_ = 0;
    bool merge_open_ = true;
};

} // namespace wayloom
