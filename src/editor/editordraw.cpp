// The editor's picture of a level: the level's picture, its gulls as the play field builds and
// draws them, each gull's band and motion, the status line and the help.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "editor/editorform.h"
#include "levelformat/files.h"
#include "platform/api/bitmap.h"
#include "platform/api/files.h"
#include "platform/api/gdi.h"

namespace {

constexpr int kHeadHalf = 3;  // the arrow's head is a square this far around its point
constexpr RECT kStatusArea{0, 444, 640, 480};
// The plain sky's colour, TLevelEditor::kSkyColour in 24 bits.
constexpr BYTE kSkyRed = 88;
constexpr BYTE kSkyGreen = 172;
constexpr BYTE kSkyBlue = 248;

constexpr const char* kHelpLines[] = {
    "Mouse: click on the sky adds a gull; click a gull to select it, drag to move it",
    "  drag the red arrow head: its motion (DX, DY); drag the band's top or bottom square",
    "A: gull kind (AGull)   X or Backspace: delete gull   D: duplicate gull",
    "Enter: type the selected gull's numbers X,Y,DX,DY,AGull,MinY,MaxY, then Enter",
    "G: grid snap on or off   Space: preview the gulls' flight, or stop it",
    "T: test play of this level (Esc, game over or the cleared level come back here)",
    "Left, Right: previous, next level   Up, Down: first, last level",
    "B, N: new level before, after   C: duplicate level   K: delete level",
    "[ and ]: move the level earlier, later",
    "M, V, E: type MaxBombs, BazzleVisits, EggCount, then Enter",
    "P: the next picture of the folder (a pack takes its bytes in)",
    "Ctrl+Z: undo   Ctrl+Y: redo   Ctrl+S: save",
    "F1 or ?: this help   Esc: leave (asks when there are unsaved changes)",
    "Alt+Enter: full screen or window   F12: screenshot",
};

// Plots onto a locked 640 by 480 RGB565 surface, clipped to it.
class Pixels {
  public:
    explicit Pixels(IDirectDrawSurface3* surface) : surface_(surface) {
        locked_ = surface_->Lock(nullptr, &desc_, 0, nullptr) == DD_OK;
    }
    ~Pixels() {
        if (locked_) {
            surface_->Unlock(nullptr);
        }
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    void Plot(int x, int y, std::uint16_t colour) {
        if (locked_ && x >= 0 && x < 640 && y >= 0 && y < 480) {
            auto* row = reinterpret_cast<std::uint16_t*>(
                static_cast<std::uint8_t*>(desc_.lpSurface) + y * desc_.lPitch);
            row[x] = colour;
        }
    }
    void Line(int x0, int y0, int x1, int y1, std::uint16_t colour) {
        const int dx = std::abs(x1 - x0);
        const int dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1;
        const int sy = y0 < y1 ? 1 : -1;
        for (int error = dx + dy;;) {
            Plot(x0, y0, colour);
            if (x0 == x1 && y0 == y1) {
                return;
            }
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x0 += sx;
            }
            if (twice <= dx) {
                error += dx;
                y0 += sy;
            }
        }
    }
    // The outline of the rectangle, right and bottom exclusive.
    void Frame(const RECT& r, std::uint16_t colour) {
        Line(r.left, r.top, r.right - 1, r.top, colour);
        Line(r.left, r.bottom - 1, r.right - 1, r.bottom - 1, colour);
        Line(r.left, r.top, r.left, r.bottom - 1, colour);
        Line(r.right - 1, r.top, r.right - 1, r.bottom - 1, colour);
    }
    void Square(POINT centre, int half, std::uint16_t colour) {
        for (int y = centre.y - half; y <= centre.y + half; ++y) {
            Line(centre.x - half, y, centre.x + half, y, colour);
        }
    }

