// The mouse cursor: hidden and shown by count, confined to a rectangle, read in screen pixels.
#pragma once

#include "platform/api/wintypes.h"

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
// Whether the screen takes typed text (a name): a game controller's Start then enters the text,
// where elsewhere it pauses.
void SetTextEntry(bool taking);
// Whether the player's last button or key was a game controller's, so that a prompt names the
// controller's button rather than the keyboard's key.
bool PadInUse();
// Moves the virtual cursor by relative motion, kept inside the clip rectangle.
void MoveCursor(int dx, int dy);
}  // namespace platform
