// Debugger output goes to standard error when ZINTREL_DEBUG is set, and nowhere otherwise.
#include "platform/api/debug.h"

#include <cstdio>
#include <cstdlib>

void OutputDebugStringA(const char* text) {
    if (std::getenv("ZINTREL_DEBUG") != nullptr && text != nullptr) {
        std::fprintf(stderr, "%s\n", text);
    }
}
