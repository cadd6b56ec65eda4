// The recovery file: the unsaved levels written beside the edited file when a termination
// request ends the editor, and offered when the file is edited next.
#include <cstdio>
#include <filesystem>

#include "editor/editorform.h"

void TLevelEditor::KeepRecovery() {
    if (!Unsaved()) {
        return;
    }
    const std::string problem =
        editor::SaveLevels(editor::EditFile{RecoveryPath(), file_.IsPack}, state_.Levels);
    if (problem.empty()) {
        std::fprintf(stderr, "zintrel: the unsaved levels are kept in %s\n",
                     RecoveryPath().c_str());
    } else {
        std::fprintf(stderr, "zintrel: the unsaved levels are lost: %s\n", problem.c_str());
    }
}

void TLevelEditor::OfferRecovery() {
    std::error_code error;
    if (!std::filesystem::exists(RecoveryPath(), error)) {
        return;
    }
    editor::OpenedFile kept =
        editor::OpenLevels(editor::EditFile{RecoveryPath(), file_.IsPack}, "");
    if (!kept.Error.empty()) {
        message_ = "Unsaved work not offered: " + kept.Error;
        return;
    }
    recovered_ = std::move(kept.Levels);
}

void TLevelEditor::AnswerRecovery(bool take) {
    if (take) {
        Change([&](editor::EditState& state) {
            state.Levels = std::move(*recovered_);
            state.Level = 0;
            state.Selected = -1;
        });
        message_ = "Unsaved work taken up: Ctrl+S saves it";
    } else {
        message_ = "Unsaved work deleted";
    }
    recovered_.reset();
    std::error_code error;
    if (!std::filesystem::remove(RecoveryPath(), error) && error) {
        message_ += "; " + RecoveryPath() + " cannot be deleted: " + error.message();
    }
}
