// The virtual cursor: hidden while the game runs, moved by relative motion, confined.
#include "platform/cursor.h"

#include <algorithm>

#include "platform/display.h"
#include "platform/services.h"
#include "platform/session.h"

int ShowCursor(BOOL show) {
    auto& sys = platform::System();
    sys.cursorCount += show ? 1 : -1;
    platform::Display::Get().UpdateGrab();
    return sys.cursorCount;
}

BOOL ClipCursor(const RECT* rect) {
    auto& sys = platform::System();
    if (sys.failClipCursor) {
        return FALSE;
    }
    sys.clipped = rect != nullptr;
    sys.clip = rect != nullptr ? *rect : RECT{0, 0, 640, 480};
    sys.cursor.x = std::clamp<LONG>(sys.cursor.x, sys.clip.left, sys.clip.right - 1);
    sys.cursor.y = std::clamp<LONG>(sys.cursor.y, sys.clip.top, sys.clip.bottom - 1);
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr || platform::System().Take(platform::Fault::CursorPosition)) {
        return FALSE;
    }
    *point = platform::SessionCursor(platform::System().cursor);
    return TRUE;
}

void platform::SetGameInPlay(bool inPlay) {
    Display::Get().SetGameInPlay(inPlay);
}
