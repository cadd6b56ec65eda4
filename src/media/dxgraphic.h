// Picture surfaces: TDXGraphic (a sprite sheet or full-screen picture cut into frames, with its
// colour key and collision masks), TDXMask, and text drawing on a picture's device context.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/api/bitmap.h"
#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"

class BltQueue;

// The collision mask of one frame: one word per pixel row, the frame's leftmost column in the
// most significant bit. Set bits are pixels that are not the transparent colour. Empty RowBits
// stands for no mask at all.
struct TDXMask {
    std::vector<std::uint64_t> RowBits;
    std::int32_t RowCount = 0;
};

class TDXGraphic;

// The game's two blit profiles: sprite sheets copied with their source key, and the full-screen
// picture copied whole. Immediate copies wait for the blitter; queued ones never do.
std::unique_ptr<TDXGraphic> TransparentGraphic();
std::unique_ptr<TDXGraphic> OpaqueGraphic();

class TDXGraphic {
  public:
    // The blit flags for immediate and queued copies: with a source key for sprite sheets,
    // without for the full-screen picture.
    TDXGraphic(DWORD bltFlags, DWORD bltFastFlags, DWORD queuedBltFlags, DWORD queuedBltFastFlags);
    ~TDXGraphic();
    TDXGraphic(const TDXGraphic&) = delete;
    TDXGraphic& operator=(const TDXGraphic&) = delete;

    // Builds the sheet from a bitmap resource of the program.
    void LoadFromResource(IDirectDraw2* directDraw, const std::string& resourceName, int rows,
                          int columns, int frameWidth, int frameHeight, bool colorKey, bool masks);
    // Builds the sheet from a picture file, BMP or JPEG by its extension.
    void LoadFromFile(IDirectDraw2* directDraw, const std::string& fileName, int rows, int columns,
                      int frameWidth, int frameHeight, bool colorKey, bool masks);
    // Builds the sheet from a whole BMP or JPEG file held in memory (the pictures of a level
    // pack), named in messages by the given name.
    void LoadFromStream(IDirectDraw2* directDraw, std::span<const std::uint8_t> data,
                        const std::string& name, int rows, int columns, int frameWidth,
                        int frameHeight, bool colorKey, bool masks);

    void BuildSurface(IDirectDraw2* directDraw, bool colorKey, bool masks);
    void CreateSurface(IDirectDraw2* directDraw, int width, int height);
    void BuildFrameRects();
    void CopyBitmap(IDirectDraw2* directDraw);
    // A picture never loaded has nothing to restore.
    void Restore(IDirectDraw2* directDraw) {
        if (Surface != nullptr) {
            CopyBitmap(directDraw);
        }
    }
    void SetColorKeyFromPixel(IDirectDrawSurface3* surface);
    void BuildMasks();

    // Copies a frame now, clipped to the 640 by 480 screen.
    void DrawFrame(IDirectDrawSurface3* destination, int frame, int x, int y);
    // Appends the same clipped copy to the queue; a full queue drops it.
    void QueueFrame(BltQueue& queue, int frame, int x, int y);
    void Clear();
    // True when the two frames, at their screen rectangles, share an opaque pixel, or when
    // either has no mask.
    static bool MasksCollide(const TDXMask& a, const TDXMask& b, const RECT& rectA,
                             const RECT& rectB);

    // Text drawing on the surface's device context.
    HDC AcquireDC();
    void ReleaseDC();
    void DrawText(int x, int y, const char* text);

    IDirectDrawSurface3* Surface = nullptr;  // owned
    std::unique_ptr<platform::Bitmap24> Bitmap;
    std::string Name;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool InVideoMemory = true;
    HDC DC = nullptr;
    std::int32_t Rows = 0;
    std::int32_t Columns = 0;
    std::int32_t FrameWidth = 0;
    std::int32_t FrameHeight = 0;
    std::vector<RECT> FrameRects;
    DWORD BltFlags = 0;
    DWORD BltFastFlags = 0;
    DWORD QueuedBltFlags = 0;
    DWORD QueuedBltFastFlags = 0;
    std::vector<TDXMask> Masks;  // empty when masks were not requested

  private:
    using Decoder = platform::PictureResult (*)(std::span<const std::uint8_t>, platform::Bitmap24&);
    // The shared body of the three loads: geometry, bitmap reuse, decoding, stretching and the
    // surface.
    void LoadPicture(IDirectDraw2* directDraw, std::span<const std::uint8_t> data, Decoder decode,
                     const std::string& name, int rows, int columns, int frameWidth,
                     int frameHeight, bool colorKey, bool masks);
    // The frame's source and screen rectangles after clipping; false when nothing is visible.
    bool ClipFrame(int frame, int x, int y, RECT& source, RECT& dest) const;

    bool keyed_ = false;  // the surface carries a source colour key, kept across rebuilds
};

// A font for the device context at the given point size and weight; the caller deletes it.
HFONT CreateScreenFont(HDC dc, const char* face, int pointSize, int weight);

// The text as it fits in `width` pixels in the device context's font: whole, or cut visibly
// with "..." where it is cut, at its end or, keeping the end, at its start.
std::string FitText(HDC dc, const std::string& text, int width, bool keepEnd = false);
