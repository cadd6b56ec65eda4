// 24-bit device-independent bitmaps: the BMP and JPEG decoders, stretching, and StretchBlt
// from a bitmap onto a surface's device context.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/wintypes.h"

namespace platform {

// A 24-bit device-independent bitmap: blue, green and red bytes per pixel, top row first, rows
// packed without padding.
struct Bitmap24 {
    Bitmap24() = default;
    // A black bitmap of the given size; throws std::bad_alloc when it cannot be held.
    Bitmap24(int width, int height);

    COLORREF Pixel(int x, int y) const;
    // Draws the whole of the source over the whole of this bitmap: pixel for pixel when the
    // sizes agree, otherwise stretched (nearest pixel, as GDI's default stretch mode).
    void StretchDraw(const Bitmap24& source);

    int width = 0;
    int height = 0;
    std::vector<BYTE> bits;
};

enum class PictureResult { Ok, Invalid, OutOfMemory };

// The largest picture side either decoder accepts; larger headers are rejected as invalid
// before anything is allocated.
inline constexpr int kMaxPictureSide = 16384;

// Decode a whole BMP or JPEG file held in memory. On any result but Ok the picture is untouched.
PictureResult DecodeBmp(std::span<const std::uint8_t> data, Bitmap24& picture);
PictureResult DecodeJpeg(std::span<const std::uint8_t> data, Bitmap24& picture);

}  // namespace platform

// Copies (stretching when the sizes differ) a part of the bitmap into the surface behind the
// device context. Only SRCCOPY is supported.
BOOL StretchBlt(HDC destination, int x, int y, int width, int height,
                const platform::Bitmap24& source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop);
