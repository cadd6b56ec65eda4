// DirectDraw emulation: RGB565 surfaces, blits, colour keys, locks, device contexts and flipping.
#include "platform/api/ddraw.h"

#include <algorithm>
#include <cstring>

#include "platform/api/services.h"
#include "platform/sdl/display.h"
#include "platform/sdl/frame_pacing.h"
#include "platform/sdl/surface_state.h"
#include "platform/session/session.h"

const IID IID_IDirectDraw2{"IDirectDraw2"};
const IID IID_IDirectDrawSurface3{"IDirectDrawSurface3"};

namespace platform {

namespace {

constexpr int kMaxSurfaceSide = 16384;
// How long a non-waiting flip before its slot gives the processor up.
constexpr std::uint64_t kStillDrawingPauseMicros = 1000;

bool Waits(DWORD bltFlags) {
    return (bltFlags & DDBLT_WAIT) != 0;
}

// A rectangle inside a surface of the given size, non-empty.
bool Inside(const RECT& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height &&
           r.left < r.right && r.top < r.bottom;
}

RECT Whole(const SurfaceState& s) {
    return RECT{0, 0, s.Width(), s.Height()};
}

// Answers shared by every blit: lost and busy surfaces, and injected still-drawing results.
HRESULT BlitPreconditions(SurfaceState& destination, SurfaceState* source, bool waiting) {
    if (destination.lost || (source != nullptr && source->lost)) {
        return DDERR_SURFACELOST;
    }
    if (destination.dc || destination.locked ||
        (source != nullptr && (source->dc || source->locked))) {
        return DDERR_SURFACEBUSY;
    }
    if (!waiting && System().Fails(Fault::AsyncBlit)) {
        return DDERR_WASSTILLDRAWING;
    }
    return DD_OK;
}

SDL_Rect ToSdl(const RECT& r) {
    return SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

SurfaceState::SurfaceState(SurfaceRole surfaceRole, int width, int height) : role(surfaceRole) {
    pixels = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
    if (pixels == nullptr) {
        throw std::bad_alloc();
    }
    SDL_FillRect(pixels, nullptr, 0);
    Display::Get().surfaces.push_back(this);
}

SurfaceState::~SurfaceState() {
    auto& all = Display::Get().surfaces;
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    SDL_FreeSurface(pixels);
}

void SurfaceState::Lose() {
    lost = true;
    Touch();
    SDL_FillRect(pixels, nullptr, 0);
}

// Finds the runs of each row that are not the key colour.
void BuildSpans(SurfaceState& surface) {
    OpaqueSpans& spans = surface.spans;
    spans.rowStart.clear();
    spans.runs.clear();
    const int pitch = surface.pixels->pitch / 2;
    const auto* pixels = static_cast<const std::uint16_t*>(surface.pixels->pixels);
    for (int row = 0; row < surface.Height(); ++row) {
        spans.rowStart.push_back(static_cast<std::uint32_t>(spans.runs.size()));
        const std::uint16_t* line = pixels + row * pitch;
        for (int x = 0; x < surface.Width();) {
            if (line[x] == surface.key) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < surface.Width() && line[x] != surface.key) {
                ++x;
            }
            spans.runs.push_back(
                {static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(x - start)});
        }
    }
    spans.rowStart.push_back(static_cast<std::uint32_t>(spans.runs.size()));
    spans.valid = true;
}

void CopyPixels(SurfaceState& destination, int x, int y, SurfaceState& source, const RECT& from,
                bool keyed) {
    destination.Touch();
    const int width = from.right - from.left;
    const int height = from.bottom - from.top;
    const int sourcePitch = source.pixels->pitch / 2;
    const int destinationPitch = destination.pixels->pitch / 2;
    const auto* in = static_cast<const std::uint16_t*>(source.pixels->pixels);
    if (!keyed) {
        // Row by row through the cache: SDL's own copy of equal formats streams past the cache,
        // which makes the sprites drawn next over the same rows miss it (measured: half the
        // frame's time).
        auto* rows =
            static_cast<std::uint16_t*>(destination.pixels->pixels) + y * destinationPitch + x;
        for (int row = 0; row < height; ++row) {
            std::memcpy(rows + row * destinationPitch,
                        in + (from.top + row) * sourcePitch + from.left,
                        static_cast<std::size_t>(width) * 2);
        }
        return;
    }
    // A keyed copy writes only the source's opaque runs, each clipped to the rectangle.
    if (!source.spans.valid) {
        BuildSpans(source);
    }
    const OpaqueSpans& spans = source.spans;
    auto* out = static_cast<std::uint16_t*>(destination.pixels->pixels) + y * destinationPitch + x -
                from.left;
    for (int row = 0; row < height; ++row) {
        const int sourceRow = from.top + row;
        const OpaqueSpans::Run* run = spans.runs.data() + spans.rowStart[sourceRow];
        const OpaqueSpans::Run* end = spans.runs.data() + spans.rowStart[sourceRow + 1];
        run = std::partition_point(
            run, end, [&](const OpaqueSpans::Run& r) { return r.start + r.length <= from.left; });
        const std::uint16_t* line = in + sourceRow * sourcePitch;
        std::uint16_t* target = out + row * destinationPitch;
        for (; run != end && run->start < from.right; ++run) {
            const int left = std::max<int>(run->start, from.left);
            const int right = std::min<int>(run->start + run->length, from.right);
            std::memcpy(target + left, line + left, static_cast<std::size_t>(right - left) * 2);
        }
    }
}

}  // namespace platform

namespace {
// The one display object and its primary surface, while they exist.
IDirectDraw2* g_directDraw = nullptr;
IDirectDrawSurface3* g_primary = nullptr;
}  // namespace

using platform::SurfaceRole;
using platform::SurfaceState;
using platform::System;

// ---- IDirectDrawSurface3

IDirectDrawSurface3::IDirectDrawSurface3(std::unique_ptr<SurfaceState> state)
    : state_(std::move(state)) {}

IDirectDrawSurface3::~IDirectDrawSurface3() {
    if (g_primary == this) {
        g_primary = nullptr;
    }
    for (std::size_t i = 1; i < state_->chain.size(); ++i) {
        state_->chain[i]->Release();
    }
}

HRESULT IDirectDrawSurface3::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    if (!(iid == IID_IDirectDrawSurface3) || System().Fails(platform::Fault::SurfaceQuery)) {
        return E_NOINTERFACE;
    }
    AddRef();
    *object = this;
    return S_OK;
}

