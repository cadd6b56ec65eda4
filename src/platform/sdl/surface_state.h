// What a DirectDraw surface holds: its RGB565 pixels, key, device context and lost state.
// Internal to the platform layer.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"

namespace platform {

enum class SurfaceRole { Primary, BackBuffer, Offscreen };

// The runs of pixels that are not the key colour, row by row: what a keyed copy writes. Built
// at the first keyed copy from a surface and dropped whenever its pixels or its key change.
struct OpaqueSpans {
    struct Run {
        std::uint16_t start;
        std::uint16_t length;
    };
    bool valid = false;
    std::vector<std::uint32_t> rowStart;  // the first run of each row, then the end
    std::vector<Run> runs;
};

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
    // The pixels or the key are about to change: the opaque runs no longer hold.
    void Touch() { spans.valid = false; }

    SurfaceRole role;
    SDL_Surface* pixels = nullptr;  // RGB565, owned
    bool lost = false;
    HRESULT deadAnswer = DD_OK;  // not DD_OK: the object is dead and Restore answers this
    bool hasKey = false;
    std::uint16_t key = 0;
    OpaqueSpans spans;
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
