// TDXGraphic: loading pictures into surfaces, frames, colour keys, masks, clipped blits and
// text drawing on the surface's device context.
#include "media/dxgraphic.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "levelformat/files.h"
#include "media/bltqueue.h"
#include "media/dxerrors.h"
#include "platform/api/files.h"
#include "platform/api/forms.h"
#include "platform/api/resources.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Raises what an immediate blit's failure means.
void CheckBlit(HRESULT result, const std::string& name) {
    if (SUCCEEDED(result)) {
        return;
    }
    if (result == DDERR_SURFACEBUSY) {
        throw Exception("DDERR_SURFACEBUSY");
    }
    if (result == DDERR_SURFACELOST) {
        throw XSurfaceLost();
    }
    if (result == DDERR_WASSTILLDRAWING) {
        throw Exception("DDERR_WASSTILLDRAWING");
    }
    throw XDXException(result, name);
}

// Clips one axis of a frame against the screen edge: the source shrinks by what the
// destination loses.
void ClipAxis(LONG& sourceLow, LONG& sourceHigh, LONG& destLow, LONG& destHigh, int position,
              int frameSize, int screenSize) {
    if (position < 0) {
        destLow = 0;
        sourceLow += -position;
    } else if (position > screenSize - frameSize) {
        destHigh = screenSize;
        sourceHigh -= position - (screenSize - frameSize);
    }
}

}  // namespace

TDXGraphic::TDXGraphic(DWORD bltFlags, DWORD bltFastFlags, DWORD queuedBltFlags,
                       DWORD queuedBltFastFlags)
    : BltFlags(bltFlags),
      BltFastFlags(bltFastFlags),
      QueuedBltFlags(queuedBltFlags),
      QueuedBltFastFlags(queuedBltFastFlags) {}

TDXGraphic::~TDXGraphic() {
    if (DC != nullptr && Surface != nullptr) {
        Surface->ReleaseDC(DC);
    }
    if (Surface != nullptr) {
        Surface->Release();
    }
}

void TDXGraphic::LoadFromResource(IDirectDraw2* directDraw, const std::string& resourceName,
                                  int rows, int columns, int frameWidth, int frameHeight,
                                  bool colorKey, bool masks) {
    HRSRC resource = FindResourceA(nullptr, resourceName.c_str(), RT_BITMAP);
    if (resource == nullptr) {
        throw XFileNotExist(resourceName);
    }
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
    LoadPicture(directDraw, {bytes, SizeofResource(nullptr, resource)}, platform::DecodeBmp,
                resourceName, rows, columns, frameWidth, frameHeight, colorKey, masks);
}

void TDXGraphic::LoadFromFile(IDirectDraw2* directDraw, const std::string& fileName, int rows,
                              int columns, int frameWidth, int frameHeight, bool colorKey,
                              bool masks) {
    if (!platform::FileExists(fileName)) {
        throw XFileNotExist(fileName);
    }
    std::optional<std::vector<std::uint8_t>> data;
    try {
        data = levelformat::ReadFileBytes(platform::ResolveFileName(fileName));
    } catch (const std::bad_alloc&) {
        throw XOutOfMemory(fileName);
    }
    if (!data) {
        throw XFileNotExist(fileName);
    }
    const std::string extension = Lower(fileName);
    Decoder decode = nullptr;
    if (EndsWith(extension, ".bmp")) {
        decode = platform::DecodeBmp;
    } else if (EndsWith(extension, ".jpg") || EndsWith(extension, ".jpeg") ||
               EndsWith(extension, ".jpe") || EndsWith(extension, ".jfif")) {
        decode = platform::DecodeJpeg;
    } else {
        throw XInvalidFormat(fileName);
    }
    LoadPicture(directDraw, *data, decode, fileName, rows, columns, frameWidth, frameHeight,
                colorKey, masks);
}

void TDXGraphic::LoadFromStream(IDirectDraw2* directDraw, std::span<const std::uint8_t> data,
                                const std::string& name, int rows, int columns, int frameWidth,
                                int frameHeight, bool colorKey, bool masks) {
    const bool bmp = data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
    LoadPicture(directDraw, data, bmp ? platform::DecodeBmp : platform::DecodeJpeg, name, rows,
                columns, frameWidth, frameHeight, colorKey, masks);
}

