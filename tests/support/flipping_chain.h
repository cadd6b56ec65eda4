// The display's flipping chain for platform tests: DirectDraw, the primary surface and its one
// back buffer, made and released together.
#pragma once

#include <gtest/gtest.h>

#include "platform/api/ddraw.h"

struct FlippingChain {
    // Creates the chain; a failure is reported as the calling test's.
    void Make() {
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        DDSURFACEDESC desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = 1;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    }
    void Release() {
        back->Release();
        primary->Release();
        dd->Release();
    }

    IDirectDraw2* dd = nullptr;
    IDirectDrawSurface3* primary = nullptr;
    IDirectDrawSurface3* back = nullptr;
};
