// What a DirectDraw surface holds: its RGB565 pixels, key, device context and lost state.
// Internal to the platform layer.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/ddraw.h"
#include "platform/gdi.h"

namespace platform {

enum class SurfaceRole { Primary, BackBuffer, Offscreen };

struct SurfaceState {
    SurfaceState(SurfaceRole role, int width, int height);
    ~SurfaceState();
    SurfaceState(const SurfaceState&) = delete;
    SurfaceState& operator=(const SurfaceState&) = delete;

    // A lost surface answers DDERR_SURFACELOST until restored; its pixels are undefined, and
    // cleared here so that a missing restore shows at once.
    void Lose();
    int Width() const { return pixels->w; }
    int Height() const { return pixels->h; }

    SurfaceRole role;
    SDL_Surface* pixels = nullptr;  // RGB565, owned
    bool lost = false;
    HRESULT deadAnswer = DD_OK;  // not DD_OK: the object is dead and Restore answers this
    bool hasKey = false;
    std::uint16_t key = 0;
    std::unique_ptr<DeviceContext> dc;  // handed out by GetDC
    bool locked = false;
    // The primary surface's flipping chain: the primary itself, then its back buffers.
    std::vector<IDirectDrawSurface3*> chain;
};

// Copies a rectangle between surfaces of equal size rectangles, skipping the source's key
// colour when keyed.
void CopyPixels(SurfaceState& destination, int x, int y, SurfaceState& source, const RECT& from,
                bool keyed);

}  // namespace platform
