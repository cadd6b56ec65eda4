// The mouse cursor: hidden and shown by count, confined to a rectangle, read in screen pixels.
#pragma once

#include "platform/wintypes.h"

// Returns the new display count; the cursor shows while the count is 0 or more.
int ShowCursor(BOOL show);
// Confines the cursor to the rectangle (right and bottom exclusive); null releases it.
BOOL ClipCursor(const RECT* rect);
BOOL GetCursorPos(POINT* point);

namespace platform {
// Whether a game is being played. In a window, the mouse is held by the game only then (and
// while the window has the focus); on the screens outside play the desktop's pointer is free
// and shown over the window. Full screen, the hidden cursor is held throughout.
void SetGameInPlay(bool inPlay);
}  // namespace platform
