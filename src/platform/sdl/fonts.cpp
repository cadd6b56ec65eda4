// GDI fonts and text: faces found by font_files.h, glyphs drawn by SDL2_ttf and blended onto a
// surface's RGB565 pixels.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <string>

#include "platform/api/gdi.h"
#include "platform/api/gdi_objects.h"
#include "platform/sdl/font_files.h"
#include "platform/sdl/surface_state.h"

namespace {

// The cell height of a LOGFONT asking for height 0, and of the stock system font.
constexpr int kDefaultCellHeight = 16;

// Opens the face at the size the LOGFONT asks for: a negative height is the character (em)
// height in pixels, a positive one the cell height (ascent plus descent).
TTF_Font* OpenFace(const LOGFONTA& logfont) {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        return nullptr;
    }
    const platform::FaceFile* file =
        platform::FindFace(logfont.lfFaceName[0] != '\0' ? logfont.lfFaceName : "sans",
                           logfont.lfWeight >= 600, logfont.lfItalic != 0);
    if (file == nullptr) {
        return nullptr;
    }
    const int cell = logfont.lfHeight == 0 ? kDefaultCellHeight : logfont.lfHeight;
    const int em = cell < 0 ? -cell : cell;
    TTF_Font* face = TTF_OpenFontIndex(file->path.c_str(), em, file->index);
    if (face != nullptr && cell > 0) {
        const int measured = TTF_FontHeight(face);
        if (measured > 0 && measured != cell) {
            TTF_SetFontSize(face, std::max(1, (cell * em + measured / 2) / measured));
        }
    }
    return face;
}

TTF_Font* SystemFace() {
    static TTF_Font* face = [] {
        LOGFONTA logfont;
        logfont.lfHeight = kDefaultCellHeight;
        logfont.lfWeight = 700;
        return OpenFace(logfont);
    }();
    return face;
}

std::uint8_t Expand5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}
std::uint8_t Expand6(unsigned v) {
    return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}
unsigned Mix(unsigned over, unsigned under, unsigned alpha) {
    return (over * alpha + under * (255 - alpha) + 127) / 255;
}

// Lays the anti-aliased glyph coverage onto the pixels in the text colour. Fully covered pixels
// take the text colour exactly; partly covered ones mix with whatever lies beneath.
void BlendGlyphs(SDL_Surface* target, const SDL_Surface* glyphs, int left, int top,
                 COLORREF color) {
    const std::uint16_t solid = platform::ToRgb565(color);
    for (int row = 0; row < glyphs->h; ++row) {
        const int y = top + row;
        if (y < 0 || y >= target->h) {
            continue;
        }
        const auto* coverage = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(glyphs->pixels) + row * glyphs->pitch);
        auto* out = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(target->pixels) +
                                                     y * target->pitch);
        for (int column = 0; column < glyphs->w; ++column) {
            const int x = left + column;
            const unsigned alpha = coverage[column] >> 24;
            if (x < 0 || x >= target->w || alpha == 0) {
                continue;
            }
            if (alpha == 255) {
                out[x] = solid;
                continue;
            }
            const std::uint16_t under = out[x];
            const unsigned r = Mix(GetRValue(color), Expand5(under >> 11), alpha);
            const unsigned g = Mix(GetGValue(color), Expand6((under >> 5) & 0x3F), alpha);
            const unsigned b = Mix(GetBValue(color), Expand5(under & 0x1F), alpha);
            out[x] = static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        }
    }
}

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* logfont) {
    if (logfont == nullptr) {
        return nullptr;
    }
    TTF_Font* face = OpenFace(*logfont);
    if (face == nullptr) {
        return nullptr;
    }
    auto* font = new GdiObject;
    font->kind = GdiObject::Kind::Font;
    font->logfont = *logfont;
    font->face = face;
    return font;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (object == nullptr || object->stock) {
        return FALSE;
    }
    if (object->face != nullptr) {
        TTF_CloseFont(object->face);
    }
    delete object;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size) {
    if (dc == nullptr || text == nullptr || length < 0 || size == nullptr) {
        return FALSE;
    }
    TTF_Font* face = dc->font != nullptr ? dc->font->face : SystemFace();
    int width = 0;
    int height = 0;
    if (face == nullptr ||
        TTF_SizeText(face, std::string(text, static_cast<std::size_t>(length)).c_str(), &width,
                     &height) != 0) {
        return FALSE;
    }
    *size = SIZE{width, height};
    return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
    if (dc == nullptr || dc->surface == nullptr || text == nullptr || length < 0) {
        return FALSE;
    }
    TTF_Font* face = dc->font != nullptr ? dc->font->face : SystemFace();
    const std::string line(text, static_cast<std::size_t>(length));
    if (face == nullptr || line.empty()) {
        return face != nullptr ? TRUE : FALSE;
    }
    int width = 0;
    int height = 0;
    if (TTF_SizeText(face, line.c_str(), &width, &height) != 0) {
        return FALSE;
    }
    // x names the left edge, the right edge or the centre; y is always the top of the cell.
    int left = x;
    if ((dc->textAlign & TA_CENTER) == TA_CENTER) {
        left = x - width / 2;
    } else if ((dc->textAlign & TA_RIGHT) == TA_RIGHT) {
        left = x - width;
    }
    SDL_Surface* target = dc->surface->State().pixels;
    if (dc->backMode == OPAQUE) {
        SDL_Rect cell{left, y, width, height};
        SDL_FillRect(target, &cell, platform::ToRgb565(dc->backColor));
    }
    const SDL_Color ink{GetRValue(dc->textColor), GetGValue(dc->textColor),
                        GetBValue(dc->textColor), 255};
    SDL_Surface* glyphs = TTF_RenderText_Blended(face, line.c_str(), ink);
    if (glyphs == nullptr) {
        return FALSE;
    }
    BlendGlyphs(target, glyphs, left, y, dc->textColor);
    SDL_FreeSurface(glyphs);
    return TRUE;
}
