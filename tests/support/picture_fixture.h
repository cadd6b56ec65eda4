// Shared test fixture for pictures: a headless display, pictures made in memory (BMP and JPEG),
// resource tables, and pixel reads of surfaces.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/dxgraphic.h"
#include "platform/api/ddraw.h"
#include "platform/api/resources.h"
#include "support/harness.h"
#include "support/pixels.h"

namespace pictures {

using Painter = std::function<COLORREF(int x, int y)>;

// A whole 24-bit BMP file, bottom-up rows padded to four bytes, as resources hold them.
std::vector<std::uint8_t> MakeBmp(int width, int height, const Painter& paint);
// A whole baseline JPEG file.
std::vector<std::uint8_t> MakeJpeg(int width, int height, const Painter& paint, int quality = 95);
void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

constexpr std::uint16_t Rgb565(COLORREF c) {
    return static_cast<std::uint16_t>(((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) |
                                      (GetBValue(c) >> 3));
}

inline constexpr COLORREF kMagenta = RGB(255, 0, 255);

class PictureTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a BITMAP resource to the table the program's lookups search.
    void AddResource(const std::string& name, std::vector<std::uint8_t> bytes);
    IDirectDrawSurface3* Offscreen(int width, int height);
    static std::uint16_t Pixel(IDirectDrawSurface3* surface, int x, int y) {
        return SurfacePixels(surface).At(x, y);
    }
    static void Fill(IDirectDrawSurface3* surface, std::uint16_t colour);
    static int Count(IDirectDrawSurface3* surface, const RECT& area, std::uint16_t colour) {
        return SurfacePixels(surface).Count(area, colour);
    }

    platform::Harness harness;
    IDirectDraw2* dd = nullptr;
    IDirectDrawSurface3* screen = nullptr;  // a 640 by 480 destination

  private:
    std::vector<std::string> names_;
    std::vector<std::vector<std::uint8_t>> blobs_;
    std::vector<platform::ResourceEntry> table_;
    std::vector<IDirectDrawSurface3*> owned_;
};

}  // namespace pictures
