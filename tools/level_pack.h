// The level pack: "ZNK1", level and gull records, JPEG pictures, picture directory, trailer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "level_records.h"

namespace znpack {

using Bytes = std::vector<std::uint8_t>;

// A pack in memory: the levels (picture names unused) and one JPEG file per level.
struct LevelPack {
    std::vector<LevelRecord> Levels;
    std::vector<Bytes> Pictures;
};

// The pack's bytes. The directory's first and last fields hold the entry's index and the
// picture's absolute offset. Needs exactly one picture per level.
Bytes EncodePack(const LevelPack& pack);

// Parses pack bytes, checking every count, size and offset against the real length; `name`
// goes into the error messages.
LevelPack DecodePack(const Bytes& bytes, const std::string& name);

Bytes ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

// Builds a pack from a level file and the pictures it names, found beside the level file.
void PackLevelFile(const std::filesystem::path& levelFile, const std::filesystem::path& packFile);

// Writes a pack's levels as a level file and its pictures beside it, named after the level
// file's stem and the level number ("stem01.jpg", ...).
void UnpackToLevelFile(const std::filesystem::path& packFile,
                       const std::filesystem::path& levelFile);

}  // namespace znpack
