// Reading and marking surfaces for the screen scenarios.
#include "support/screen_fixture.h"

bool ScreenTest::Framed(IDirectDrawSurface3* surface, const RECT& r, std::uint16_t colour) {
    const SurfacePixels shown(surface);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    return shown.Count(RECT{r.left, r.top, r.right, r.top + 1}, colour) == width &&
           shown.Count(RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour) == width &&
           shown.Count(RECT{r.left, r.top, r.left + 1, r.bottom}, colour) == height &&
           shown.Count(RECT{r.right - 1, r.top, r.right, r.bottom}, colour) == height;
}

void ScreenTest::Mark(IDirectDrawSurface3* surface, const RECT& area, std::uint16_t colour) {
    RECT target = area;
    DDBLTFX fill;
    fill.dwFillColor = colour;
    ASSERT_EQ(surface->Blt(&target, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
}
