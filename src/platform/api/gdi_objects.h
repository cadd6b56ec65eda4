// What GDI handles point at: brushes and fonts. Internal to the platform layer.
#pragma once

#include "platform/api/gdi.h"

struct _TTF_Font;

struct GdiObject {
    enum class Kind { Brush, Font };
    Kind kind = Kind::Brush;
    bool stock = false;         // stock objects are never deleted
    COLORREF color = 0;         // brushes
    LOGFONTA logfont;           // fonts: as requested
    _TTF_Font* face = nullptr;  // fonts: the opened face, owned
};

namespace platform {

constexpr std::uint16_t ToRgb565(COLORREF color) {
    return static_cast<std::uint16_t>(((GetRValue(color) >> 3) << 11) |
                                      ((GetGValue(color) >> 2) << 5) | (GetBValue(color) >> 3));
}

}  // namespace platform
