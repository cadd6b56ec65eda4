// DirectDraw emulation: the flipping chain, blits, keys, device contexts, lost surfaces.
#include <gtest/gtest.h>

#include "platform/api/ddraw.h"
#include "support/harness.h"

namespace {

class DirectDrawTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK); }
    void TearDown() override {
        for (IDirectDrawSurface3* s : owned) {
            s->Release();
        }
        dd->Release();
    }

    IDirectDrawSurface3* Primary(DWORD backBuffers) {
        DDSURFACEDESC desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = backBuffers;
        IDirectDrawSurface3* surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        owned.push_back(surface);
        return surface;
    }

    IDirectDrawSurface3* Back(IDirectDrawSurface3* primary) {
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        IDirectDrawSurface3* back = nullptr;
        EXPECT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
        owned.insert(owned.begin(), back);
        return back;
    }

    IDirectDrawSurface3* Offscreen(DWORD width, DWORD height) {
        DDSURFACEDESC desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        desc.dwWidth = width;
        desc.dwHeight = height;
        IDirectDrawSurface3* surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        owned.insert(owned.begin(), surface);
        return surface;
    }

    static void Fill(IDirectDrawSurface3* surface, DWORD colour, const RECT* area = nullptr) {
        DDBLTFX fx;
        fx.dwFillColor = colour;
        ASSERT_EQ(surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    static std::uint16_t Pixel(IDirectDrawSurface3* surface, int x, int y) {
        DDSURFACEDESC desc;
        EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
        const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        const std::uint16_t value = reinterpret_cast<const std::uint16_t*>(row)[x];
        surface->Unlock(nullptr);
        return value;
    }

    platform::Harness harness;
    IDirectDraw2* dd = nullptr;
    std::vector<IDirectDrawSurface3*> owned;
};

TEST_F(DirectDrawTest, FlipShowsTheBackBufferAndRotatesTheChain) {
    IDirectDrawSurface3* primary = Primary(1);
    IDirectDrawSurface3* back = Back(primary);
    Fill(primary, 0x1111);
    Fill(back, 0x2222);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Pixel(primary, 10, 10), 0x2222);
    EXPECT_EQ(Pixel(back, 10, 10), 0x1111);
}

TEST_F(DirectDrawTest, TwoBackBuffersTakeTurns) {
    IDirectDrawSurface3* primary = Primary(2);
    IDirectDrawSurface3* back = Back(primary);
    Fill(back, 0x0001);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    Fill(back, 0x0002);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Pixel(primary, 0, 0), 0x0002);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    // The third buffer, never drawn into, shows last; the first frame comes round again.
    EXPECT_EQ(Pixel(primary, 0, 0), 0x0000);
    EXPECT_EQ(Pixel(back, 0, 0), 0x0001);
}

TEST_F(DirectDrawTest, LostSurfacesRefuseWorkUntilRestored) {
    IDirectDrawSurface3* primary = Primary(1);
    IDirectDrawSurface3* back = Back(primary);
    IDirectDrawSurface3* sheet = Offscreen(64, 64);
    Fill(sheet, 0x7777);
    harness.LoseSurfaces();
    DDBLTFX fx;
    HDC dc = nullptr;
    EXPECT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
              DDERR_SURFACELOST);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(sheet->GetDC(&dc), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(sheet->IsLost(), DDERR_SURFACELOST);

    // The primary restores its whole chain; the back buffer itself cannot be restored alone.
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->Restore(), DDERR_IMPLICITLYCREATED);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(sheet->Restore(), DD_OK);
    // What a lost surface held is gone: the owner must draw it again.
    EXPECT_EQ(Pixel(sheet, 5, 5), 0x0000);
}

TEST_F(DirectDrawTest, KeyedBlitsSkipTheKeyColour) {
    IDirectDrawSurface3* primary = Primary(1);
    IDirectDrawSurface3* back = Back(primary);
    IDirectDrawSurface3* sprite = Offscreen(4, 1);
    Fill(back, 0x1234);
    Fill(sprite, 0xF81F);
    const RECT opaque{1, 0, 3, 1};
    Fill(sprite, 0x07E0, &opaque);
    DDCOLORKEY key{0xF81F, 0xF81F};
    ASSERT_EQ(sprite->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);

    ASSERT_EQ(back->BltFast(100, 50, sprite, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT),
              DD_OK);
    EXPECT_EQ(Pixel(back, 100, 50), 0x1234);
    EXPECT_EQ(Pixel(back, 101, 50), 0x07E0);
    EXPECT_EQ(Pixel(back, 102, 50), 0x07E0);
    EXPECT_EQ(Pixel(back, 103, 50), 0x1234);

    const RECT target{200, 60, 204, 61};
    ASSERT_EQ(back->Blt(&target, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Pixel(back, 200, 60), 0x1234);
    EXPECT_EQ(Pixel(back, 201, 60), 0x07E0);

    // Without the key flag every pixel is copied.
    ASSERT_EQ(back->BltFast(300, 70, sprite, nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(Pixel(back, 300, 70), 0xF81F);
}

TEST_F(DirectDrawTest, RectanglesOutsideTheSurfaceAreRefused) {
    IDirectDrawSurface3* sheet = Offscreen(64, 64);
    IDirectDrawSurface3* target = Offscreen(100, 100);
    const RECT tooWide{0, 0, 65, 10};
    EXPECT_EQ(target->BltFast(0, 0, sheet, &tooWide, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(target->BltFast(40, 40, sheet, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(target->BltFast(36, 36, sheet, nullptr, DDBLTFAST_WAIT), DD_OK);
}

}  // namespace
