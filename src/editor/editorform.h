// TLevelEditor: the level editor, a game form that shows and changes the levels of one file
// instead of running the game's states.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "editor/editfile.h"
#include "editor/history.h"
#include "editor/numbers.h"
#include "game/znform.h"

class TLevelEditor : public TKestovForm {
  public:
    explicit TLevelEditor(std::string fileName);

    void FormActivate() override;
    void WndProc(TMessage& message) override;
    void FormMouseDown(TMouseButton button, int x, int y) override;
    void FormMouseUp(TMouseButton button, int x, int y) override;

    // ---- Test play: the game's play handler on the level on screen (testplay.cpp).
    void ReadChosenLevels() override;
    void LoadPackPicture(std::int32_t index) override;
    void StartLevel(std::int32_t levelNumber) override;
    // Test play keeps no score: its game over offers no name to enter.
    std::string GameOverPrompt() const override { return {}; }

    // ---- What a test or a player sees.
    const editor::EditedLevels& EditedLevels() const { return state_.Levels; }
    std::int32_t LevelIndex() const { return state_.Level; }
    std::int32_t Selected() const { return state_.Selected; }
    bool Unsaved() const { return state_.Revision != savedRevision_; }
    bool Snapping() const { return snap_; }
    // The last message of the status line: what went wrong, or what was done.
    const std::string& Message() const { return message_; }
    // The status line's text of the level and the selected gull.
    std::string StatusText() const;
    // The line being typed, when numbers are being typed in.
    const std::string& Typing() const { return typing_; }
    // The two lines under the level: the level and its gull, or the fields being typed and
    // their ranges; then the message, the question asked, or what is being typed.
    std::pair<std::string, std::string> StatusLines() const;
    // The file that keeps the unsaved levels when a termination request ends the editor.
    std::string RecoveryPath() const { return file_.Path + "~"; }
    // Whether the levels kept in the recovery file are offered, to take up or delete.
    bool OfferingRecovery() const { return recovered_.has_value(); }
    bool HelpShown() const { return help_; }
    bool Previewing() const { return previewing_; }
    // The play time the preview has flown its gulls for, and in how many steps.
    double PreviewSeconds() const { return previewSeconds_; }
    std::int32_t PreviewSteps() const { return previewSteps_; }
    bool TestPlaying() const { return testing_; }
    // How the last test play ended: the level cleared or not.
    bool TestCleared() const { return testCleared_; }
    const editor::History& Undo() const { return history_; }

    // Where a gull's arrow head is drawn, and the rectangle its band sweeps (right and bottom
    // exclusive).
    static POINT ArrowHead(const TZNGull& gull);
    static RECT Band(const TZNGull& gull);
    // Where a gull wholly off the screen is marked: the tip of a pointer at the edge where it
    // comes in, pointing into the screen; none for a gull on the screen.
    struct Marker {
        POINT Tip;
        int DX;  // the pointer's direction, one of the four
        int DY;
    };
    static std::optional<Marker> MarkerOf(const TZNGull& gull);

    static constexpr int kGullSize = 64;  // a gull's frame, as the gull sheets hold it
    static constexpr int kGrid = 16;
    static constexpr std::uint16_t kBandColour = 0x07FF;
    static constexpr std::uint16_t kArrowColour = 0xFFE0;
    static constexpr std::uint16_t kHeadColour = 0xF800;
    static constexpr std::uint16_t kSelectionColour = 0xFFFF;
    static constexpr std::uint16_t kSkyColour = 0x5D7F;
    static constexpr std::uint16_t kGridColour = 0xC618;
    static constexpr int kMarkerSize = 8;
    // The picture under the status lines, at half its brightness.
    static constexpr std::uint16_t Dimmed(std::uint16_t colour) { return (colour >> 1) & 0x7BEF; }
    // A gull's motion drawn as the way it flies in this time, in seconds.
    static constexpr double kArrowSeconds = 0.25;

  private:
    enum class Drag { None, Move, Motion, BandTop, BandBottom };
    // What typed numbers go into.
    enum class Entry { None, Gull, MaxBombs, BazzleVisits, EggCount };

    // ---- The loop and the file.
    void EditLoop();
    void Save();
    void AskToLeave();

    // ---- The recovery file (recovery.cpp).
    // Writes the unsaved levels, if any, to the recovery file.
    void KeepRecovery();
    // Offers the levels of a recovery file left by an ended session, when there is one.
    void OfferRecovery();
    // Takes the offered levels up as an unsaved change, or deletes them; the file goes.
    void AnswerRecovery(bool take);

    // ---- Drawing (editordraw.cpp).
    // The level's picture file as bytes; none when it has none or it cannot be read.
    std::optional<levelformat::Bytes> PictureBytes(const editor::EditLevel& level);
    void ShowLevelPicture();
    void PlaceGulls();
    void DrawEditor();
    void DrawGrid();
    void DrawMarks();
    void DrawStatusLine();
    void DrawHelp();

    // ---- Changes. Every change goes through Change, which keeps the state before it.
    void Change(const std::function<void(editor::EditState&)>& edit);
    void UndoChange();
    void RedoChange();
    editor::EditLevel& Level() { return state_.Levels[static_cast<std::size_t>(state_.Level)]; }
    const editor::EditLevel& Level() const {
        return state_.Levels[static_cast<std::size_t>(state_.Level)];
    }

    // ---- The gull tools (gulltools.cpp).
    std::int32_t GullAt(POINT at) const;
    void PressAt(POINT at);
    void DragTo(POINT at);
    void SelectNextGull();
    void ToggleKind();
    void DeleteGull();
    void DuplicateGull();
    std::int32_t Snapped(std::int32_t value) const;

    // ---- The level list (levelops.cpp).
    void GoToLevel(std::int32_t index);
    void AddLevel(bool after);
    void DuplicateLevel();
    void DeleteLevel();
    void MoveLevel(std::int32_t step);
    void NextPicture();

    // ---- Typed numbers (entry.cpp).
    std::span<const editor::NumberField> EntryFields() const;
    std::string EntryPrompt() const;
    void StartEntry(Entry entry);
    void TypeChar(unsigned char code);
    void FinishEntry();

    // ---- The preview and test play.
    void TogglePreview();
    void StepPreview();
    void TestPlay();

    void HandleEditorKey(WPARAM key);
    void HandleEditorChar(unsigned char code);
    void FollowPointer();

    editor::EditFile file_;
    editor::EditState state_;
    editor::History history_;
    std::int64_t savedRevision_ = 0;
    std::int64_t nextRevision_ = 1;
    std::string message_;
    std::string shownPicture_;  // what Background holds, to load a level's picture once
    bool pictureShown_ = false;
    bool leaving_ = false;
    bool askingToLeave_ = false;
    bool ending_ = false;  // a termination request came
    std::optional<editor::EditedLevels> recovered_;
    bool snap_ = false;
    bool help_ = false;
    Entry entry_ = Entry::None;
    std::string typing_;
    Drag drag_ = Drag::None;
    bool dragChanged_ = false;
    POINT pointer_{320, 240};
    POINT lastCursor_{-1, -1};
    POINT grabOffset_{0, 0};
    bool previewing_ = false;
    double previewSeconds_ = 0.0;
    std::int32_t previewSteps_ = 0;
    bool testing_ = false;
    bool testStarted_ = false;
    bool testCleared_ = false;
};
