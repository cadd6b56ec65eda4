// ReadPackDirectory, ReadPack and WritePack: the pack's level blocks, pictures, directory and
// trailer, every count and offset checked against the pack's length.
#include "levelformat/levelpack.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace levelformat {
namespace {

constexpr char kMagic[4] = {'Z', 'N', 'K', '1'};
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kLevelBlockSize = 16;
constexpr std::size_t kGullRecordSize = 28;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kTrailerSize = 12;

std::int32_t Int32At(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

void PutInt32(Bytes& bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
}

void PutMagic(Bytes& bytes) {
    for (const char c : kMagic) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
}

// Reads the pack's front part in order, block after block.
class FrontReader {
  public:
    explicit FrontReader(PackSource& source) : source_(source) {}

    // False when the pack ends before the block is full.
    bool Next(std::span<std::uint8_t> block) {
        const bool whole = source_.Read(position_, block);
        position_ += static_cast<std::int64_t>(block.size());
        return whole;
    }

  private:
    PackSource& source_;
    std::int64_t position_ = 0;
};

// The front: magic, level count, and each level block with its gull records. The records are
// made one by one as their bytes arrive, so a count larger than the pack ends at the first short
// read instead of reserving memory for it. False when the pack is corrupt there.
bool ReadLevels(PackSource& source, TZNLevelList& levels) {
    FrontReader front(source);
    std::uint8_t header[kHeaderSize];
    if (!front.Next(header) || std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        return false;
    }
    const std::int32_t levelCount = Int32At(header + 4);
    for (std::int32_t i = 0; i < levelCount; ++i) {
        std::uint8_t block[kLevelBlockSize];
        if (!front.Next(block)) {
            return false;
        }
        TZNLevelWrapper level;
        level.MaxBombs = Int32At(block);
        level.BazzleVisits = Int32At(block + 4);
        level.EggCount = Int32At(block + 8);
        level.GullCount = Int32At(block + 12);
        levels.Add(level);
        TZNGullList& gulls = levels.Items(i).GullRecords;
        for (std::int32_t j = 0; j < level.GullCount; ++j) {
            std::uint8_t record[kGullRecordSize];
            if (!front.Next(record)) {
                return false;
            }
            gulls.Add(TZNGull{Int32At(record), Int32At(record + 4), Int32At(record + 8),
                              Int32At(record + 12), Int32At(record + 16), Int32At(record + 20),
                              Int32At(record + 24)});
        }
    }
    return true;
}

// The back: the trailer, then the directory before it. Each picture must lie inside the pack:
// its size is what a level start allocates. False when the pack is corrupt there.
bool ReadPictures(PackSource& source, PackDirectory& pack) {
    const std::int64_t length = source.Length();
    std::uint8_t trailer[kTrailerSize];
    if (length < static_cast<std::int64_t>(kTrailerSize) ||
        !source.Read(length - static_cast<std::int64_t>(kTrailerSize), trailer)) {
        return false;
    }
    pack.FirstPictureOffset = Int32At(trailer);
    pack.PictureCount = Int32At(trailer + 4);
    std::memcpy(pack.PictureMagic.data(), trailer + 8, sizeof kMagic);
    if (std::memcmp(pack.PictureMagic.data(), kMagic, sizeof kMagic) != 0 ||
        pack.PictureCount != pack.Levels.Count) {
        return false;
    }
    const std::int64_t directoryStart =
        length - static_cast<std::int64_t>(kTrailerSize + kEntrySize * pack.PictureCount);
    TZNEntryList pictures;
    std::int64_t offset = pack.FirstPictureOffset;
    for (std::int32_t k = 0; k < pack.PictureCount; ++k) {
        std::uint8_t entry[kEntrySize];
        if (!source.Read(directoryStart + static_cast<std::int64_t>(kEntrySize) * k, entry)) {
            return false;
        }
        const std::int32_t size = Int32At(entry + 4);
        if (offset < 0 || size < 0 || offset + size > length) {
            return false;
        }
        pictures.Add(TZNPicEntry{pictures.Count, size, static_cast<std::int32_t>(offset)});
        offset += size;
    }
    pack.Pictures = pictures;
    return true;
}

}  // namespace

std::int64_t MemoryPackSource::Length() {
    return static_cast<std::int64_t>(bytes_.size());
}

bool MemoryPackSource::Read(std::int64_t offset, std::span<std::uint8_t> into) {
    if (offset < 0 || offset > Length() ||
        static_cast<std::int64_t>(into.size()) > Length() - offset) {
        return false;
    }
    std::copy_n(bytes_.begin() + offset, into.size(), into.begin());
    return true;
}

std::string PictureDataCorrupted(const std::string& name) {
    return "Level picture data in " + name + " corrupted. Aborting.";
}

ReadResult<PackDirectory> ReadPackDirectory(PackSource& source, const std::string& name) {
    ReadResult<PackDirectory> result;
    if (!ReadLevels(source, result.Value.Levels)) {
        result.Error = "Level pack " + name + " corrupted. Aborting.";
    } else if (!ReadPictures(source, result.Value)) {
        result.Error = PictureDataCorrupted(name);
    }
    return result;
}

ReadResult<LevelPack> ReadPack(std::span<const std::uint8_t> bytes, const std::string& name) {
    MemoryPackSource source(bytes);
    const ReadResult<PackDirectory> directory = ReadPackDirectory(source, name);
    ReadResult<LevelPack> result{{directory.Value.Levels, {}}, directory.Error};
    for (const TZNPicEntry& entry : directory.Value.Pictures) {
        const auto picture = bytes.subspan(static_cast<std::size_t>(entry.Offset),
                                           static_cast<std::size_t>(entry.Size));
        result.Value.Pictures.emplace_back(picture.begin(), picture.end());
    }
    return result;
}

Bytes WritePack(const LevelPack& pack) {
    if (pack.Pictures.size() != static_cast<std::size_t>(pack.Levels.Count)) {
        throw std::invalid_argument("A level pack needs one picture per level");
    }
    Bytes bytes;
    PutMagic(bytes);
    PutInt32(bytes, pack.Levels.Count);
    for (const TZNLevelWrapper& level : pack.Levels) {
        for (const std::int32_t value :
             {level.MaxBombs, level.BazzleVisits, level.EggCount, level.GullRecords.Count}) {
            PutInt32(bytes, value);
        }
        for (const TZNGull& gull : level.GullRecords) {
            for (const std::int32_t value :
                 {gull.X, gull.Y, gull.DX, gull.DY, gull.AGull, gull.MinY, gull.MaxY}) {
                PutInt32(bytes, value);
            }
        }
    }
    const auto firstPicture = static_cast<std::int32_t>(bytes.size());
    for (const Bytes& picture : pack.Pictures) {
        bytes.insert(bytes.end(), picture.begin(), picture.end());
    }
    std::int32_t offset = firstPicture;
    for (std::size_t k = 0; k < pack.Pictures.size(); ++k) {
        const auto size = static_cast<std::int32_t>(pack.Pictures[k].size());
        for (const std::int32_t value : {static_cast<std::int32_t>(k), size, offset}) {
            PutInt32(bytes, value);
        }
        offset += size;
    }
    PutInt32(bytes, firstPicture);
    PutInt32(bytes, pack.Levels.Count);
    PutMagic(bytes);
    return bytes;
}

}  // namespace levelformat
