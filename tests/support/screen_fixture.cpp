// Reading and marking surfaces for the screen scenarios.
#include "support/screen_fixture.h"

namespace {

// Calls the visitor with every pixel of the rectangle.
template <typename Visit>
void ForEachPixel(IDirectDrawSurface3* surface, const RECT& area, Visit visit) {
    DDSURFACEDESC desc;
    if (surface->Lock(nullptr, &desc, 0, nullptr) != DD_OK) {
        ADD_FAILURE() << "the surface cannot be read";
        return;
    }
    for (LONG y = area.top; y < area.bottom; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(
            static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch);
        for (LONG x = area.left; x < area.right; ++x) {
            visit(row[x]);
        }
    }
    surface->Unlock(nullptr);
}

}  // namespace

std::uint16_t ScreenTest::Pixel(IDirectDrawSurface3* surface, int x, int y) {
    std::uint16_t value = 0;
    ForEachPixel(surface, RECT{x, y, x + 1, y + 1}, [&](std::uint16_t p) { value = p; });
    return value;
}

int ScreenTest::Count(IDirectDrawSurface3* surface, const RECT& area, std::uint16_t colour) {
    int count = 0;
    ForEachPixel(surface, area, [&](std::uint16_t p) { count += p == colour ? 1 : 0; });
    return count;
}

int ScreenTest::Ink(IDirectDrawSurface3* surface, const RECT& area) {
    const int pixels = (area.right - area.left) * (area.bottom - area.top);
    return pixels - Count(surface, area, kBlack565);
}

bool ScreenTest::Framed(IDirectDrawSurface3* surface, const RECT& r, std::uint16_t colour) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    return Count(surface, RECT{r.left, r.top, r.right, r.top + 1}, colour) == width &&
           Count(surface, RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour) == width &&
           Count(surface, RECT{r.left, r.top, r.left + 1, r.bottom}, colour) == height &&
           Count(surface, RECT{r.right - 1, r.top, r.right, r.bottom}, colour) == height;
}

void ScreenTest::Mark(IDirectDrawSurface3* surface, const RECT& area, std::uint16_t colour) {
    RECT target = area;
    DDBLTFX fill;
    fill.dwFillColor = colour;
    ASSERT_EQ(surface->Blt(&target, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
}
