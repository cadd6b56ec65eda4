// The shipped levels: a 25-level pack and a 10-level level file, designed to grow steadily.
#pragma once

#include <filesystem>

#include "levelformat/records.h"

namespace bake {

inline constexpr const char* kPackLevelFile = "GullCoast.znl";  // packed into GullCoast.znk
inline constexpr const char* kLevelFile = "Harbour.znl";

TZNLevelList PackLevels();
TZNLevelList FileLevels();

// Writes the pack's level file (naming the pack pictures beside it) into `packFolder` and the
// shipped level file into `gameFolder`.
void WriteLevelFiles(const std::filesystem::path& packFolder,
                     const std::filesystem::path& gameFolder);

}  // namespace bake
