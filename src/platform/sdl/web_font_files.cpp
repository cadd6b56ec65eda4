// Font faces in the browser: the page ships Liberation Sans, regular and bold, and every face the
// game names resolves to it, as fontconfig resolves "Arial" on the desktop. There is no slanted
// face: the game draws none.
#include "platform/sdl/font_files.h"

namespace platform {

const FaceFile* FindFace(const char*, bool bold, bool) {
    static const FaceFile faces[] = {{"/zintrel/fonts/LiberationSans-Regular.ttf"},
                                     {"/zintrel/fonts/LiberationSans-Bold.ttf"}};
    return &faces[bold ? 1 : 0];
}

}  // namespace platform
