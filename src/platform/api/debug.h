// Debugger output: diagnostic text the player never sees.
#pragma once

void OutputDebugStringA(const char* text);
