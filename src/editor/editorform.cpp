// The editor form: opening the file, the loop, the keys, undo and saving.
#include "editor/editorform.h"

#include <cctype>
#include <vector>

#include "levels/levelset.h"
#include "media/dxerrors.h"
#include "platform/api/cursor.h"
#include "platform/api/timer.h"

namespace {

// The control characters that Ctrl and a letter type.
constexpr unsigned char kCtrlS = 'S' - '@';
constexpr unsigned char kCtrlY = 'Y' - '@';
constexpr unsigned char kCtrlZ = 'Z' - '@';

}  // namespace

TLevelEditor::TLevelEditor(std::string fileName) {
    file_.Path = std::move(fileName);
    file_.IsPack = IsLevelPackName(file_.Path);
}

void TLevelEditor::FormActivate() {
    if (Activated) {
        AppActive = true;
        return;
    }
    Activated = true;
    // A file the reader refuses is not edited: nothing of it could be saved back whole.
    const std::vector<std::string> pictures = editor::PicturesBeside(file_.Path);
    editor::OpenedFile opened =
        editor::OpenLevels(file_, pictures.empty() ? std::string() : pictures.front());
    if (!opened.Error.empty()) {
        throw Exception(opened.Error);
    }
    state_.Levels = std::move(opened.Levels);
    if (opened.Created) {
        // A new file is a change not yet saved.
        state_.Revision = nextRevision_++;
        message_ = "New file " + file_.Path;
    }
    OfferRecovery();
    StartDirectDraw();
    StartDirectSound();
    StartDirectMusic();
    StartTimer();
    LoadSprites();
    CreateSoundsAndMusic();
    platform::SetGameInPlay(false);
    EditLoop();
    ExitGame();
}

void TLevelEditor::EditLoop() {
    while (!leaving_) {
        Application.ProcessMessages();
        if (ending_) {
            // A termination request ends the editor at once; nothing unsaved is lost.
            KeepRecovery();
            break;
        }
        UpdateTimer();
        FollowPointer();
        if (!AppActive) {
            Sleep(10);
            continue;
        }
        if (previewing_) {
            StepPreview();
        }
        try {
            DrawEditor();
            FlipSurfaces(DDFLIP_WAIT);
        } catch (const XSurfaceLost&) {
            // Drawn again at the next pass, on surfaces restored with their pictures.
            RestoreSurfaces();
        }
    }
}

void TLevelEditor::FollowPointer() {
    // The game's cursor follows the mouse's motion; where the desktop's pointer is seen, its
    // place comes as WM_MOUSEMOVE instead. Whichever moved last is where the pointer is.
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.x != lastCursor_.x || cursor.y != lastCursor_.y) {
        lastCursor_ = cursor;
        pointer_ = cursor;
        DragTo(pointer_);
    }
}

void TLevelEditor::WndProc(TMessage& message) {
    if (message.Msg == WM_ENDSESSION) {
        ending_ = true;
    }
    if (testing_) {
        TKestovForm::WndProc(message);
        return;
    }
    switch (message.Msg) {
        case WM_KEYDOWN:
            HandleEditorKey(message.WParam);
            return;
        case WM_CHAR:
            HandleEditorChar(static_cast<unsigned char>(message.WParam));
            return;
        case WM_MOUSEMOVE:
            // The desktop's pointer is where the mouse is; the game's cursor, moved by the same
            // motion, is not followed until it moves on its own.
            pointer_ = POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            GetCursorPos(&lastCursor_);
            DragTo(pointer_);
            return;
        case WM_CLOSE:
            AskToLeave();
            return;
        case WM_ENDSESSION:
            return;
        default:
            break;
    }
    TKestovForm::WndProc(message);
}

void TLevelEditor::FormMouseDown(TMouseButton button, int x, int y) {
    if (testing_) {
        TKestovForm::FormMouseDown(button, x, y);
        return;
    }
    askingToLeave_ = false;
    if (button == TMouseButton::mbLeft && entry_ == Entry::None && !previewing_ && !recovered_) {
        PressAt(pointer_);
    }
}

void TLevelEditor::FormMouseUp(TMouseButton button, int x, int y) {
    if (testing_) {
        TKestovForm::FormMouseUp(button, x, y);
        return;
    }
    drag_ = Drag::None;
}

void TLevelEditor::AskToLeave() {
    if (!Unsaved() || askingToLeave_) {
        leaving_ = true;
        return;
    }
    askingToLeave_ = true;
    message_ = "Unsaved changes: Ctrl+S saves, Esc again leaves without saving";
}

void TLevelEditor::Save() {
    const std::string problem = editor::SaveLevels(file_, state_.Levels);
    if (!problem.empty()) {
        message_ = "Not saved: " + problem;
        return;
    }
    savedRevision_ = state_.Revision;
    message_ = "Saved " + file_.Path;
}

void TLevelEditor::Change(const std::function<void(editor::EditState&)>& edit) {
    previewing_ = false;
    editor::EditState changed = state_;
    edit(changed);
    history_.Record(state_);
    changed.Revision = nextRevision_++;
    state_ = std::move(changed);
}

