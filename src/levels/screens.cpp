// The screens' fixed content: texts, headings, frames and sprites, drawn into the full-screen
// picture through its device context.
#include "levels/screens.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// The outline of every screen but the title.
constexpr RECT kOutline{2, 2, 638, 478};

// One line of a screen: y is its top; x its left end, right end or centre by the alignment.
struct ScreenLine {
    UINT align;
    int x;
    int y;
    COLORREF color;
    const char* text;
};

// The title's menu: the line that begins, then a key and what it does on each line, 20 pixels
// apart; the keys are written at x = 250, what they do at x = 320.
constexpr int kTitleTop = 290;
constexpr int kTitleLineHeight = 20;
constexpr const char* kTitleActions[] = {"Hall of Fame", "Scoring", "Pause",
                                         "About",        "Exit",    "Options"};
constexpr int kPauseRow = 2;  // the row of the actions that only tells
// The rectangle of the menu's lines inside the title picture's board.
constexpr int kTitleLeft = 140;
constexpr int kTitleRight = 500;

constexpr ScreenLine kScoringLines[] = {
    {TA_CENTER, 320, 235, kWhite, "Bonus Eggs - 50 points + special power"},
    {TA_LEFT, 108, 102, kWhite, "Gulls (the Enemy) - 25 points each"},
    {TA_LEFT, 108, 162, kWhite, "Bazzles (gull feeders) - 100 points"},
    {TA_LEFT, 50, 275, kWhite, "Decrease ball speed"},
    {TA_LEFT, 50, 315, kWhite, "Extra paddle"},
    {TA_LEFT, 50, 355, kWhite, "Increase ball speed"},
    {TA_LEFT, 50, 395, kWhite, "Tennis Ball"},
    {TA_LEFT, 370, 275, kWhite, "Ball doubler"},
    {TA_LEFT, 370, 315, kWhite, "Glue"},
    {TA_LEFT, 370, 355, kWhite, "Shotgun - left mouse to shoot"},
    {TA_LEFT, 370, 395, kWhite, "Umbrella Shield"},
};

constexpr ScreenLine kCredits[] = {
    {TA_CENTER, 320, 42, kCyan, "The Zintrel Crew"},
    {TA_CENTER, 320, 100, kCyan, "Zintrel designed and developed by"},
    {TA_CENTER, 320, 130, kWhite, "The Zintrel team"},
    {TA_CENTER, 320, 190, kCyan, "Featuring the musical talents of"},
    {TA_CENTER, 320, 220, kWhite, "FluidSynth and the General MIDI soundfont"},
    {TA_CENTER, 320, 250, kWhite, "played through SDL2_mixer"},
    {TA_CENTER, 320, 320, kCyan, "Special Thanks"},
    {TA_CENTER, 320, 350, kWhite, "SDL2, SDL2_mixer and SDL2_ttf"},
    {TA_CENTER, 320, 380, kWhite, "FreeType, fontconfig and the Liberation fonts"},
    {TA_CENTER, 320, 410, kWhite, "libjpeg-turbo and Cairo"},
};

constexpr ScreenLine kNotice[] = {
    {TA_CENTER, 320, 450, kCyan, "Zintrel for Linux is made by the Zintrel team on free libraries"},
};

void WriteLines(TDXGraphic& picture, std::span<const ScreenLine> lines) {
    for (const ScreenLine& line : lines) {
        SetTextAlign(picture.DC, line.align);
        SetTextColor(picture.DC, line.color);
        picture.DrawText(line.x, line.y, line.text);
    }
}

