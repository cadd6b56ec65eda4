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
    "Tab: the next gull; one off the screen is marked by a pointer where it comes in",
    "Enter: type the selected gull's numbers X,Y,DX,DY,AGull,MinY,MaxY (ranges shown)",
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
        if (!Clip(x0, y0, x1, y1)) {
            return;
        }
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
    // A filled triangle of the given size, its tip at `tip`, pointing along (dx, dy).
    void Pointer(POINT tip, int dx, int dy, int size, std::uint16_t colour) {
        for (int back = 0; back < size; ++back) {
            const int x = tip.x - dx * back;
            const int y = tip.y - dy * back;
            Line(x - dy * back, y - dx * back, x + dy * back, y + dx * back, colour);
        }
    }
    // Halves the brightness of the rectangle's pixels (right and bottom exclusive).
    void Dim(const RECT& r) {
        for (int y = std::max<int>(r.top, 0); locked_ && y < std::min<int>(r.bottom, 480); ++y) {
            auto* row = reinterpret_cast<std::uint16_t*>(
                static_cast<std::uint8_t*>(desc_.lpSurface) + y * desc_.lPitch);
            for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, 640); ++x) {
                row[x] = TLevelEditor::Dimmed(row[x]);
            }
        }
    }

  private:
    // Cuts the line to the part on the surface, so that a line from far off costs no more
    // than one across it; false when no part is on it.
    static bool Clip(int& x0, int& y0, int& x1, int& y1) {
        double from = 0;
        double to = 1;
        const double dx = static_cast<double>(x1) - x0;
        const double dy = static_cast<double>(y1) - y0;
        const double edges[4][2] = {
            {-dx, x0 - 0.0}, {dx, 639.0 - x0}, {-dy, y0 - 0.0}, {dy, 479.0 - y0}};
        for (const auto& [p, q] : edges) {
            if (p == 0) {
                if (q < 0) {
                    return false;
                }
            } else if (p < 0) {
                from = std::max(from, q / p);
            } else {
                to = std::min(to, q / p);
            }
        }
        if (from > to) {
            return false;
        }
        const double sx = x0;
        const double sy = y0;
        x0 = static_cast<int>(std::lround(sx + from * dx));
        y0 = static_cast<int>(std::lround(sy + from * dy));
        x1 = static_cast<int>(std::lround(sx + to * dx));
        y1 = static_cast<int>(std::lround(sy + to * dy));
        return true;
    }

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

// A coordinate far off the screen kept within reach of the drawing's arithmetic; what lies
// beyond is never drawn.
LONG Drawable(std::int64_t coordinate) {
    constexpr std::int64_t kFar = 1 << 20;
    return static_cast<LONG>(std::clamp(coordinate, -kFar, kFar));
}

}  // namespace

POINT TLevelEditor::ArrowHead(const TZNGull& gull) {
    const auto middle = [](std::int32_t place, std::int32_t speed) {
        return Drawable(std::int64_t{place} + kGullSize / 2 + std::llround(speed * kArrowSeconds));
    };
    return POINT{middle(gull.X, gull.DX), middle(gull.Y, gull.DY)};
}

RECT TLevelEditor::Band(const TZNGull& gull) {
    // The band as the play field widens it to take in the starting height; a gull in level
    // flight sweeps only its own rows.
    std::int64_t top = gull.Y;
    std::int64_t bottom = gull.Y;
    if (gull.MaxY > gull.MinY) {
        top = std::min(gull.MinY, gull.Y);
        bottom = std::max(gull.MaxY, gull.Y);
    }
    return RECT{Drawable(gull.X), Drawable(top), Drawable(std::int64_t{gull.X} + kGullSize),
                Drawable(bottom + kGullSize)};
}

std::optional<TLevelEditor::Marker> TLevelEditor::MarkerOf(const TZNGull& gull) {
    const std::int64_t x = gull.X;
    const std::int64_t y = gull.Y;
    const bool left = x + kGullSize <= 0;
    const bool right = x >= 640;
    const bool above = y + kGullSize <= 0;
    const bool below = y >= 480;
    if (!left && !right && !above && !below) {
        return std::nullopt;
    }
    // Across, it comes in from the side it flies towards the screen from, as it wraps; up or
    // down, from the nearer edge.
    const auto along = [](std::int64_t place, int size) {
        return static_cast<LONG>(
            std::clamp<std::int64_t>(place + kGullSize / 2, kMarkerSize, size - 1 - kMarkerSize));
    };
    if (left || right) {
        const bool fromLeft = gull.DX != 0 ? gull.DX > 0 : left;
        return Marker{POINT{fromLeft ? kMarkerSize - 1 : 640 - kMarkerSize, along(y, 480)},
                      fromLeft ? 1 : -1, 0};
    }
    return Marker{POINT{along(x, 640), above ? kMarkerSize - 1 : 480 - kMarkerSize}, 0,
                  above ? 1 : -1};
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
    if (snap_) {
        DrawGrid();
    }
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

void TLevelEditor::DrawGrid() {
    // Dotted lines through the points a gull snaps to.
    Pixels pixels(BackBuffer);
    for (int x = 0; x < 640; x += kGrid) {
        for (int y = 0; y < 480; y += 4) {
            pixels.Plot(x, y, kGridColour);
        }
    }
    for (int y = 0; y < 480; y += kGrid) {
        for (int x = 0; x < 640; x += 4) {
            pixels.Plot(x, y, kGridColour);
        }
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
        const RECT box = Band(TZNGull{gull.X, gull.Y, 0, 0, 0, 0, 0});  // its own square
        const POINT centre{box.left + kGullSize / 2, box.top + kGullSize / 2};
        const POINT head = ArrowHead(gull);
        pixels.Line(centre.x, centre.y, head.x, head.y, kArrowColour);
        pixels.Square(head, kHeadHalf, kHeadColour);
        if (const std::optional<Marker> marker = MarkerOf(gull)) {
            // Off the screen: a pointer where it comes in, outlined when selected.
            if (selected) {
                pixels.Pointer(POINT{marker->Tip.x + marker->DX, marker->Tip.y + marker->DY},
                               marker->DX, marker->DY, kMarkerSize + 2, kSelectionColour);
            }
            pixels.Pointer(marker->Tip, marker->DX, marker->DY, kMarkerSize, kHeadColour);
        }
        if (selected) {
            pixels.Frame(RECT{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1},
                         kSelectionColour);
            const RECT band = Band(gull);
            pixels.Square(POINT{centre.x, band.top}, kHeadHalf, kBandColour);
            pixels.Square(POINT{centre.x, band.bottom - 1}, kHeadHalf, kBandColour);
        }
    }
}

void TLevelEditor::DrawStatusLine() {
    // Over the picture dimmed, so that the paddle's strip still shows.
    Pixels(BackBuffer).Dim(kStatusArea);
    const auto [first, second] = StatusLines();
    WriteText(BackBuffer, 4, kStatusArea.top + 2, 17, {first.c_str(), second.c_str()});
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
