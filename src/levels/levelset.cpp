// The level set: finding the level files and packs, and choosing the reader by extension.
#include "levels/levelset.h"

#include <algorithm>
#include <cctype>

#include "platform/api/files.h"
#include "platform/api/forms.h"

std::vector<std::string> FindLevelFiles() {
    return platform::FindFiles("*.zn?");
}

bool IsLevelPackName(const std::string& name) {
    const std::size_t directory = name.find_last_of("\\:");
    const std::size_t start = directory == std::string::npos ? 0 : directory + 1;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < start) {
        return false;
    }
    std::string extension = name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".ZNK";
}

void ReadLevelSet(const TZNLevelSet& set, const std::string& fileName) {
    if (IsLevelPackName(fileName)) {
        ReadLevelPack(set, fileName);
    } else {
        ReadLevelFile(set, fileName);
    }
    if (set.Levels.Count == 0) {
        throw Exception("No levels in " + fileName);
    }
}
