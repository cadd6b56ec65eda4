// Name entry: the box drawn over the last picture while a player types a name for the Hall of
// Fame, and the entry made when Enter ends it.
#include <optional>
#include <utility>

#include "game/znform.h"
#include "media/dxerrors.h"
#include "platform/api/cursor.h"
#include "platform/api/timer.h"

void TKestovForm::NameEntry() {
    PlayerName.clear();
    PickingLetter = false;
    platform::SetTextEntry(true);
    std::optional<std::string> drawn;  // none: the box is drawn whatever the name
    while (GameState == gsNameEntry) {
        bool shown = false;
        try {
            Application.ProcessMessages();
            if (drawn != PlayerName) {
                DrawNameEntry();
                FlipSurfaces(DDFLIP_WAIT);
                drawn = PlayerName;
                shown = true;
            }
        } catch (const XSurfaceLost&) {
            RestoreSurfaces();
            drawn.reset();
        }
        // The box only changes with a keystroke: a pass that showed nothing gives the processor
        // up for a moment rather than spinning.
        if (!shown) {
            Sleep(10);
        }
    }
    platform::SetTextEntry(false);
    if (GameState != gsHallOfFame) {
        return;
    }
    // No buffer of the chain may still show the box when the Hall of Fame comes up.
    try {
        for (int i = 0; i <= BackBufferCount; ++i) {
            Background->DrawFrame(BackBuffer, 0, 0, 0);
            FlipSurfaces(DDFLIP_WAIT);
        }
    } catch (const XSurfaceLost&) {
        RestoreSurfaces();
    }
    InsertHighScore(PlayerName);
}

void TKestovForm::DrawNameEntry() {
    Background->DrawFrame(BackBuffer, 0, 0, 0);
    RECT box{160, 120, 480, 360};
    DDBLTFX fill;
    fill.dwFillColor = 0;
    BackBuffer->Blt(&box, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
    MiscSheet->DrawFrame(BackBuffer, 5, 170, 130);
    HDC dc = nullptr;
    // Without a device context the box is shown without its frame and texts.
    if (FAILED(BackBuffer->GetDC(&dc))) {
        return;
    }
    const RECT frame{165, 125, 475, 355};
    FrameRect(dc, &frame, GetStockObject(WHITE_BRUSH));
    BackBuffer->ReleaseDC(dc);
    // A name too long for the box shows its end, where it is being typed.
    WriteGameLines({{155, "Congratulations!"},
                    {200, "You've achieved a new high score"},
                    {225, "Please enter your name:"},
                    {275, PlayerName, true}},
                   frame.right - frame.left - 20);
}

void TKestovForm::WriteGameLines(const std::vector<GameLine>& lines, int width) {
    HDC dc = nullptr;
    if (FAILED(BackBuffer->GetDC(&dc))) {
        return;
    }
    HFONT font = CreateScreenFont(dc, "Arial", 14, 700);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_CENTER);
    for (const GameLine& line : lines) {
        const std::string shown = FitText(dc, line.text, width, line.keepEnd);
        const int length = static_cast<int>(shown.size());
        // Outlined in black, so that a line reads over any picture.
        SetTextColor(dc, RGB(0, 0, 0));
        for (const auto& [dx, dy] :
             {std::pair{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}) {
            TextOutA(dc, 320 + dx, line.y + dy, shown.c_str(), length);
        }
        SetTextColor(dc, RGB(255, 255, 128));
        TextOutA(dc, 320, line.y, shown.c_str(), length);
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    BackBuffer->ReleaseDC(dc);
}