HRESULT IDirectDrawSurface3::Blt(const RECT* dest, IDirectDrawSurface3* source,
                                 const RECT* sourceRect, DWORD flags, const DDBLTFX* fx) {
    SurfaceState& to = *state_;
    if (to.deadAnswer != DD_OK) {
        return DDERR_SURFACELOST;
    }
    const RECT target = dest != nullptr ? *dest : platform::Whole(to);
    if (!platform::Inside(target, to.Width(), to.Height())) {
        return DDERR_INVALIDRECT;
    }
    if ((flags & DDBLT_COLORFILL) != 0) {
        if (fx == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        if (HRESULT r = platform::BlitPreconditions(to, nullptr, platform::Waits(flags));
            r != DD_OK) {
            return r;
        }
        SDL_Rect area = platform::ToSdl(target);
        to.Touch();
        SDL_FillRect(to.pixels, &area, fx->dwFillColor & 0xFFFF);
        return DD_OK;
    }
    if (source == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    SurfaceState& from = *source->state_;
    const RECT part = sourceRect != nullptr ? *sourceRect : platform::Whole(from);
    if (!platform::Inside(part, from.Width(), from.Height())) {
        return DDERR_INVALIDRECT;
    }
    if (HRESULT r = platform::BlitPreconditions(to, &from, platform::Waits(flags)); r != DD_OK) {
        return r;
    }
    const bool keyed = (flags & DDBLT_KEYSRC) != 0 && from.hasKey;
    if (part.right - part.left == target.right - target.left &&
        part.bottom - part.top == target.bottom - target.top) {
        platform::CopyPixels(to, target.left, target.top, from, part, keyed);
        return DD_OK;
    }
    SDL_Rect sourceArea = platform::ToSdl(part);
    SDL_Rect targetArea = platform::ToSdl(target);
    SDL_SetColorKey(from.pixels, keyed ? SDL_TRUE : SDL_FALSE, from.key);
    to.Touch();
    SDL_BlitScaled(from.pixels, &sourceArea, to.pixels, &targetArea);
    return DD_OK;
}

HRESULT IDirectDrawSurface3::BltFast(DWORD x, DWORD y, IDirectDrawSurface3* source,
                                     const RECT* sourceRect, DWORD trans) {
    if (source == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    SurfaceState& to = *state_;
    SurfaceState& from = *source->state_;
    if (to.deadAnswer != DD_OK || from.deadAnswer != DD_OK) {
        return DDERR_SURFACELOST;
    }
    const RECT part = sourceRect != nullptr ? *sourceRect : platform::Whole(from);
    const RECT target{static_cast<LONG>(x), static_cast<LONG>(y),
                      static_cast<LONG>(x) + part.right - part.left,
                      static_cast<LONG>(y) + part.bottom - part.top};
    if (!platform::Inside(part, from.Width(), from.Height()) ||
        !platform::Inside(target, to.Width(), to.Height())) {
        return DDERR_INVALIDRECT;
    }
    if (HRESULT r = platform::BlitPreconditions(to, &from, (trans & DDBLTFAST_WAIT) != 0);
        r != DD_OK) {
        return r;
    }
    const bool keyed = (trans & DDBLTFAST_SRCCOLORKEY) != 0 && from.hasKey;
    platform::CopyPixels(to, target.left, target.top, from, part, keyed);
    return DD_OK;
}

HRESULT IDirectDrawSurface3::Flip(IDirectDrawSurface3*, DWORD flags) {
    SurfaceState& front = *state_;
    if (front.role != SurfaceRole::Primary || front.chain.size() < 2) {
        return DDERR_NOTFLIPPABLE;
    }
    for (IDirectDrawSurface3* member : front.chain) {
        if (member->state_->lost) {
            return DDERR_SURFACELOST;
        }
        if (member->state_->dc || member->state_->locked) {
            return DDERR_SURFACEBUSY;
        }
    }
    auto& sys = System();
    if (HRESULT answer = DD_OK; sys.Fails(platform::Fault::Flip, &answer)) {
        return answer;
    }
    // Frames are paced to the display's refresh slots: a waiting flip sleeps until the next
    // one; a non-waiting flip answers that the previous frame is still showing, after giving
    // the processor up for a moment that never reaches past the slot.
    std::uint64_t& nextSlot = sys.nextFrameSlot;
    const std::uint64_t now = platform::NowMicros();
    if ((flags & DDFLIP_WAIT) == 0) {
        if (!platform::SessionFlipShows(now >= nextSlot)) {
            platform::SleepMicros(std::min<std::uint64_t>(
                platform::kStillDrawingPauseMicros,
                now < nextSlot ? nextSlot - now : platform::kStillDrawingPauseMicros));
            return DDERR_WASSTILLDRAWING;
        }
    } else if (now < nextSlot) {
        platform::WaitUntilMicros(nextSlot);
    }
    // The back buffer's pixels become visible; the chain's storage rotates one place.
    SDL_Surface* oldFront = front.chain[0]->state_->pixels;
    for (std::size_t i = 0; i + 1 < front.chain.size(); ++i) {
        front.chain[i]->state_->pixels = front.chain[i + 1]->state_->pixels;
    }
    front.chain.back()->state_->pixels = oldFront;
    for (IDirectDrawSurface3* member : front.chain) {
        member->state_->Touch();
    }
    const std::uint64_t shownAt = platform::NowMicros();
    platform::Display::Get().Present(front.pixels);
    if (sys.frames != nullptr) {
        const SDL_Surface& shown = *front.pixels;
        sys.frames->Shown(static_cast<const std::uint8_t*>(shown.pixels), shown.w, shown.h,
                          shown.pitch);
    }
    nextSlot = platform::NextFrameSlot(nextSlot, sys.frameIntervalMicros, shownAt);
    return DD_OK;
}

HRESULT IDirectDrawSurface3::GetAttachedSurface(const DDSCAPS* caps,
                                                IDirectDrawSurface3** surface) {
    *surface = nullptr;
    if (caps == nullptr || (caps->dwCaps & DDSCAPS_BACKBUFFER) == 0 || state_->chain.size() < 2 ||
        System().Fails(platform::Fault::AttachedSurface)) {
        return DDERR_NOTFOUND;
    }
    *surface = state_->chain[1];
    (*surface)->AddRef();
    return DD_OK;
}

HRESULT IDirectDrawSurface3::GetSurfaceDesc(DDSURFACEDESC* desc) {
    if (desc == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc->dwWidth = static_cast<DWORD>(state_->Width());
    desc->dwHeight = static_cast<DWORD>(state_->Height());
    desc->lPitch = state_->pixels->pitch;
    desc->lpSurface = nullptr;
    desc->ddpfPixelFormat = DDPIXELFORMAT{16, 0xF800, 0x07E0, 0x001F};
    switch (state_->role) {
        case SurfaceRole::Primary:
            desc->ddsCaps.dwCaps =
                DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
            break;
        case SurfaceRole::BackBuffer:
            desc->ddsCaps.dwCaps =
                DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
            break;
        case SurfaceRole::Offscreen:
            desc->ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
            break;
    }
    return DD_OK;
}

HRESULT IDirectDrawSurface3::Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD, void*) {
    if (desc == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (state_->lost || state_->deadAnswer != DD_OK) {
        return DDERR_SURFACELOST;
    }
    if (state_->locked || state_->dc) {
        return DDERR_SURFACEBUSY;
    }
    GetSurfaceDesc(desc);
    auto* base = static_cast<std::uint8_t*>(state_->pixels->pixels);
    if (rect != nullptr) {
        if (!platform::Inside(*rect, state_->Width(), state_->Height())) {
            return DDERR_INVALIDRECT;
        }
        base += rect->top * state_->pixels->pitch + rect->left * 2;
    }
    desc->lpSurface = base;
    state_->locked = true;
    state_->Touch();
    return DD_OK;
}

HRESULT IDirectDrawSurface3::Unlock(void*) {
    if (!state_->locked) {
        return DDERR_NOTLOCKED;
    }
    state_->locked = false;
    return DD_OK;
}

HRESULT IDirectDrawSurface3::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
    if ((flags & DDCKEY_SRCBLT) == 0) {
        return DDERR_UNSUPPORTED;
    }
    state_->Touch();
    state_->hasKey = key != nullptr;
    state_->key = key != nullptr ? static_cast<std::uint16_t>(key->dwColorSpaceLowValue) : 0;
    return DD_OK;
}

HRESULT IDirectDrawSurface3::GetDC(HDC* dc) {
    if (dc == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (state_->lost || state_->deadAnswer != DD_OK) {
        return DDERR_SURFACELOST;
    }
    if (state_->dc) {
        return DDERR_DCALREADYCREATED;
    }
    if (System().Fails(platform::Fault::GetDC)) {
        return DDERR_CANTCREATEDC;
    }
    state_->Touch();
    state_->dc = std::make_unique<DeviceContext>();
    state_->dc->surface = this;
    *dc = state_->dc.get();
    return DD_OK;
}

HRESULT IDirectDrawSurface3::ReleaseDC(HDC dc) {
    if (!state_->dc || dc != state_->dc.get()) {
        return DDERR_NODC;
    }
    state_->dc.reset();
    return state_->lost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT IDirectDrawSurface3::IsLost() {
    return state_->lost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT IDirectDrawSurface3::Restore() {
    if (state_->deadAnswer != DD_OK) {
        return state_->deadAnswer;
    }
    switch (state_->role) {
        case SurfaceRole::BackBuffer:
            return DDERR_IMPLICITLYCREATED;
        case SurfaceRole::Primary:
            for (IDirectDrawSurface3* member : state_->chain) {
                member->state_->lost = false;
            }
            return DD_OK;
        case SurfaceRole::Offscreen:
            state_->lost = false;
            return DD_OK;
    }
    return DD_OK;
}

// ---- IDirectDraw2

IDirectDraw2::IDirectDraw2() {
    g_directDraw = this;
}

IDirectDraw2::~IDirectDraw2() {
    if (g_directDraw == this) {
        g_directDraw = nullptr;
    }
}

HRESULT IDirectDraw2::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    if (!(iid == IID_IDirectDraw2) || System().Fails(platform::Fault::DirectDrawQuery)) {
        return E_NOINTERFACE;
    }
    AddRef();
    *object = this;
    return S_OK;
}

HRESULT IDirectDraw2::SetCooperativeLevel(HWND, DWORD) {
    // The exclusive full-screen mode is the window the player chose: full screen unless the
    // game was left in a window.
    if (System().Fails(platform::Fault::CooperativeLevel)) {
        return DDERR_EXCLUSIVEMODEALREADYSET;
    }
    return DD_OK;
}

HRESULT IDirectDraw2::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD, DWORD) {
    if (System().Fails(platform::Fault::DisplayMode) || width != 640 || height != 480 ||
        bitsPerPixel != 16) {
        return DDERR_INVALIDMODE;
    }
    return DD_OK;
}

HRESULT IDirectDraw2::GetAvailableVidMem(const DDSCAPS*, DWORD* total, DWORD* free) {
    if (System().Fails(platform::Fault::VideoMemoryQuery)) {
        return DDERR_INVALIDPARAMS;
    }
    const DWORD memory = System().videoMemory;
    if (total != nullptr) {
        *total = memory;
    }
    if (free != nullptr) {
        *free = memory;
    }
    return DD_OK;
}

HRESULT IDirectDraw2::CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                    void*) {
    *surface = nullptr;
    if (desc == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    auto& sys = System();
    if ((desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0) {
        if (sys.Fails(platform::Fault::PrimarySurface)) {
            return DDERR_OUTOFVIDEOMEMORY;
        }
        if (g_primary != nullptr) {
            return DDERR_PRIMARYSURFACEALREADYEXISTS;
        }
        const DWORD backBuffers =
            (desc->dwFlags & DDSD_BACKBUFFERCOUNT) != 0 ? desc->dwBackBufferCount : 0;
        if (backBuffers > 2) {
            return DDERR_INVALIDPARAMS;
        }
        auto* primary =
            new IDirectDrawSurface3(std::make_unique<SurfaceState>(SurfaceRole::Primary, 640, 480));
        primary->State().chain.push_back(primary);
        for (DWORD i = 0; i < backBuffers; ++i) {
            primary->State().chain.push_back(new IDirectDrawSurface3(
                std::make_unique<SurfaceState>(SurfaceRole::BackBuffer, 640, 480)));
        }
        g_primary = primary;
        *surface = primary;
        return DD_OK;
    }
    if (sys.Fails(platform::Fault::OffscreenSurface)) {
        return DDERR_OUTOFMEMORY;
    }
    const bool sized = (desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) == (DDSD_WIDTH | DDSD_HEIGHT);
    if (!sized || desc->dwWidth == 0 || desc->dwHeight == 0 ||
        desc->dwWidth > platform::kMaxSurfaceSide || desc->dwHeight > platform::kMaxSurfaceSide) {
        return DDERR_INVALIDPARAMS;
    }
    *surface = new IDirectDrawSurface3(std::make_unique<SurfaceState>(
        SurfaceRole::Offscreen, static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight)));
    return DD_OK;
}

HRESULT IDirectDraw2::FlipToGDISurface() {
    // The desktop shows through once the game's window gives up the mouse.
    if (SDL_Window* window = platform::Display::Get().Window()) {
        SDL_SetWindowGrab(window, SDL_FALSE);
        SDL_SetRelativeMouseMode(SDL_FALSE);
    }
    return DD_OK;
}

HRESULT DirectDrawCreate(const GUID*, IDirectDraw** object, void*) {
    *object = nullptr;
    if (System().Fails(platform::Fault::DirectDrawCreate)) {
        return DDERR_NODIRECTDRAWHW;
    }
    if (g_directDraw != nullptr) {
        return DDERR_DIRECTDRAWALREADYCREATED;
    }
    *object = new IDirectDraw2();
    return DD_OK;
}
