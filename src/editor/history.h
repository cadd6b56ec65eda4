// The undo history: whole copies of the edited levels before each change, and after each undo
// the copies to redo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "editor/editfile.h"

namespace editor {

// What a change can be undone to: the levels, the level on screen, the gull selected, and the
// revision that tells whether the file holds them.
struct EditState {
    EditedLevels Levels;
    std::int32_t Level = 0;
    std::int32_t Selected = -1;
    std::int64_t Revision = 0;
};

class History {
  public:
    static constexpr std::size_t kDepth = 200;

    // Keeps the state a change is about to leave; what was undone can no longer be redone.
    void Record(const EditState& before);
    // The state before the last change, taking `current` for a redo; none when there is none.
    std::optional<EditState> Undo(const EditState& current);
    std::optional<EditState> Redo(const EditState& current);

    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }

  private:
    std::deque<EditState> undo_;
    std::vector<EditState> redo_;
};

}  // namespace editor
