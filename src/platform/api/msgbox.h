// Message boxes: a dialog for the player and the same text on standard error for the log.
#pragma once

#include "platform/api/wintypes.h"

int MessageBoxA(HWND window, const char* text, const char* caption, UINT type);