// Outlines the rectangle with a solid brush made for it and deleted again.
void FrameWith(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

HFONT SelectScreenFont(HDC dc, int pointSize, int weight) {
    HFONT font = CreateScreenFont(dc, "Arial", pointSize, weight);
    SelectObject(dc, font);
    return font;
}

// Puts the stock system font back and deletes the screen's own.
void DropFont(HDC dc, HFONT font) {
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

// A heading of the word sheet, centred at the top of a black screen.
void ClearWithHeading(TDXGraphic& background, TDXGraphic& words, int frame) {
    background.Clear();
    words.DrawFrame(background.Surface, frame, (640 - words.FrameWidth) / 2, 20);
}

}  // namespace

std::string Prompt(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return "<" + upper + ">";
}

void DrawTitleText(TDXGraphic& background, platform::DeviceKind device, std::int32_t chosen) {
    using platform::PadButton;
    const bool pad = device != platform::DeviceKind::Keys;
    const std::string begin = pad ? "Press " +
                                        Prompt(platform::PadLabel(PadButton::South, device)) +
                                        " to begin, the d-pad to choose"
                                  : "Press <SPACE> or click mouse to begin";
    // A game controller reaches the lines without keys by the d-pad.
    const std::string keys[] = {
        pad ? "" : "<H>",
        pad ? "" : "<S>",
        Prompt(pad ? platform::PadLabel(PadButton::Pause, device) : platform::PauseKeyName()),
        pad ? "" : "<A>",
        pad ? Prompt(platform::PadLabel(PadButton::Back, device)) : "<ESC>",
        pad ? "" : "<O>",
    };
    std::vector<ScreenLine> lines{{TA_CENTER, 320, kTitleTop, kBlack, begin.c_str()}};
    for (int row = 0; row < static_cast<int>(std::size(kTitleActions)); ++row) {
        const int y = kTitleTop + kTitleLineHeight * (row + 1);
        // A pad's longer names end before what they do.
        lines.push_back({pad ? TA_RIGHT : TA_LEFT, pad ? 310 : 250, y, kBlack, keys[row].c_str()});
        lines.push_back({TA_LEFT, 320, y, kBlack, kTitleActions[row]});
    }
    HDC dc = background.AcquireDC();
    HFONT font = SelectScreenFont(dc, 14, 500);
    SetBkMode(dc, TRANSPARENT);
    WriteLines(background, lines);
    DropFont(dc, font);
    if (chosen >= 0) {
        FrameWith(dc, TitleLineRect(chosen), kRed);
    }
    background.ReleaseDC();
}

RECT TitleLineRect(std::int32_t line) {
    // The lines below the begin line skip the pause key's row.
    const int row = line == tlBegin ? -1 : line - 1 + (line > kPauseRow ? 1 : 0);
    const int y = kTitleTop + kTitleLineHeight * (row + 1);
    return RECT{kTitleLeft, y - 1, kTitleRight, y + kTitleLineHeight - 1};
}

std::int32_t TitleLineAt(int x, int y) {
    for (std::int32_t line = 0; line < kTitleLines; ++line) {
        const RECT rect = TitleLineRect(line);
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) {
            return line;
        }
    }
    return -1;
}

void DrawHallOfFame(TDXGraphic& background, TDXGraphic& words, const THallOfFame& table,
                    std::int32_t highlight) {
    ClearWithHeading(background, words, 3);
    HDC dc = background.AcquireDC();
    HFONT font = SelectScreenFont(dc, 10, 400);
    SetTextColor(dc, kWhite);
    SetBkMode(dc, TRANSPARENT);
    for (int place = 0; place < kHallOfFameSize; ++place) {
        const int y = 80 + 16 * place;
        const THighScore& entry = table[static_cast<std::size_t>(place)];
        SetTextAlign(dc, TA_LEFT);
        if (!entry.Name.empty()) {
            // Cut before the widest score's room.
            background.DrawText(128, y, FitText(dc, entry.Name, 296).c_str());
        }
        SetTextAlign(dc, TA_RIGHT);
        background.DrawText(512, y, std::to_string(entry.Score).c_str());
    }
    DropFont(dc, font);
    if (highlight < kHallOfFameSize) {
        FrameWith(dc, RECT{120, 80 + 16 * highlight, 520, 96 + 16 * highlight}, kRed);
    }
    FrameWith(dc, kOutline, kRed);
    background.ReleaseDC();
}

