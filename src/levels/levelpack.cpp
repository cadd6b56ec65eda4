// ReadLevelPack and LoadPackPicture: a pack's records and picture directory, read by the level
// format from the file, and the decoding of one picture at a level start.
#include <cstdio>
#include <vector>

#include "levelformat/levelpack.h"
#include "levels/levelset.h"
#include "levels/scopedfile.h"
#include "media/dxerrors.h"
#include "platform/api/forms.h"

namespace {

// A pack file read where the level format asks, so that only the records are read when a game
// begins and each picture only when its level starts.
class FilePackSource : public levelformat::PackSource {
  public:
    explicit FilePackSource(std::FILE* file) : file_(file) {}

    std::int64_t Length() override {
        return std::fseek(file_, 0, SEEK_END) == 0 ? std::ftell(file_) : -1;
    }

    bool Read(std::int64_t offset, std::span<std::uint8_t> into) override {
        return offset >= 0 && std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
               std::fread(into.data(), 1, into.size(), file_) == into.size();
    }

  private:
    std::FILE* file_;
};

}  // namespace

void ReadLevelPack(const TZNLevelSet& set, const std::string& fileName) {
    const ScopedFile file = OpenForReading(fileName);
    if (!file) {
        throw Exception("Unable to open level file " + fileName);
    }
    FilePackSource source(file.get());
    const levelformat::ReadResult<levelformat::PackDirectory> result =
        levelformat::ReadPackDirectory(source, fileName);
    set.Levels = result.Value.Levels;
    set.PackPictures = result.Value.Pictures;
    set.FirstPictureOffset = result.Value.FirstPictureOffset;
    set.PictureCount = result.Value.PictureCount;
    set.PictureMagic = result.Value.PictureMagic;
    if (!result.Ok()) {
        throw Exception(result.Error);
    }
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
    if (!FilePackSource(file.get()).Read(entry.Offset, buffer)) {
        throw Exception(levelformat::PictureDataCorrupted(set.PackName));
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
