// A surface's RGB565 pixels read back through Lock, row by row, to count and compare.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/api/ddraw.h"

struct SurfacePixels {
    explicit SurfacePixels(IDirectDrawSurface3* surface) {
        DDSURFACEDESC desc;
        if (surface->Lock(nullptr, &desc, 0, nullptr) != DD_OK) {
            ADD_FAILURE() << "the surface cannot be read";
            return;
        }
        width = static_cast<int>(desc.dwWidth);
        pixels.resize(static_cast<std::size_t>(width) * desc.dwHeight);
        for (DWORD y = 0; y < desc.dwHeight; ++y) {
            std::memcpy(&pixels[y * desc.dwWidth],
                        static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                        desc.dwWidth * 2);
        }
        surface->Unlock(nullptr);
    }

    std::uint16_t At(int x, int y) const {
        return pixels.empty() ? 0xDEAD : pixels[static_cast<std::size_t>(y * width + x)];
    }
    // How many pixels of the rectangle (right and bottom exclusive) hold the colour.
    int Count(const RECT& area, std::uint16_t colour) const {
        int count = 0;
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) {
                count += At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
    bool operator==(const SurfacePixels& other) const = default;

    int width = 0;
    std::vector<std::uint16_t> pixels;
};
