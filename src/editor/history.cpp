// The undo history, bounded: the oldest change goes first once it is full.
#include "editor/history.h"

namespace editor {

void History::Record(const EditState& before) {
    undo_.push_back(before);
    if (undo_.size() > kDepth) {
        undo_.pop_front();
    }
    redo_.clear();
}

std::optional<EditState> History::Undo(const EditState& current) {
    if (undo_.empty()) {
        return std::nullopt;
    }
    EditState state = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(current);
    return state;
}

std::optional<EditState> History::Redo(const EditState& current) {
    if (redo_.empty()) {
        return std::nullopt;
    }
    EditState state = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(current);
    return state;
}

}  // namespace editor
