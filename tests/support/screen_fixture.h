// Scenario tests of the screens: the headless game, and reading what a surface shows.
#pragma once

#include <cstdint>

#include "support/game_fixture.h"
#include "support/pixels.h"

inline constexpr std::uint16_t kBlack565 = 0x0000;
inline constexpr std::uint16_t kWhite565 = 0xFFFF;
inline constexpr std::uint16_t kRed565 = 0xF800;
inline constexpr std::uint16_t kYellow565 = 0xFFE0;
inline constexpr std::uint16_t kCyan565 = 0x07FF;
inline constexpr std::uint16_t kLightYellow565 = 0xFFF0;  // RGB(255, 255, 128): the game's lines

class ScreenTest : public GameTest {
  protected:
    IDirectDrawSurface3* Background() { return Form().Background->Surface; }
    IDirectDrawSurface3* Shown() { return Form().Primary; }

    static std::uint16_t Pixel(IDirectDrawSurface3* surface, int x, int y) {
        return SurfacePixels(surface).At(x, y);
    }
    // How many pixels of the rectangle (right and bottom exclusive) hold the colour.
    static int Count(IDirectDrawSurface3* surface, const RECT& area, std::uint16_t colour) {
        return SurfacePixels(surface).Count(area, colour);
    }
    // How many pixels of the rectangle are not black: the ink of texts and pictures.
    static int Ink(IDirectDrawSurface3* surface, const RECT& area) {
        return (area.right - area.left) * (area.bottom - area.top) -
               Count(surface, area, kBlack565);
    }
    // True when the one-pixel outline of the rectangle is wholly of the colour.
    static bool Framed(IDirectDrawSurface3* surface, const RECT& r, std::uint16_t colour) {
        const SurfacePixels shown(surface);
        return shown.Count(RECT{r.left, r.top, r.right, r.top + 1}, colour) == r.right - r.left &&
               shown.Count(RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour) ==
                   r.right - r.left &&
               shown.Count(RECT{r.left, r.top, r.left + 1, r.bottom}, colour) == r.bottom - r.top &&
               shown.Count(RECT{r.right - 1, r.top, r.right, r.bottom}, colour) == r.bottom - r.top;
    }
    // Marks a small square of the surface, to see later whether the screen was drawn again.
    static void Mark(IDirectDrawSurface3* surface, RECT area, std::uint16_t colour) {
        DDBLTFX fill;
        fill.dwFillColor = colour;
        ASSERT_EQ(surface->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill),
                  DD_OK);
    }
};
