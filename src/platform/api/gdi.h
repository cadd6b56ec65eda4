// GDI on a surface: device contexts, fonts, text and framed rectangles.
#pragma once

#include "platform/api/ddraw.h"
#include "platform/api/wintypes.h"

inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE PROOF_QUALITY = 2;
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// A GDI object: a font or a solid brush.
struct GdiObject;
using HGDIOBJ = GdiObject*;
using HFONT = GdiObject*;
using HBRUSH = GdiObject*;

// A drawing context on one surface, handed out by IDirectDrawSurface3::GetDC.
struct DeviceContext {
    IDirectDrawSurface3* surface = nullptr;
    COLORREF textColor = 0;
    COLORREF backColor = RGB(255, 255, 255);
    int backMode = OPAQUE;
    UINT textAlign = TA_LEFT;
    HFONT font = nullptr;  // null: the stock system font
};

int GetDeviceCaps(HDC dc, int index);
HGDIOBJ GetStockObject(int object);
HFONT CreateFontIndirectA(const LOGFONTA* font);
HBRUSH CreateSolidBrush(COLORREF color);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
UINT SetTextAlign(HDC dc, UINT align);
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);
// The width and height of the text in the context's font.
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
// Fills the rectangle (right and bottom exclusive) with the brush.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