  private:
    IDirectDrawSurface3* surface_;
    DDSURFACEDESC desc_;
    bool locked_ = false;
};

void Fill(IDirectDrawSurface3* surface, const RECT& area, std::uint16_t colour) {
    DDBLTFX fx;
    fx.dwFillColor = colour;
    RECT target = area;
    surface->Blt(&target, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

// Writes lines of text on the surface from the top-left corner down, in white.
void WriteText(IDirectDrawSurface3* surface, int x, int y, int step,
               std::initializer_list<const char*> lines) {
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) {
        return;
    }
    HFONT font = CreateScreenFont(dc, "Arial", 9, 400);
    SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT);
    for (const char* line : lines) {
        TextOutA(dc, x, y, line, static_cast<int>(std::char_traits<char>::length(line)));
        y += step;
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    surface->ReleaseDC(dc);
}

}  // namespace

POINT TLevelEditor::ArrowHead(const TZNGull& gull) {
    return POINT{gull.X + kGullSize / 2 + static_cast<LONG>(std::lround(gull.DX * kArrowSeconds)),
                 gull.Y + kGullSize / 2 + static_cast<LONG>(std::lround(gull.DY * kArrowSeconds))};
}

RECT TLevelEditor::Band(const TZNGull& gull) {
    // The band as the play field widens it to take in the starting height; a gull in level
    // flight sweeps only its own rows.
    LONG top = gull.Y;
    LONG bottom = gull.Y;
    if (gull.MaxY > gull.MinY) {
        top = std::min(gull.MinY, gull.Y);
        bottom = std::max(gull.MaxY, gull.Y);
    }
    return RECT{gull.X, top, gull.X + kGullSize, bottom + kGullSize};
}

std::optional<levelformat::Bytes> TLevelEditor::PictureBytes(const editor::EditLevel& level) {
    if (file_.IsPack) {
        if (level.Picture && !level.Picture->empty()) {
            return *level.Picture;
        }
        return std::nullopt;
    }
    if (level.PictureName.empty()) {
        return std::nullopt;
    }
    // Beside the file first, then in the game's folders, as the game looks for it.
    auto bytes = levelformat::ReadFileBytes(std::filesystem::path(editor::FolderOf(file_.Path)) /
                                            level.PictureName);
    if (!bytes && platform::FileExists(level.PictureName)) {
        bytes = levelformat::ReadFileBytes(platform::ResolveFileName(level.PictureName));
    }
    if (!bytes) {
        message_ = "Picture " + level.PictureName + " not found";
    }
    return bytes;
}

void TLevelEditor::ShowLevelPicture() {
    const editor::EditLevel& level = Level();
    const std::string key =
        file_.IsPack ? std::to_string(reinterpret_cast<std::uintptr_t>(level.Picture.get()))
                     : level.PictureName;
    if (pictureShown_ && key == shownPicture_) {
        return;
    }
    pictureShown_ = true;
    shownPicture_ = key;
    const std::optional<levelformat::Bytes> bytes = PictureBytes(level);
    const std::string name = file_.IsPack ? "the level's picture" : level.PictureName;
    if (bytes) {
        try {
            Background->LoadFromStream(DirectDraw, *bytes, name, 1, 1, 640, 480, false, false);
            return;
        } catch (const std::exception& error) {
            message_ = "Picture " + name + " cannot be loaded: " + error.what();
        }
    }
    // No picture: a plain sky, kept as the picture's bitmap so that a restore brings it back.
    Background->Rows = 1;
    Background->Columns = 1;
    Background->FrameWidth = Background->Width = 640;
    Background->FrameHeight = Background->Height = 480;
    Background->Bitmap = std::make_unique<platform::Bitmap24>(640, 480);
    std::vector<BYTE>& bits = Background->Bitmap->bits;
    for (std::size_t i = 0; i + 2 < bits.size(); i += 3) {
        bits[i] = kSkyBlue;
        bits[i + 1] = kSkyGreen;
        bits[i + 2] = kSkyRed;
    }
    Background->BuildSurface(DirectDraw, false, false);
    Background->BuildFrameRects();
}

void TLevelEditor::PlaceGulls() {
    GullList.clear();
    RandomLevel = false;
    for (const TZNGull& gull : Level().Gulls) {
        AddGull(gull);
    }
}

void TLevelEditor::DrawEditor() {
    ShowLevelPicture();
    BackBuffer->BltFast(0, 0, Background->Surface, nullptr, DDBLTFAST_WAIT);
    if (!previewing_) {
        PlaceGulls();
    }
    for (const TDXSprite& gull : GullList) {
        gull.Draw(BackBuffer);
    }
    DrawMarks();
    DrawStatusLine();
    if (help_) {
        DrawHelp();
    }
}

void TLevelEditor::DrawMarks() {
    Pixels pixels(BackBuffer);
    const std::vector<TZNGull>& gulls = Level().Gulls;
    for (std::size_t i = 0; i < gulls.size(); ++i) {
        const TZNGull& gull = gulls[i];
        const bool selected = static_cast<std::int32_t>(i) == state_.Selected;
        if (gull.MaxY > gull.MinY || selected) {
            pixels.Frame(Band(gull), kBandColour);
        }
        const POINT centre{gull.X + kGullSize / 2, gull.Y + kGullSize / 2};
        const POINT head = ArrowHead(gull);
        pixels.Line(centre.x, centre.y, head.x, head.y, kArrowColour);
        pixels.Square(head, kHeadHalf, kHeadColour);
        if (selected) {
            pixels.Frame(
                RECT{gull.X - 1, gull.Y - 1, gull.X + kGullSize + 1, gull.Y + kGullSize + 1},
                kSelectionColour);
            const RECT band = Band(gull);
            pixels.Square(POINT{centre.x, band.top}, kHeadHalf, kBandColour);
            pixels.Square(POINT{centre.x, band.bottom - 1}, kHeadHalf, kBandColour);
        }
    }
}

void TLevelEditor::DrawStatusLine() {
    Fill(BackBuffer, kStatusArea, 0);
    const std::string status = StatusText();
    const std::string second = entry_ != Entry::None ? "Type: " + typing_ + "_"
                               : message_.empty()    ? "F1: keys and mouse"
                                                     : message_;
    WriteText(BackBuffer, 4, kStatusArea.top + 2, 17, {status.c_str(), second.c_str()});
}

void TLevelEditor::DrawHelp() {
    constexpr int kLineStep = 18;
    constexpr int kTop = 40;
    const RECT area{20, kTop - 8, 620,
                    kTop + kLineStep * static_cast<int>(std::size(kHelpLines)) + 8};
    Fill(BackBuffer, area, 0);
    int y = kTop;
    for (const char* line : kHelpLines) {
        WriteText(BackBuffer, 32, y, kLineStep, {line});
        y += kLineStep;
    }
}