void TLevelEditor::UndoChange() {
    previewing_ = false;
    if (std::optional<editor::EditState> state = history_.Undo(state_)) {
        state_ = std::move(*state);
        message_ = "Undone";
    } else {
        message_ = "Nothing to undo";
    }
}

void TLevelEditor::RedoChange() {
    previewing_ = false;
    if (std::optional<editor::EditState> state = history_.Redo(state_)) {
        state_ = std::move(*state);
        message_ = "Redone";
    } else {
        message_ = "Nothing to redo";
    }
}

void TLevelEditor::HandleEditorKey(WPARAM key) {
    // The question of unsaved changes holds only for the Esc that answers it.
    if (key != VK_ESCAPE) {
        askingToLeave_ = false;
    }
    if (entry_ != Entry::None) {
        return;
    }
    switch (key) {
        case VK_LEFT:
            GoToLevel(state_.Level - 1);
            break;
        case VK_RIGHT:
            GoToLevel(state_.Level + 1);
            break;
        case VK_UP:
            GoToLevel(0);
            break;
        case VK_DOWN:
            GoToLevel(static_cast<std::int32_t>(state_.Levels.size()) - 1);
            break;
        case VK_F1:
            help_ = !help_;
            break;
        case VK_TAB:
            SelectNextGull();
            break;
        default:
            break;
    }
}

void TLevelEditor::HandleEditorChar(unsigned char code) {
    if (entry_ != Entry::None) {
        TypeChar(code);
        return;
    }
    const bool wasAsking = askingToLeave_;
    askingToLeave_ = false;
    if (recovered_ && code != 27) {
        // Until the kept levels are taken up or deleted, only that answer is taken, or Esc.
        if (std::toupper(code) == 'Y' || std::toupper(code) == 'N') {
            AnswerRecovery(std::toupper(code) == 'Y');
        }
        return;
    }
    switch (code) {
        case 27:
            if (help_) {
                help_ = false;
                return;
            }
            askingToLeave_ = wasAsking;
            AskToLeave();
            return;
        case kCtrlS:
            Save();
            return;
        case kCtrlZ:
            UndoChange();
            return;
        case kCtrlY:
            RedoChange();
            return;
        case 8:
            DeleteGull();
            return;
        case 13:
            StartEntry(Entry::Gull);
            return;
        case ' ':
            TogglePreview();
            return;
        default:
            break;
    }
    switch (std::toupper(code)) {
        case 'A':
            ToggleKind();
            break;
        case 'X':
            DeleteGull();
            break;
        case 'D':
            DuplicateGull();
            break;
        case 'G':
            snap_ = !snap_;
            message_ = snap_ ? "Grid on" : "Grid off";
            break;
        case 'B':
            AddLevel(false);
            break;
        case 'N':
            AddLevel(true);
            break;
        case 'C':
            DuplicateLevel();
            break;
        case 'K':
            DeleteLevel();
            break;
        case '[':
            MoveLevel(-1);
            break;
        case ']':
            MoveLevel(1);
            break;
        case 'M':
            StartEntry(Entry::MaxBombs);
            break;
        case 'V':
            StartEntry(Entry::BazzleVisits);
            break;
        case 'E':
            StartEntry(Entry::EggCount);
            break;
        case 'P':
            NextPicture();
            break;
        case 'T':
            TestPlay();
            break;
        case '?':
            help_ = !help_;
            break;
        default:
            break;
    }
}

std::pair<std::string, std::string> TLevelEditor::StatusLines() const {
    if (entry_ != Entry::None) {
        // The fields and their ranges until a value is refused; then why.
        std::string ranges = editor::RangesOf(EntryFields());
        if (entry_ == Entry::Gull) {
            ranges += "  MinY <= MaxY";
        }
        return {message_.empty() ? ranges : message_, EntryPrompt()};
    }
    if (recovered_) {
        return {StatusText(), RecoveryPath() +
                                  " holds unsaved work of an ended editor: Y takes it up, N "
                                  "deletes it"};
    }
    return {StatusText(), message_.empty() ? "F1: keys and mouse" : message_};
}

std::string TLevelEditor::StatusText() const {
    const editor::EditLevel& level = Level();
    std::string text =
        "Level " + std::to_string(state_.Level + 1) + " of " +
        std::to_string(state_.Levels.size()) + "  bombs " + std::to_string(level.MaxBombs) +
        "  Bazzle " + std::to_string(level.BazzleVisits) + "  eggs " +
        std::to_string(level.EggCount) + "  gulls " + std::to_string(level.Gulls.size());
    if (state_.Selected >= 0) {
        text += "  gull " + std::to_string(state_.Selected + 1) + ": " +
                editor::GullNumbers(level.Gulls[static_cast<std::size_t>(state_.Selected)]);
    }
    if (Unsaved()) {
        text += "  *";
    }
    return text;
}
