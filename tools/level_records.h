// Level records and the text level file: reading and writing "Zintrel Level File Version 1.0".
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace znpack {

// One gull of a level, in the field order of a "Gull=" line and of a pack's gull record.
struct GullRecord {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t DX = 0;
    std::int32_t DY = 0;
    std::int32_t AGull = 0;
    std::int32_t MinY = 0;
    std::int32_t MaxY = 0;

    bool operator==(const GullRecord&) const = default;
};

// One level: its limits, its picture (level files only) and its gulls.
struct LevelRecord {
    std::int32_t MaxBombs = 1;
    std::int32_t BazzleVisits = 3;
    std::int32_t EggCount = 3;
    std::int32_t GullCount = 0;
    std::string PictureName;
    std::vector<GullRecord> Gulls;

    bool operator==(const LevelRecord&) const = default;
};

// Every failure of reading or writing levels and packs; the message is meant for the user.
struct LevelError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kLevelFileHeader = "Zintrel Level File Version 1.0";

// Reads a level file the way the game does: exact header, "Level=" and "Gull=" lines, a gull
// field the line does not reach keeps the previous gull line's value.
std::vector<LevelRecord> ReadLevelFile(const std::filesystem::path& path);

// Writes levels as a level file; GullCount is written as the number of gulls.
void WriteLevelFile(const std::filesystem::path& path, const std::vector<LevelRecord>& levels);

}  // namespace znpack
