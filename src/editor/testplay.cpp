// The preview, which flies the level's gulls with the play field's own gull updater, and test
// play, which plays the level on screen with the game's own play handler and comes back.
#include "editor/editorform.h"
#include "platform/api/cursor.h"

void TLevelEditor::TogglePreview() {
    previewing_ = !previewing_;
    previewSeconds_ = 0.0;
    previewSteps_ = 0;
    // The gulls start from their places; stopping puts them back there.
    PlaceGulls();
    message_ = previewing_ ? "Preview: Space stops it" : "";
}

void TLevelEditor::StepPreview() {
    // As in play: the frame's time limited to the play field's step, and no ball launched, so
    // that no bomb falls.
    FrameTime = std::min(Elapsed, kMaxFrameTime);
    PlayStarted = false;
    GameState = gsPlaying;
    BallList.clear();
    BombList.clear();
    GullsLeft = static_cast<std::int32_t>(GullList.size());
    GullsFalling = 0;
    UpdateGulls();
    previewSeconds_ += FrameTime;
    ++previewSteps_;
}

void TLevelEditor::TestPlay() {
    previewing_ = false;
    drag_ = Drag::None;
    testing_ = true;
    testStarted_ = false;
    testCleared_ = false;
    ShowCursor(FALSE);
    const RECT confinement{0, 25, 640, 455};
    ClipCursor(&confinement);
    GameState = gsLevelStart;
    PlayGame();
    // Back in the editor, as it was: the game's leftovers cleared, the picture shown again.
    testing_ = false;
    Quitting = false;
    if (GameMusic) {
        GameMusic->Stop();
    }
    BallList.clear();
    BombList.clear();
    EggList.clear();
    GameState = gsTitle;
    platform::SetGameInPlay(false);
    ClipCursor(nullptr);
    ShowCursor(TRUE);
    pictureShown_ = false;
    message_ = testCleared_ ? "Test play: level cleared" : "Test play ended";
    if (AboutSeen) {
        // The window was closed during test play.
        AskToLeave();
    }
}

void TLevelEditor::ReadChosenLevels() {
    // The levels as edited, not as saved; pictures come from the editor, as a pack's do.
    Levels = editor::ToLevelList(state_.Levels);
    PackLoaded = true;
}

void TLevelEditor::LoadPackPicture(std::int32_t) {
    // Test play plays the level on screen: its picture as the editor shows it, unsaved, or the
    // plain sky when it has none that loads.
    pictureShown_ = false;
    ShowLevelPicture();
}

void TLevelEditor::StartLevel(std::int32_t levelNumber) {
    if (!testing_) {
        TKestovForm::StartLevel(levelNumber);
        return;
    }
    if (!testStarted_) {
        // The game begins at level 1; the test plays the level on screen, by its number.
        testStarted_ = true;
        LevelNumber = state_.Level + 1;
        TKestovForm::StartLevel(LevelNumber);
        return;
    }
    // The level is cleared: the test play is over.
    testCleared_ = true;
    GameState = gsTitle;
}
