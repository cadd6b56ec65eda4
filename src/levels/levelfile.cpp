// ReadLevelFile: a level file from the game's folders, read by the level format's text reader.
#include <cstdio>
#include <string>

#include "levelformat/leveltext.h"
#include "levels/levelset.h"
#include "levels/scopedfile.h"
#include "platform/api/forms.h"

void ReadLevelFile(const TZNLevelSet& set, const std::string& fileName) {
    const ScopedFile file = OpenForReading(fileName);
    if (!file) {
        throw Exception("Unable to open level file");
    }
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
        text.append(buffer, got);
    }
    const levelformat::ReadResult<TZNLevelList> result = levelformat::ReadLevelText(text, fileName);
    set.Levels = result.Value;
    if (!result.Ok()) {
        throw Exception(result.Error);
    }
    set.PackLoaded = false;
}
