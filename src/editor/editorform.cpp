// The editor form: opening the file, the loop, the keys, typed numbers, undo and saving.
#include "editor/editorform.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
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

// Reads a list of whole numbers separated by commas or spaces; none when a piece is not one or
// is out of the 32-bit range.
std::optional<std::vector<std::int32_t>> ReadNumbers(const std::string& text) {
    std::vector<std::int32_t> numbers;
    std::string piece;
    std::string normalised = text;
    for (char& c : normalised) {
        if (c == ',') {
            c = ' ';
        }
    }
    std::istringstream words(normalised);
    while (words >> piece) {
        char* end = nullptr;
        const long long value = std::strtoll(piece.c_str(), &end, 10);
        if (end == piece.c_str() || *end != '\0' || value < INT32_MIN || value > INT32_MAX) {
            return std::nullopt;
        }
        numbers.push_back(static_cast<std::int32_t>(value));
    }
    return numbers;
}

// The gull's seven numbers in record order, separated by commas, as they are typed in.
std::string GullNumbers(const TZNGull& g) {
    std::string numbers;
    for (const std::int32_t value : {g.X, g.Y, g.DX, g.DY, g.AGull, g.MinY, g.MaxY}) {
        if (!numbers.empty()) {
            numbers.push_back(',');
        }
        numbers.append(std::to_string(value));
    }
    return numbers;
}

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
    if (button == TMouseButton::mbLeft && entry_ == Entry::None && !previewing_) {
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

void TLevelEditor::StartEntry(Entry entry) {
    std::string start;
    switch (entry) {
        case Entry::Gull: {
            if (state_.Selected < 0) {
                message_ = "Select a gull first";
                return;
            }
            start = GullNumbers(Level().Gulls[static_cast<std::size_t>(state_.Selected)]);
            break;
        }
        case Entry::MaxBombs:
            start = std::to_string(Level().MaxBombs);
            break;
        case Entry::BazzleVisits:
            start = std::to_string(Level().BazzleVisits);
            break;
        case Entry::EggCount:
            start = std::to_string(Level().EggCount);
            break;
        case Entry::None:
            return;
    }
    entry_ = entry;
    typing_ = start;
    platform::SetTextEntry(true);
}

void TLevelEditor::TypeChar(unsigned char code) {
    switch (code) {
        case 27:
            entry_ = Entry::None;
            typing_.clear();
            platform::SetTextEntry(false);
            message_ = "Typing cancelled";
            return;
        case 13:
            FinishEntry();
            return;
        case 8:
            if (!typing_.empty()) {
                typing_.pop_back();
            }
            return;
        default:
            break;
    }
    if (std::isdigit(code) || code == '-' || code == '+' || code == ',' || code == ' ') {
        typing_.push_back(static_cast<char>(code));
    }
}

void TLevelEditor::FinishEntry() {
    const std::optional<std::vector<std::int32_t>> numbers = ReadNumbers(typing_);
    const std::size_t wanted = entry_ == Entry::Gull ? 7 : 1;
    if (!numbers || numbers->size() != wanted) {
        message_ = "Not taken: type " +
                   std::string(wanted == 7 ? "seven whole numbers: X,Y,DX,DY,AGull,MinY,MaxY"
                                           : "one whole number") +
                   ", or Esc";
        return;
    }
    const std::vector<std::int32_t>& n = *numbers;
    const Entry entry = entry_;
    if (entry != Entry::Gull && n[0] < 0) {
        message_ = "Not taken: the number cannot be negative";
        return;
    }
    entry_ = Entry::None;
    typing_.clear();
    platform::SetTextEntry(false);
    message_.clear();
    Change([&](editor::EditState& state) {
        editor::EditLevel& level = state.Levels[static_cast<std::size_t>(state.Level)];
        switch (entry) {
            case Entry::Gull:
                level.Gulls[static_cast<std::size_t>(state.Selected)] =
                    TZNGull{n[0], n[1], n[2], n[3], n[4], n[5], n[6]};
                break;
            case Entry::MaxBombs:
                level.MaxBombs = n[0];
                break;
            case Entry::BazzleVisits:
                level.BazzleVisits = n[0];
                break;
            case Entry::EggCount:
                level.EggCount = n[0];
                break;
            case Entry::None:
                break;
        }
    });
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
                GullNumbers(level.Gulls[static_cast<std::size_t>(state_.Selected)]);
    }
    if (Unsaved()) {
        text += "  *";
    }
    return text;
}
