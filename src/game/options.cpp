// The Options screen: the sound, the display, access and the controls, each a row changed with
// Left and Right, the wheel or a click on its arrows, on a board in the title's style over the
// title picture. The platform keeps and applies what the rows change.
#include <array>
#include <string>

#include "game/znform.h"
#include "levels/screens.h"
#include "media/dxerrors.h"
#include "platform/api/cursor.h"

namespace {

using platform::Option;

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kBoard = RGB(255, 250, 232);  // the title's board
constexpr COLORREF kBorder = RGB(150, 110, 60);  // and its edge
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr RECT kBoardRect{16, 16, 624, 464};
constexpr int kBorderWidth = 3;

// Where a row's parts stand, from its column's left edge.
constexpr int kArrowLeft = 168;  // "<"
constexpr int kValueCentre = 222;
constexpr int kArrowRight = 276;  // ">" ends here
constexpr int kArrowWidth = 22;   // of the area a click on an arrow takes
constexpr int kRowWidth = 284;
constexpr int kRowHeight = 20;
constexpr int kColumns[] = {36, 330};

struct Heading {
    int column;
    int y;
    const char* text;
};
constexpr Heading kHeadings[] = {
    {0, 58, "Sound"}, {0, 130, "Display"}, {0, 202, "Access"}, {1, 58, "Controls"}};

struct Row {
    Option option;
    int column;
    int y;
    const char* label;
};
constexpr Row kRows[] = {
    {Option::EffectsVolume, 0, 80, "Effects volume"},
    {Option::MusicVolume, 0, 100, "Music volume"},
    {Option::Fullscreen, 0, 152, "Screen"},
    {Option::Scaling, 0, 172, "Scaling"},
    {Option::GameSpeed, 0, 224, "Game speed"},
    {Option::LaunchMode, 0, 244, "Launch and fire by"},
    {Option::MouseSensitivity, 1, 80, "Mouse sensitivity"},
    {Option::KeySpeed, 1, 100, "Arrow keys' speed"},
    {Option::PadSpeed, 1, 120, "D-pad's speed"},
    {Option::StickSpeed, 1, 140, "Stick's speed"},
    {Option::StickDeadZone, 1, 160, "Stick's dead zone"},
    {Option::Pads, 1, 180, "Game controllers"},
    {Option::KeyLeft, 1, 200, "Key: left"},
    {Option::KeyRight, 1, 220, "Key: right"},
    {Option::KeyLaunch, 1, 240, "Key: launch, fire"},
    {Option::KeyPause, 1, 260, "Key: pause"},
    {Option::KeyLeave, 1, 280, "Key: leave"},
    {Option::PadLaunch, 1, 300, "Button: launch, fire"},
    {Option::PadPause, 1, 320, "Button: pause"},
    {Option::PadLeave, 1, 340, "Button: leave"},
    {Option::DefaultControls, 1, 364, "All controls as at first"},
};
constexpr auto kRowCount = static_cast<std::int32_t>(std::size(kRows));
constexpr int kMessageY = 400;
constexpr int kHintY = 428;

const Row& RowAt(std::int32_t index) {
    return kRows[static_cast<std::size_t>(index)];
}

int Left(const Row& row) {
    return kColumns[row.column];
}

RECT RowRect(const Row& row) {
    return RECT{Left(row) - 6, row.y - 1, Left(row) + kRowWidth, row.y + kRowHeight - 1};
}

bool Inside(POINT at, const RECT& rect) {
    return at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom;
}

// Whether the row's value steps with the arrows; the others take a key or button, or act.
bool Steps(const Row& row) {
    return !platform::TakesKey(row.option) && !platform::TakesButton(row.option) &&
           row.option != Option::DefaultControls;
}

void Write(TDXGraphic& picture, UINT align, int x, int y, COLORREF color, const std::string& text) {
    SetTextAlign(picture.DC, align);
    SetTextColor(picture.DC, color);
    picture.DrawText(x, y, text.c_str());
}

void Paint(HDC dc, const RECT& rect, COLORREF color, bool fill) {
    HBRUSH brush = CreateSolidBrush(color);
    if (fill) {
        FillRect(dc, &rect, brush);
    } else {
        FrameRect(dc, &rect, brush);
    }
    DeleteObject(brush);
}

// What the screen says below the rows: the wait for a key or button, or why one was refused;
// and how to use it, with the keys or the game controller's buttons.
std::string WaitText(const std::string& label) {
    const std::optional<Option> waiting = platform::Remapping();
    if (!waiting) {
        return {};
    }
    const std::string refused = platform::RemapRefusal();
    const std::string ask = platform::TakesKey(*waiting)
                                ? "Press the new key for \"" + label + "\"; Esc keeps it"
                                : "Press the new button for \"" + label + "\"; Esc keeps it";
    return refused.empty() ? ask : refused + ". " + ask;
}

std::string HintText(platform::DeviceKind device) {
    using platform::PadButton;
    if (device == platform::DeviceKind::Keys) {
        return "<UP> <DOWN> choose   <LEFT> <RIGHT> change   <ENTER> set   <ESC> back";
    }
    return "<D-PAD> choose and change   " + Prompt(platform::PadLabel(PadButton::South, device)) +
           " set   " + Prompt(platform::PadLabel(PadButton::East, device)) + " back";
}

}  // namespace

