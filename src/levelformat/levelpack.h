// The level pack: reading "ZNK1" packs (their level records and where each picture lies, or
// the whole pack with its pictures' bytes) and writing them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "levelformat/records.h"

namespace levelformat {

using Bytes = std::vector<std::uint8_t>;

// Where a pack's bytes come from: a pack in memory, or a file read piece by piece.
class PackSource {
  public:
    virtual ~PackSource() = default;
    // The pack's length in bytes; negative when it cannot be told.
    virtual std::int64_t Length() = 0;
    // Fills `into` with the bytes from `offset` on; false when the pack ends before it is full.
    virtual bool Read(std::int64_t offset, std::span<std::uint8_t> into) = 0;
};

// The bytes of a pack held in memory, borrowed for as long as the source is used.
class MemoryPackSource : public PackSource {
  public:
    explicit MemoryPackSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::int64_t Length() override;
    bool Read(std::int64_t offset, std::span<std::uint8_t> into) override;

  private:
    std::span<const std::uint8_t> bytes_;
};

// What a game reads of a pack when it begins: the level records (without picture names), the
// trailer, and the directory of the pictures, each inside the pack.
struct PackDirectory {
    TZNLevelList Levels;
    TZNEntryList Pictures;
    std::int32_t FirstPictureOffset = 0;
    std::int32_t PictureCount = 0;
    std::array<char, 4> PictureMagic{};
};

// Reads the level blocks from the front and the trailer and picture directory from the back.
// A pack that ends early, or whose magic, level or gull count is wrong, fails with "Level pack "
// + name + " corrupted. Aborting."; one whose trailer or directory is wrong or points outside the
// pack fails with "Level picture data in " + name + " corrupted. Aborting.". After a failure the
// result holds the levels and the trailer read before it, and the directory only when it is
// whole.
ReadResult<PackDirectory> ReadPackDirectory(PackSource& source, const std::string& name);

// The message of a pack whose trailer, directory or picture data is wrong: "Level picture data
// in " + name + " corrupted. Aborting.".
std::string PictureDataCorrupted(const std::string& name);

// A whole pack: its levels and one JPEG file's bytes per level, in level order.
struct LevelPack {
    TZNLevelList Levels;
    std::vector<Bytes> Pictures;

    bool operator==(const LevelPack&) const = default;
};

// Reads a pack in memory with ReadPackDirectory's rules and messages, and copies out each
// level's picture.
ReadResult<LevelPack> ReadPack(std::span<const std::uint8_t> bytes, const std::string& name);

// The bytes of the pack: magic and level count, each level block with its gulls (the count
// written is the number of gull records), the pictures back to back straight after, the
// directory (each entry's unread fields hold its index and the picture's offset) and the
// trailer. Throws std::invalid_argument unless there is exactly one picture per level.
Bytes WritePack(const LevelPack& pack);

}  // namespace levelformat
