// GDI's device-context state, stock objects, brushes and framed rectangles.
#include "platform/api/gdi.h"

#include <algorithm>
#include <utility>

#include "platform/api/gdi_objects.h"
#include "platform/sdl/surface_state.h"

namespace {

GdiObject g_whiteBrush{GdiObject::Kind::Brush, true, RGB(255, 255, 255), {}, nullptr};
GdiObject g_systemFont{GdiObject::Kind::Font, true, 0, {}, nullptr};

void FillSpan(SDL_Surface* pixels, int left, int top, int right, int bottom, std::uint16_t color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, pixels->w);
    bottom = std::min(bottom, pixels->h);
    if (left < right && top < bottom) {
        SDL_Rect area{left, top, right - left, bottom - top};
        SDL_FillRect(pixels, &area, color);
    }
}

}  // namespace

int GetDeviceCaps(HDC, int index) {
    return index == LOGPIXELSY ? 96 : 0;
}

HGDIOBJ GetStockObject(int object) {
    switch (object) {
        case WHITE_BRUSH:
            return &g_whiteBrush;
        case SYSTEM_FONT:
            return &g_systemFont;
        default:
            return nullptr;
    }
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto* brush = new GdiObject;
    brush->color = color;
    return brush;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (dc == nullptr || object == nullptr || object->kind != GdiObject::Kind::Font) {
        return nullptr;
    }
    HGDIOBJ previous = dc->font != nullptr ? dc->font : &g_systemFont;
    dc->font = object == &g_systemFont ? nullptr : object;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return std::exchange(dc->textColor, color);
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    return std::exchange(dc->backColor, color);
}
int SetBkMode(HDC dc, int mode) {
    return std::exchange(dc->backMode, mode);
}
UINT SetTextAlign(HDC dc, UINT align) {
    return std::exchange(dc->textAlign, align);
}

namespace {

bool CanPaint(HDC dc, const RECT* rect, HBRUSH brush) {
    return dc != nullptr && rect != nullptr && brush != nullptr && dc->surface != nullptr &&
           rect->right > rect->left && rect->bottom > rect->top;
}

}  // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!CanPaint(dc, rect, brush)) {
        return 0;
    }
    FillSpan(dc->surface->State().pixels, rect->left, rect->top, rect->right, rect->bottom,
             platform::ToRgb565(brush->color));
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!CanPaint(dc, rect, brush)) {
        return 0;
    }
    SDL_Surface* pixels = dc->surface->State().pixels;
    const std::uint16_t color = platform::ToRgb565(brush->color);
    const RECT& r = *rect;
    FillSpan(pixels, r.left, r.top, r.right, r.top + 1, color);
    FillSpan(pixels, r.left, r.bottom - 1, r.right, r.bottom, color);
    FillSpan(pixels, r.left, r.top, r.left + 1, r.bottom, color);
    FillSpan(pixels, r.right - 1, r.top, r.right, r.bottom, color);
    return 1;
}