void TDXGraphic::LoadPicture(IDirectDraw2* directDraw, std::span<const std::uint8_t> data,
                             Decoder decode, const std::string& name, int rows, int columns,
                             int frameWidth, int frameHeight, bool colorKey, bool masks) {
    Rows = rows;
    Columns = columns;
    FrameWidth = frameWidth;
    FrameHeight = frameHeight;
    Width = Columns * FrameWidth;
    Height = Rows * FrameHeight;
    try {
        if (!Bitmap || Bitmap->width != Width || Bitmap->height != Height) {
            Bitmap.reset();
            Bitmap = std::make_unique<platform::Bitmap24>(Width, Height);
        }
        platform::Bitmap24 picture;
        switch (decode(data, picture)) {
            case platform::PictureResult::Ok:
                break;
            case platform::PictureResult::Invalid:
                throw XInvalidFormat(name);
            case platform::PictureResult::OutOfMemory:
                throw XOutOfMemory(name);
        }
        Bitmap->StretchDraw(picture);
    } catch (const std::bad_alloc&) {
        throw XOutOfMemory(name);
    }
    Name = name;
    BuildSurface(directDraw, colorKey, masks);
}

void TDXGraphic::BuildSurface(IDirectDraw2* directDraw, bool colorKey, bool masks) {
    CreateSurface(directDraw, Width, Height);
    CopyBitmap(directDraw);
    // Masks are built from the key colour, so they imply a key.
    keyed_ = colorKey || masks;
    if (keyed_) {
        SetColorKeyFromPixel(Surface);
    }
    if (masks) {
        BuildMasks();
    } else {
        Masks.clear();
    }
}

void TDXGraphic::CreateSurface(IDirectDraw2* directDraw, int width, int height) {
    if (Surface != nullptr) {
        DDSURFACEDESC current;
        current.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
        if (SUCCEEDED(Surface->GetSurfaceDesc(&current)) &&
            current.dwWidth == static_cast<DWORD>(width) &&
            current.dwHeight == static_cast<DWORD>(height)) {
            // The surface is reused; the frame grid may still have changed.
            BuildFrameRects();
            return;
        }
        Surface->Release();
        Surface = nullptr;
    }
    Width = width;
    Height = height;
    if (FrameWidth == 0 && FrameHeight == 0) {
        FrameWidth = width;
        FrameHeight = height;
    }
    DDSURFACEDESC desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    IDirectDrawSurface* created = nullptr;
    HRESULT result = directDraw->CreateSurface(&desc, &created, nullptr);
    if (FAILED(result)) {
        throw XDXException(result, Name);
    }
    void* queried = nullptr;
    result = created->QueryInterface(IID_IDirectDrawSurface3, &queried);
    created->Release();
    if (FAILED(result)) {
        throw XDXException(result, Name);
    }
    Surface = static_cast<IDirectDrawSurface3*>(queried);
    DDSURFACEDESC placed;
    Surface->GetSurfaceDesc(&placed);
    InVideoMemory = (placed.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY) != 0;
    BuildFrameRects();
}

void TDXGraphic::BuildFrameRects() {
    try {
        FrameRects.clear();
        if (Rows == 0 || Columns == 0) {
            FrameRects.push_back(RECT{0, 0, Width, Height});
            return;
        }
        FrameRects.resize(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(Columns));
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Columns; ++c) {
                FrameRects[r * Columns + c] = RECT{c * FrameWidth, r * FrameHeight,
                                                   (c + 1) * FrameWidth, (r + 1) * FrameHeight};
            }
        }
    } catch (const std::bad_alloc&) {
        throw XOutOfMemory(Name + " masks");
    }
}