void DrawScoring(TDXGraphic& background, TDXGraphic& words, platform::DeviceKind device) {
    ClearWithHeading(background, words, 0);
    HDC dc = background.AcquireDC();
    HFONT font = SelectScreenFont(dc, 12, 600);
    // Each line blanks the picture behind it.
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kBlack);
    std::vector<ScreenLine> lines(std::begin(kScoringLines), std::end(kScoringLines));
    const std::string shotgun = "Shotgun - " +
                                Prompt(platform::PadLabel(platform::PadButton::Launch, device)) +
                                " to shoot";
    if (device != platform::DeviceKind::Keys) {
        for (ScreenLine& line : lines) {
            if (std::string_view(line.text).starts_with("Shotgun")) {
                line.text = shotgun.c_str();
            }
        }
    }
    WriteLines(background, lines);
    DropFont(dc, font);
    FrameWith(dc, kOutline, kYellow);
    background.ReleaseDC();
}

void SetScoringSprites(TDXSpriteList& sprites, TDXGraphic& gulls, TDXGraphic& misc,
                       TDXGraphic& eggs) {
    sprites.clear();
    const auto add = [&sprites](TDXGraphic& sheet, int x, int y, int first, int last,
                                double delay) {
        TDXSprite sprite;
        sprite.X = x;
        sprite.Y = y;
        sprite.UseFrames(&sheet, first, last);
        sprite.FrameDelay = delay;
        sprites.push_back(sprite);
    };
    add(gulls, 40, 80, 0, 17, 0.03);
    add(misc, 40, 150, 0, 0, 0.03);
    // Row k of the egg sheet is power k; each egg stands left of the line naming its power.
    for (int row = 0; row < 4; ++row) {
        const int y = 268 + 40 * row;
        add(eggs, 10, y, 26 * row, 26 * row + 12, 0.04);
        add(eggs, 330, y, 26 * row + 13, 26 * row + 25, 0.04);
    }
}

void DrawAbout(TDXGraphic& background, TDXGraphic& misc) {
    background.Clear();
    misc.DrawFrame(background.Surface, 5, 10, 10);
    misc.DrawFrame(background.Surface, 5, 566, 10);
    HDC dc = background.AcquireDC();
    HFONT font = SelectScreenFont(dc, 14, 500);
    SetBkMode(dc, TRANSPARENT);
    WriteLines(background, kCredits);
    HFONT small = SelectScreenFont(dc, 10, 500);
    DeleteObject(font);
    WriteLines(background, kNotice);
    DropFont(dc, small);
    FrameWith(dc, kOutline, kWhite);
    background.ReleaseDC();
}

namespace {

// The list's pages, and where their names are written.
constexpr std::int32_t kPackPage = 20;
constexpr int kFirstPackLine = 50;
constexpr int kPackLineHeight = 20;

std::int32_t FirstOfPage(std::int32_t selected) {
    return selected / kPackPage * kPackPage;
}

}  // namespace

std::int32_t PackEntryAt(int y, std::int32_t selected, std::size_t count) {
    // A name's line runs from one pixel above its text to the next name's.
    const int line = y - (kFirstPackLine - 1);
    if (line < 0 || line / kPackLineHeight >= kPackPage) {
        return -1;
    }
    const std::int32_t entry = FirstOfPage(selected) + line / kPackLineHeight;
    return entry < static_cast<std::int32_t>(count) ? entry : -1;
}

void DrawPackList(TDXGraphic& background, const std::vector<std::string>& names,
                  std::int32_t selected) {
    background.Clear();
    HDC dc = background.AcquireDC();
    HFONT font = SelectScreenFont(dc, 12, 500);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_CENTER);
    SetTextColor(dc, kCyan);
    background.DrawText(320, 20, "Select A Level Pack");
    SetTextColor(dc, kWhite);
    // The page of 20 that holds the selection; the names after it run on below the page's
    // end and off the screen.
    int y = kFirstPackLine;
    for (std::int32_t i = FirstOfPage(selected); i < static_cast<std::int32_t>(names.size());
         ++i, y += kPackLineHeight) {
        const std::string& name = names[static_cast<std::size_t>(i)];
        if (!name.empty()) {
            background.DrawText(320, y, name.c_str());
        }
        if (i == selected) {
            FrameWith(dc, RECT{5, y - 1, 635, y + 21}, kRed);
        }
    }
    DropFont(dc, font);
    FrameWith(dc, kOutline, kWhite);
    background.ReleaseDC();
}
