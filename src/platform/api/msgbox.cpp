// Message boxes, shown by the window system.
#include "platform/api/msgbox.h"

#include "platform/api/services.h"

int MessageBoxA(HWND, const char* text, const char* caption, UINT) {
    platform::System().windows->ShowMessage(caption != nullptr ? caption : "",
                                            text != nullptr ? text : "");
    return 1;  // IDOK
}
