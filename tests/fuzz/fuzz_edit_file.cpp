// Fuzz target: the editor's file handling. Any bytes opened as a level file (or, built with
// ZINTREL_FUZZ_PACK, as a level pack) are refused with the reader's message, or give levels
// that the editor saves and opens again as the very same levels.
#include "editor/editfile.h"
#include "fuzz_file.h"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzFile file(data, size, kFuzzLevelExtension);
    const editor::EditFile edit{file.Name(), kFuzzPack};
    const editor::OpenedFile opened = editor::OpenLevels(edit, "");
    if (!opened.Error.empty()) {
        return 0;
    }
    if (opened.Created) {
        FuzzFault("a file that is there was opened as a new one");
    }
    // A save the editor refuses says why on screen (a pack's level without its picture).
    if (!editor::SaveLevels(edit, opened.Levels).empty()) {
        return 0;
    }
    const editor::OpenedFile again = editor::OpenLevels(edit, "");
    if (!again.Error.empty()) {
        FuzzFault("the saved file is refused: " + again.Error);
    }
    if (!Same(opened.Levels, again.Levels)) {
        FuzzFault("the saved file opens as other levels");
    }
    return 0;
}
