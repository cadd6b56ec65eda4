// The virtual cursor: hidden while the game runs, moved by relative motion, confined.
#include "platform/api/cursor.h"

#include <algorithm>

#include "platform/api/services.h"
#include "platform/session/session.h"

int ShowCursor(BOOL show) {
    auto& sys = platform::System();
    sys.cursorCount += show ? 1 : -1;
    sys.windows->CursorShown(sys.cursorCount >= 0);
    return sys.cursorCount;
}

BOOL ClipCursor(const RECT* rect) {
    auto& sys = platform::System();
    if (sys.Fails(platform::Fault::ClipCursor)) {
        return FALSE;
    }
    sys.clipped = rect != nullptr;
    sys.clip = rect != nullptr ? *rect : RECT{0, 0, 640, 480};
    sys.cursor.x = std::clamp<LONG>(sys.cursor.x, sys.clip.left, sys.clip.right - 1);
    sys.cursor.y = std::clamp<LONG>(sys.cursor.y, sys.clip.top, sys.clip.bottom - 1);
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr || platform::System().Fails(platform::Fault::CursorPosition)) {
        return FALSE;
    }
    *point = platform::SessionCursor(platform::System().cursor);
    return TRUE;
}

void platform::SetGameInPlay(bool inPlay) {
    System().gameInPlay = inPlay;
    System().windows->SetGameInPlay(inPlay);
}

void platform::SetTextEntry(bool taking) {
    System().textEntry = taking;
}

bool platform::PadInUse() {
    return System().padInput;
}

void platform::MoveCursor(int dx, int dy) {
    Services& sys = System();
    sys.cursor.x = std::clamp<LONG>(sys.cursor.x + dx, sys.clip.left, sys.clip.right - 1);
    sys.cursor.y = std::clamp<LONG>(sys.cursor.y + dy, sys.clip.top, sys.clip.bottom - 1);
}
