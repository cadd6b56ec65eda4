// 24-bit bitmaps: BMP decoding through SDL, JPEG decoding through libjpeg, stretching through
// SDL's blitters, and StretchBlt onto RGB565 surfaces.
#include "platform/api/bitmap.h"

#include <SDL.h>
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>

#include "platform/sdl/surface_state.h"

namespace platform {

namespace {

// No picture holds more pixels than this (a 4096 by 4096 photograph); headers asking for more
// are rejected before anything is allocated.
constexpr std::uint64_t kMaxPicturePixels = 4096ull * 4096ull;

bool AcceptableSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           static_cast<std::uint64_t>(width * height) <= kMaxPicturePixels;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// An SDL view of the bitmap's bytes, for SDL's blitters.
SurfacePtr View(const Bitmap24& bitmap) {
    return SurfacePtr(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<BYTE*>(bitmap.bits.data()),
                                                         bitmap.width, bitmap.height, 24,
                                                         bitmap.width * 3, SDL_PIXELFORMAT_BGR24));
}

std::uint32_t ReadLe32(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data[at + 3]) << 24);
}

// ---- JPEG. libjpeg reports errors through a callback that must not return; it jumps back to
// the decoding step that armed it. The steps hold no C++ objects, so the jump skips nothing.

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void JpegQuiet(j_common_ptr) {}

PictureResult JpegFailure(const JpegErrors& errors) {
    return errors.manager.msg_code == JERR_OUT_OF_MEMORY ? PictureResult::OutOfMemory
                                                         : PictureResult::Invalid;
}

bool JpegReadHeader(jpeg_decompress_struct& info, JpegErrors& errors,
                    std::span<const std::uint8_t> data) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    return true;
}

bool JpegReadPixels(jpeg_decompress_struct& info, JpegErrors& errors, BYTE* out) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_start_decompress(&info);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

Bitmap24::Bitmap24(int w, int h) : width(w), height(h) {
    if (w < 0 || h < 0) {
        throw std::bad_alloc();
    }
    bits.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 0);
}

COLORREF Bitmap24::Pixel(int x, int y) const {
    const BYTE* p = bits.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap24::StretchDraw(const Bitmap24& source) {
    if (source.width == width && source.height == height) {
        bits = source.bits;
        return;
    }
    if (source.width == 0 || source.height == 0) {
        return;
    }
    // Each target pixel takes the source pixel its position maps onto, so that a whole
    // multiple enlarges every source pixel into an exact block.
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[x] = static_cast<int>(static_cast<std::int64_t>(x) * source.width / width) * 3;
    }
    BYTE* out = bits.data();
    for (int y = 0; y < height; ++y) {
        const BYTE* row =
            source.bits.data() +
            static_cast<std::size_t>(static_cast<std::int64_t>(y) * source.height / height) *
                source.width * 3;
        for (int x = 0; x < width; ++x, out += 3) {
            std::memcpy(out, row + columns[x], 3);
        }
    }
}

PictureResult DecodeBmp(std::span<const std::uint8_t> data, Bitmap24& picture) {
    // The size in the header is checked first: SDL would otherwise allocate whatever it says.
    if (data.size() < 26 || data[0] != 'B' || data[1] != 'M') {
        return PictureResult::Invalid;
    }
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (ReadLe32(data, 14) == 12) {  // the old core header: 16-bit sizes
        width = data[18] | (data[19] << 8);
        height = data[20] | (data[21] << 8);
    } else {
        width = static_cast<std::int32_t>(ReadLe32(data, 18));
        height = static_cast<std::int32_t>(ReadLe32(data, 22));
    }
    if (!AcceptableSize(width, height < 0 ? -height : height)) {
        return PictureResult::Invalid;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(data.data(), static_cast<int>(data.size()));
    SurfacePtr loaded(SDL_LoadBMP_RW(stream, 1));
    if (!loaded) {
        return PictureResult::Invalid;
    }
    SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_BGR24, 0));
    if (!converted) {
        return PictureResult::OutOfMemory;
    }
    Bitmap24 result(converted->w, converted->h);
    const std::size_t stride = static_cast<std::size_t>(result.width) * 3;
    for (int row = 0; row < result.height; ++row) {
        std::memcpy(result.bits.data() + row * stride,
                    static_cast<const BYTE*>(converted->pixels) + row * converted->pitch, stride);
    }
    picture = std::move(result);
    return PictureResult::Ok;
}

PictureResult DecodeJpeg(std::span<const std::uint8_t> data, Bitmap24& picture) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegErrorExit;
    errors.manager.output_message = JpegQuiet;
    if (!JpegReadHeader(info, errors, data)) {
        jpeg_destroy_decompress(&info);
        return JpegFailure(errors);
    }
    if (!AcceptableSize(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return PictureResult::Invalid;
    }
    Bitmap24 result;
    try {
        result = Bitmap24(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&info);
        return PictureResult::OutOfMemory;
    }
    const bool read = JpegReadPixels(info, errors, result.bits.data());
    jpeg_destroy_decompress(&info);
    if (!read) {
        return JpegFailure(errors);
    }
    picture = std::move(result);
    return PictureResult::Ok;
}

}  // namespace platform

BOOL StretchBlt(HDC destination, int x, int y, int width, int height,
                const platform::Bitmap24& source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop) {
    if (destination == nullptr || destination->surface == nullptr || rop != SRCCOPY || width <= 0 ||
        height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return FALSE;
    }
    platform::SurfacePtr from = platform::View(source);
    if (!from) {
        return FALSE;
    }
    SDL_Surface* to = destination->surface->State().pixels;
    SDL_Rect part{sourceX, sourceY, sourceWidth, sourceHeight};
    SDL_Rect area{x, y, width, height};
    const int result = (sourceWidth == width && sourceHeight == height)
                           ? SDL_BlitSurface(from.get(), &part, to, &area)
                           : SDL_BlitScaled(from.get(), &part, to, &area);
    return result == 0 ? TRUE : FALSE;
}
