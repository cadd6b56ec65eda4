// The level list: going from level to level, adding, duplicating, deleting and moving levels,
// and choosing a level's picture.
#include <algorithm>
#include <filesystem>

#include "editor/editorform.h"
#include "levelformat/files.h"

void TLevelEditor::GoToLevel(std::int32_t index) {
    const auto count = static_cast<std::int32_t>(state_.Levels.size());
    index = std::clamp(index, 0, count - 1);
    if (index != state_.Level) {
        previewing_ = false;
        state_.Level = index;
        state_.Selected = -1;
        drag_ = Drag::None;
    }
}

void TLevelEditor::AddLevel(bool after) {
    Change([&](editor::EditState& state) {
        // A new level shows the picture of the one it is added beside.
        editor::EditLevel level;
        const editor::EditLevel& beside = state.Levels[static_cast<std::size_t>(state.Level)];
        level.PictureName = beside.PictureName;
        level.Picture = beside.Picture;
        const std::int32_t at = state.Level + (after ? 1 : 0);
        state.Levels.insert(state.Levels.begin() + at, std::move(level));
        state.Level = at;
        state.Selected = -1;
    });
}

void TLevelEditor::DuplicateLevel() {
    Change([](editor::EditState& state) {
        const editor::EditLevel copy = state.Levels[static_cast<std::size_t>(state.Level)];
        state.Levels.insert(state.Levels.begin() + state.Level + 1, copy);
        ++state.Level;
        state.Selected = -1;
    });
}

void TLevelEditor::DeleteLevel() {
    if (state_.Levels.size() == 1) {
        message_ = "The last level stays: a file holds one level at least";
        return;
    }
    Change([](editor::EditState& state) {
        state.Levels.erase(state.Levels.begin() + state.Level);
        state.Level = std::min(state.Level, static_cast<std::int32_t>(state.Levels.size()) - 1);
        state.Selected = -1;
    });
}

void TLevelEditor::MoveLevel(std::int32_t step) {
    const std::int32_t to = state_.Level + step;
    if (to < 0 || to >= static_cast<std::int32_t>(state_.Levels.size())) {
        return;
    }
    Change([&](editor::EditState& state) {
        std::swap(state.Levels[static_cast<std::size_t>(state.Level)],
                  state.Levels[static_cast<std::size_t>(to)]);
        state.Level = to;
    });
}

void TLevelEditor::NextPicture() {
    const std::vector<std::string> pictures = editor::PicturesBeside(file_.Path);
    if (pictures.empty()) {
        message_ = "No JPEG pictures in " + editor::FolderOf(file_.Path);
        return;
    }
    // The picture after the level's own in the folder's order, from the first again.
    const auto current = std::find(pictures.begin(), pictures.end(), Level().PictureName);
    const std::string next = current == pictures.end() || current + 1 == pictures.end()
                                 ? pictures.front()
                                 : *(current + 1);
    std::shared_ptr<const levelformat::Bytes> bytes;
    if (file_.IsPack) {
        auto read =
            levelformat::ReadFileBytes(std::filesystem::path(editor::FolderOf(file_.Path)) / next);
        if (!read) {
            message_ = "Picture " + next + " cannot be read";
            return;
        }
        bytes = std::make_shared<const levelformat::Bytes>(std::move(*read));
    }
    Change([&](editor::EditState& state) {
        editor::EditLevel& level = state.Levels[static_cast<std::size_t>(state.Level)];
        // A pack keeps the name only while editing, to step on from it.
        level.PictureName = next;
        if (bytes) {
            level.Picture = bytes;
        }
    });
    message_ = (file_.IsPack ? "Imported " : "Picture ") + next;
}
