// Fuzz target: the editor's file handling. Any bytes opened as a level file (or, built with
// ZINTREL_FUZZ_PACK, as a level pack) are refused with the reader's message, or give levels
// that the editor saves and opens again as the very same levels.
#include <cstdio>
#include <cstdlib>

#include "editor/editfile.h"
#include "fuzz_file.h"

namespace {

#ifdef ZINTREL_FUZZ_PACK
constexpr bool kPack = true;
#else
constexpr bool kPack = false;
#endif

bool Same(const editor::EditedLevels& a, const editor::EditedLevels& b) {
    if (a.size() != b.size() || editor::ToLevelList(a) != editor::ToLevelList(b)) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool pictures = a[i].Picture && b[i].Picture;
        if (pictures ? *a[i].Picture != *b[i].Picture : a[i].Picture != b[i].Picture) {
            return false;
        }
    }
    return true;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzFile file(data, size, kPack ? ".znk" : ".znl");
    const editor::EditFile edit{file.Name(), kPack};
    const editor::OpenedFile opened = editor::OpenLevels(edit, "");
    if (!opened.Error.empty()) {
        return 0;
    }
    if (opened.Created) {
        Fail("a file that is there was opened as a new one");
    }
    // A save the editor refuses says why on screen (a pack's level without its picture).
    if (!editor::SaveLevels(edit, opened.Levels).empty()) {
        return 0;
    }
    const editor::OpenedFile again = editor::OpenLevels(edit, "");
    if (!again.Error.empty()) {
        Fail(("the saved file is refused: " + again.Error).c_str());
    }
    if (!Same(opened.Levels, again.Levels)) {
        Fail("the saved file opens as other levels");
    }
    return 0;
}
