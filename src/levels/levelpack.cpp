// ReadLevelPack and LoadPackPicture: a pack's level and gull records, its picture directory
// and trailer, and the decoding of one picture at a level start.
#include <cstring>
#include <vector>

#include "levels/levelset.h"
#include "levels/scopedfile.h"
#include "media/dxerrors.h"
#include "platform/forms.h"

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

// Reads the whole block or raises the message of the part being read: a pack that ends early
// is corrupt, and nothing is made from bytes that were never there.
void ReadBlock(std::FILE* file, std::uint8_t* block, std::size_t size,
               const std::string& corrupted) {
    if (std::fread(block, 1, size, file) != size) {
        throw Exception(corrupted);
    }
}

std::string LevelsCorrupted(const std::string& fileName) {
    return "Level pack " + fileName + " corrupted. Aborting.";
}

std::string PicturesCorrupted(const std::string& fileName) {
    return "Level picture data in " + fileName + " corrupted. Aborting.";
}

}  // namespace

void ReadLevelPack(const TZNLevelSet& set, const std::string& fileName) {
    const ScopedFile file = OpenForReading(fileName);
    if (!file) {
        throw Exception("Unable to open level file " + fileName);
    }
    set.Levels.Clear();
    set.PackPictures.Clear();

    // The front: magic, level count, and each level block with its gull records. The records
    // are made one by one as their bytes arrive, so a count larger than the file ends at the
    // first short read instead of reserving memory for it.
    const std::string levelsCorrupted = LevelsCorrupted(fileName);
    std::uint8_t header[kHeaderSize];
    ReadBlock(file.get(), header, sizeof header, levelsCorrupted);
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        throw Exception(levelsCorrupted);
    }
    const std::int32_t levelCount = Int32At(header + 4);
    for (std::int32_t i = 0; i < levelCount; ++i) {
        std::uint8_t block[kLevelBlockSize];
        ReadBlock(file.get(), block, sizeof block, levelsCorrupted);
        TZNLevelWrapper level;
        level.MaxBombs = Int32At(block);
        level.BazzleVisits = Int32At(block + 4);
        level.EggCount = Int32At(block + 8);
        level.GullCount = Int32At(block + 12);
        set.Levels.Add(level);
        TZNGullList& gulls = set.Levels.Items(i).GullRecords;
        for (std::int32_t j = 0; j < level.GullCount; ++j) {
            std::uint8_t record[kGullRecordSize];
            ReadBlock(file.get(), record, sizeof record, levelsCorrupted);
            gulls.Add(TZNGull{Int32At(record), Int32At(record + 4), Int32At(record + 8),
                              Int32At(record + 12), Int32At(record + 16), Int32At(record + 20),
                              Int32At(record + 24)});
        }
    }

    // The back: the trailer, then the directory before it.
    const std::string picturesCorrupted = PicturesCorrupted(fileName);
    std::uint8_t trailer[kTrailerSize];
    if (std::fseek(file.get(), -static_cast<long>(kTrailerSize), SEEK_END) != 0) {
        throw Exception(picturesCorrupted);
    }
    const long trailerStart = std::ftell(file.get());
    ReadBlock(file.get(), trailer, sizeof trailer, picturesCorrupted);
    set.FirstPictureOffset = Int32At(trailer);
    set.PictureCount = Int32At(trailer + 4);
    std::memcpy(set.PictureMagic.data(), trailer + 8, sizeof kMagic);
    if (std::memcmp(set.PictureMagic.data(), kMagic, sizeof kMagic) != 0 ||
        set.PictureCount != levelCount) {
        throw Exception(picturesCorrupted);
    }
    const long fileLength = trailerStart + static_cast<long>(kTrailerSize);
    TZNEntryList pictures;
    if (set.PictureCount > 0) {
        const long directoryStart =
            trailerStart - static_cast<long>(kEntrySize) * static_cast<long>(set.PictureCount);
        if (directoryStart < 0 || std::fseek(file.get(), directoryStart, SEEK_SET) != 0) {
            throw Exception(picturesCorrupted);
        }
    }
    long offset = set.FirstPictureOffset;
    for (std::int32_t k = 0; k < set.PictureCount; ++k) {
        std::uint8_t entry[kEntrySize];
        ReadBlock(file.get(), entry, sizeof entry, picturesCorrupted);
        const std::int32_t size = Int32At(entry + 4);
        // Every picture must lie inside the file: its size is what the level start allocates.
        if (offset < 0 || size < 0 || offset + size > fileLength) {
            throw Exception(picturesCorrupted);
        }
        pictures.Add(TZNPicEntry{pictures.Count, size, static_cast<std::int32_t>(offset)});
        offset += size;
    }
    set.PackPictures = pictures;
    set.PackLoaded = true;
    set.PackName = fileName;
}

void LoadPackPicture(const TZNLevelSet& set, TDXGraphic& picture, IDirectDraw2* directDraw,
                     std::int32_t index) {
    const ScopedFile file = OpenForReading(set.PackName);
    if (!file) {
        throw Exception("Unable to open level pack");
    }
    const TZNPicEntry entry = set.PackPictures.Items(index);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(entry.Size));
    // The pack may have been changed since its directory was read.
    if (std::fseek(file.get(), entry.Offset, SEEK_SET) != 0 ||
        std::fread(buffer.data(), 1, buffer.size(), file.get()) != buffer.size()) {
        throw Exception(PicturesCorrupted(set.PackName));
    }
    try {
        picture.LoadFromStream(directDraw, buffer,
                               "Level Pack Data (size=" + std::to_string(buffer.size()) + ")", 1, 1,
                               640, 480, false, false);
    } catch (const XOutOfMemory&) {
        throw Exception(XOutOfMemory("Level Pack Data").Message());
    } catch (const XDXException& error) {
        throw Exception(error.Message());
    }
    picture.Name = "Level Pack";
}
