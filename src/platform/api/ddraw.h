// DirectDraw over RGB565 surfaces: the display object, the flipping chain and off-screen surfaces.
#pragma once

#include <memory>

#include "platform/api/com.h"
#include "platform/api/dderrors.h"
#include "platform/api/refcounted.h"
#include "platform/api/wintypes.h"

struct DeviceContext;
using HDC = DeviceContext*;

inline constexpr DWORD DDBLT_ASYNC = 0x00000200;
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;
inline constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x00000002;
inline constexpr DWORD DDBLTFAST_WAIT = 0x00000010;
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

extern const IID IID_IDirectDraw2;
extern const IID IID_IDirectDrawSurface3;

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue = 0;
    DWORD dwColorSpaceHighValue = 0;
};

struct DDSCAPS {
    DWORD dwCaps = 0;
};

struct DDPIXELFORMAT {
    DWORD dwRGBBitCount = 0;
    DWORD dwRBitMask = 0;
    DWORD dwGBitMask = 0;
    DWORD dwBBitMask = 0;
};

struct DDSURFACEDESC {
    DWORD dwSize = sizeof(DDSURFACEDESC);
    DWORD dwFlags = 0;
    DWORD dwHeight = 0;
    DWORD dwWidth = 0;
    LONG lPitch = 0;
    DWORD dwBackBufferCount = 0;
    void* lpSurface = nullptr;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};

struct DDBLTFX {
    DWORD dwSize = sizeof(DDBLTFX);
    DWORD dwFillColor = 0;
};

namespace platform {
struct SurfaceState;
struct DisplayState;
}  // namespace platform

// A surface of RGB565 pixels: the primary surface (front of the flipping chain), a back buffer,
// or an off-screen plain surface. Reference counted like its COM original.
class IDirectDrawSurface3 : public platform::RefCounted<IDirectDrawSurface3> {
  public:
    explicit IDirectDrawSurface3(std::unique_ptr<platform::SurfaceState> state);
    IDirectDrawSurface3(const IDirectDrawSurface3&) = delete;
    IDirectDrawSurface3& operator=(const IDirectDrawSurface3&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object);

    HRESULT Blt(const RECT* dest, IDirectDrawSurface3* source, const RECT* sourceRect, DWORD flags,
                const DDBLTFX* fx);
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface3* source, const RECT* sourceRect,
                    DWORD trans);
    HRESULT Flip(IDirectDrawSurface3* target, DWORD flags);
    HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface3** surface);
    HRESULT GetSurfaceDesc(DDSURFACEDESC* desc);
    HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event);
    HRESULT Unlock(void* pixels);
    HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key);
    HRESULT GetDC(HDC* dc);
    HRESULT ReleaseDC(HDC dc);
    HRESULT IsLost();
    HRESULT Restore();

    platform::SurfaceState& State() { return *state_; }

  private:
    friend class platform::RefCounted<IDirectDrawSurface3>;
    ~IDirectDrawSurface3();
    std::unique_ptr<platform::SurfaceState> state_;
};
using IDirectDrawSurface = IDirectDrawSurface3;

// The display object. One exists at a time; it owns the window's presentation.
class IDirectDraw2 : public platform::RefCounted<IDirectDraw2> {
  public:
    IDirectDraw2();
    IDirectDraw2(const IDirectDraw2&) = delete;
    IDirectDraw2& operator=(const IDirectDraw2&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object);

    HRESULT SetCooperativeLevel(HWND window, DWORD flags);
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags);
    HRESULT GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free);
    HRESULT CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface, void* outer);
    HRESULT FlipToGDISurface();

  private:
    friend class platform::RefCounted<IDirectDraw2>;
    ~IDirectDraw2();
};
using IDirectDraw = IDirectDraw2;

HRESULT DirectDrawCreate(const GUID* driver, IDirectDraw** object, void* outer);
