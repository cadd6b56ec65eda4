// Message boxes: always on standard error, and as a dialog when one can be shown.
#include "platform/msgbox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/display.h"
#include "platform/services.h"

int MessageBoxA(HWND, const char* text, const char* caption, UINT) {
    auto& sys = platform::System();
    const char* body = text != nullptr ? text : "";
    const char* title = caption != nullptr ? caption : "";
    sys.shownBoxes.push_back({title, body});
    std::fprintf(stderr, "%s: %s\n", title, body);
    const char* quiet = std::getenv("ZINTREL_NO_DIALOGS");
    if (sys.dialogs && !(quiet != nullptr && std::strcmp(quiet, "1") == 0)) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, body,
                                 platform::Display::Get().Window());
    }
    return 1;  // IDOK
}