void TDXGraphic::CopyBitmap(IDirectDraw2* directDraw) {
    const HRESULT restored = Surface->Restore();
    const bool dead = restored == DDERR_INVALIDOBJECT || restored == DDERR_WRONGMODE;
    if (dead) {
        // The surface object died with the display mode: a new one takes its place.
        Surface->Release();
        Surface = nullptr;
        CreateSurface(directDraw, Width, Height);
    } else if (FAILED(restored) && restored != DDERR_IMPLICITLYCREATED) {
        throw XDXException(restored, Name);
    }
    if (Bitmap) {
        AcquireDC();
        StretchBlt(DC, 0, 0, Width, Height, *Bitmap, 0, 0, Bitmap->width, Bitmap->height, SRCCOPY);
        ReleaseDC();
    }
    // The new surface is keyed as the old one was, from its refilled top-left pixel.
    if (dead && keyed_) {
        SetColorKeyFromPixel(Surface);
    }
}

void TDXGraphic::SetColorKeyFromPixel(IDirectDrawSurface3* surface) {
    DDSURFACEDESC desc;
    HRESULT locked = DDERR_WASSTILLDRAWING;
    while (locked == DDERR_WASSTILLDRAWING) {
        locked = surface->Lock(nullptr, &desc, 0, nullptr);
    }
    DWORD key = 0xFFFFFFFF;
    if (SUCCEEDED(locked)) {
        std::uint32_t first = 0;
        std::memcpy(&first, desc.lpSurface, sizeof first);
        const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        key = bits >= 32 ? first : first & ((DWORD{1} << bits) - 1);
        surface->Unlock(nullptr);
    }
    const DDCOLORKEY colorKey{key, key};
    surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
}

void TDXGraphic::BuildMasks() {
    const COLORREF transparent = Bitmap->Pixel(0, 0);
    try {
        Masks.assign(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(Columns), {});
    } catch (const std::bad_alloc&) {
        throw XOutOfMemory(Name + " mask creation");
    }
    const int columns = std::min(FrameWidth, 64);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            TDXMask& mask = Masks[r * Columns + c];
            try {
                mask.RowBits.assign(static_cast<std::size_t>(FrameHeight), 0);
            } catch (const std::bad_alloc&) {
                throw XOutOfMemory(Name + " mask creation");
            }
            mask.RowCount = FrameHeight;
            const int x0 = c * FrameWidth;
            const int y0 = r * FrameHeight;
            for (int y = 0; y < FrameHeight; ++y) {
                std::uint64_t word = 0;
                for (int x = 0; x < columns; ++x) {
                    if (Bitmap->Pixel(x0 + x, y0 + y) != transparent) {
                        word |= std::uint64_t{1} << (63 - x);
                    }
                }
                mask.RowBits[y] = word;
            }
        }
    }
}

bool TDXGraphic::ClipFrame(int frame, int x, int y, RECT& source, RECT& dest) const {
    // A frame wholly off the screen is not drawn; its position may lie anywhere a level set it.
    if (frame < 0 || static_cast<std::size_t>(frame) >= FrameRects.size() || x >= kScreenWidth ||
        y >= kScreenHeight || x <= -FrameWidth || y <= -FrameHeight) {
        return false;
    }
    source = FrameRects[frame];
    dest = RECT{x, y, x + FrameWidth, y + FrameHeight};
    ClipAxis(source.left, source.right, dest.left, dest.right, x, FrameWidth, kScreenWidth);
    ClipAxis(source.top, source.bottom, dest.top, dest.bottom, y, FrameHeight, kScreenHeight);
    return source.right > source.left && source.bottom > source.top;
}

void TDXGraphic::DrawFrame(IDirectDrawSurface3* destination, int frame, int x, int y) {
    RECT source;
    RECT dest;
    if (!ClipFrame(frame, x, y, source, dest)) {
        return;
    }
    CheckBlit(InVideoMemory ? destination->BltFast(static_cast<DWORD>(dest.left),
                                                   static_cast<DWORD>(dest.top), Surface, &source,
                                                   BltFastFlags)
                            : destination->Blt(&dest, Surface, &source, BltFlags, nullptr),
              Name);
}

void TDXGraphic::QueueFrame(BltQueue& queue, int frame, int x, int y) {
    RECT source;
    RECT dest;
    if (ClipFrame(frame, x, y, source, dest)) {
        queue.Add(source, dest, QueuedBltFastFlags, QueuedBltFlags, Surface,
                  InVideoMemory ? BltQueue::kBltFast : BltQueue::kBlt);
    }
}