void TKestovForm::OptionsScreen() {
    LoadBackground("ZNTitle.jpg");
    OptionChoice = 0;
    // The pointer is shown over the rows, full screen too.
    ShowCursor(TRUE);
    struct Shown {
        int changes = -1;  // -1: draw the screen
        std::int32_t choice = -1;
        platform::DeviceKind device = platform::DeviceKind::Keys;
        bool operator==(const Shown&) const = default;
    } drawn;
    RunScreen(gsOptions,
              {.Redraw = [&drawn] { drawn.changes = -1; },
               .BeforeCopy =
                   [this, &drawn] {
                       const Shown now{platform::OptionsShown(), OptionChoice, InputDevice};
                       if (!(now == drawn)) {
                           DrawOptions();
                           drawn = now;
                       }
                   }});
    platform::CancelRemap();
    ShowCursor(FALSE);
}

void TKestovForm::DrawOptions() {
    TDXGraphic& board = *Background;
    HDC dc = board.AcquireDC();
    Paint(dc, kBoardRect, kBorder, true);
    const RECT inside{kBoardRect.left + kBorderWidth, kBoardRect.top + kBorderWidth,
                      kBoardRect.right - kBorderWidth, kBoardRect.bottom - kBorderWidth};
    Paint(dc, inside, kBoard, true);
    SetBkMode(dc, TRANSPARENT);
    HFONT heading = CreateScreenFont(dc, "Arial", 14, 500);
    SelectObject(dc, heading);
    Write(board, TA_CENTER, 320, 24, kInk, "Options");
    for (const Heading& h : kHeadings) {
        Write(board, TA_LEFT, kColumns[h.column] - 6, h.y, kBorder, h.text);
    }
    HFONT font = CreateScreenFont(dc, "Arial", 12, 500);
    SelectObject(dc, font);
    DeleteObject(heading);
    const std::optional<Option> waiting = platform::Remapping();
    for (const Row& row : kRows) {
        const int left = Left(row);
        Write(board, TA_LEFT, left, row.y, kInk, row.label);
        const bool asked = waiting == row.option;
        Write(board, TA_CENTER, left + kValueCentre, row.y, asked ? kRed : kInk,
              asked ? "?" : platform::OptionValue(row.option));
        if (Steps(row)) {
            Write(board, TA_LEFT, left + kArrowLeft, row.y, kInk, "<");
            Write(board, TA_RIGHT, left + kArrowRight, row.y, kInk, ">");
        }
    }
    const std::string label = waiting ? [&] {
        for (const Row& row : kRows) {
            if (row.option == *waiting) {
                return std::string(row.label);
            }
        }
        return std::string();
    }()
                                      : std::string();
    Write(board, TA_CENTER, 320, kMessageY, kRed, WaitText(label));
    Write(board, TA_CENTER, 320, kHintY, kInk, HintText(InputDevice));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    Paint(dc, RowRect(RowAt(OptionChoice)), kRed, false);
    board.ReleaseDC();
}

void TKestovForm::MoveOptionChoice(int step) {
    OptionChoice = std::clamp(OptionChoice + step, 0, kRowCount - 1);
}

void TKestovForm::ChangeOption(std::int32_t row, int step) {
    const Option option = RowAt(row).option;
    if (!Steps(RowAt(row))) {
        return;
    }
    platform::StepOption(option, step);
    if (option == Option::EffectsVolume) {
        // The new level, heard at once.
        BallBounce->Play();
    }
}

void TKestovForm::ActOnOption(std::int32_t row) {
    const Option option = RowAt(row).option;
    if (Steps(RowAt(row))) {
        ChangeOption(row, 1);
    } else if (option == Option::DefaultControls) {
        platform::StepOption(option, 1);
    } else {
        platform::BeginRemap(option);
    }
}

std::int32_t TKestovForm::OptionRows() {
    return kRowCount;
}

Option TKestovForm::OptionOfRow(std::int32_t row) {
    return RowAt(row).option;
}

std::int32_t TKestovForm::OptionRowAt(POINT at) {
    for (std::int32_t i = 0; i < kRowCount; ++i) {
        if (Inside(at, RowRect(RowAt(i)))) {
            return i;
        }
    }
    return -1;
}

RECT TKestovForm::OptionArrow(std::int32_t row, int step) {
    const Row& r = RowAt(row);
    const int left = Left(r) + (step < 0 ? kArrowLeft - 4 : kArrowRight + 4 - kArrowWidth);
    return RECT{left, r.y - 1, left + kArrowWidth, r.y + kRowHeight - 1};
}

void TKestovForm::ClickOptions(POINT at) {
    const std::int32_t row = OptionRowAt(at);
    if (row < 0) {
        return;
    }
    OptionChoice = row;
    if (!Steps(RowAt(row))) {
        ActOnOption(row);
    } else if (Inside(at, OptionArrow(row, -1))) {
        ChangeOption(row, -1);
    } else if (Inside(at, OptionArrow(row, 1))) {
        ChangeOption(row, 1);
    }
}