void TDXGraphic::Clear() {
    DDBLTFX fx;
    fx.dwFillColor = 0;
    Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

bool TDXGraphic::MasksCollide(const TDXMask& a, const TDXMask& b, const RECT& rectA,
                              const RECT& rectB) {
    if (a.RowBits.empty() || b.RowBits.empty()) {
        return true;
    }
    const LONG top = std::max(rectA.top, rectB.top);
    // The bottoms are the last rows, and the comparison stops before them; the mask sizes only
    // guard against rectangles taller than their masks.
    const LONG bottom =
        std::min({rectA.bottom, rectB.bottom, rectA.top + a.RowCount, rectB.top + b.RowCount});
    const LONG left = std::max(rectA.left, rectB.left);
    const LONG shiftA = left - rectB.left;
    const LONG shiftB = left - rectA.left;
    for (LONG row = top; row < bottom; ++row) {
        const std::uint64_t bitsA = shiftA >= 64 ? 0 : a.RowBits[row - rectA.top] >> shiftA;
        const std::uint64_t bitsB = shiftB >= 64 ? 0 : b.RowBits[row - rectB.top] >> shiftB;
        if ((bitsA & bitsB) != 0) {
            return true;
        }
    }
    return false;
}

HDC TDXGraphic::AcquireDC() {
    const HRESULT result = Surface->GetDC(&DC);
    if (SUCCEEDED(result) || result == DDERR_DCALREADYCREATED) {
        return DC;
    }
    if (result == DDERR_SURFACELOST) {
        throw XSurfaceLost();
    }
    throw XDXException(result, Name);
}

void TDXGraphic::ReleaseDC() {
    const HRESULT result = Surface->ReleaseDC(DC);
    DC = nullptr;
    if (result == DDERR_SURFACELOST) {
        throw XSurfaceLost();
    }
    if (FAILED(result)) {
        throw XDXException(result, Name);
    }
}

void TDXGraphic::DrawText(int x, int y, const char* text) {
    const bool acquired = DC == nullptr;
    if (acquired) {
        AcquireDC();
    }
    TextOutA(DC, x, y, text, static_cast<int>(std::strlen(text)));
    if (acquired) {
        ReleaseDC();
    }
}

HFONT CreateScreenFont(HDC dc, const char* face, int pointSize, int weight) {
    const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    LOGFONTA logfont;
    logfont.lfHeight = static_cast<LONG>(-(pointSize * pixelsPerInch * (1.0 / 72)));
    logfont.lfWeight = weight;
    logfont.lfCharSet = DEFAULT_CHARSET;
    logfont.lfQuality = PROOF_QUALITY;
    std::strncpy(logfont.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&logfont);
}

std::string FitText(HDC dc, const std::string& text, int width, bool keepEnd) {
    const auto fits = [&](const std::string& candidate) {
        SIZE size;
        return GetTextExtentPoint32A(dc, candidate.c_str(), static_cast<int>(candidate.size()),
                                     &size) == FALSE ||
               size.cx <= width;
    };
    const auto cut = [&](std::size_t kept) {
        return keepEnd ? "..." + text.substr(text.size() - kept) : text.substr(0, kept) + "...";
    };
    if (fits(text)) {
        return text;
    }
    // The most characters that fit beside the dots.
    std::size_t low = 0;
    std::size_t high = text.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(cut(middle))) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return cut(low);
}

std::unique_ptr<TDXGraphic> TransparentGraphic() {
    return std::make_unique<TDXGraphic>(DDBLT_WAIT | DDBLT_KEYSRC,
                                        DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY,
                                        DDBLT_KEYSRC | DDBLT_ASYNC, DDBLTFAST_SRCCOLORKEY);
}

std::unique_ptr<TDXGraphic> OpaqueGraphic() {
    return std::make_unique<TDXGraphic>(DDBLT_WAIT, DDBLTFAST_WAIT, DDBLT_ASYNC,
                                        DDBLTFAST_NOCOLORKEY);
}
