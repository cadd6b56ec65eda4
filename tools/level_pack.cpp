// Encoding, decoding and converting level packs.
#include "level_pack.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace znpack {
namespace {

constexpr char kMagic[4] = {'Z', 'N', 'K', '1'};
constexpr std::size_t kLevelBytes = 16;
constexpr std::size_t kGullBytes = 28;
constexpr std::size_t kEntryBytes = 12;
constexpr std::size_t kTrailerBytes = 12;

void Put(Bytes& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(u >> shift));
    }
}

void PutMagic(Bytes& out) {
    for (char c : kMagic) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
}

// Reads little-endian fields from a byte range, refusing to run past its end.
class Reader {
  public:
    Reader(const Bytes& bytes, std::string error) : bytes_(bytes), error_(std::move(error)) {}

    void Seek(std::size_t pos) {
        if (pos > bytes_.size()) {
            throw LevelError(error_);
        }
        pos_ = pos;
    }
    void Need(std::size_t count) const {
        if (count > bytes_.size() - pos_) {
            throw LevelError(error_);
        }
    }
    std::int32_t Int() {
        Need(4);
        std::uint32_t u = 0;
        for (int k = 0; k < 4; ++k) {
            u |= static_cast<std::uint32_t>(bytes_[pos_ + k]) << (8 * k);
        }
        pos_ += 4;
        return static_cast<std::int32_t>(u);
    }
    bool Magic() {
        Need(4);
        const bool same = std::memcmp(bytes_.data() + pos_, kMagic, 4) == 0;
        pos_ += 4;
        return same;
    }
    // A count read from the file, accepted only if that many items of `itemBytes` still fit.
    std::size_t Count(std::int32_t value, std::size_t itemBytes) const {
        if (value < 0) {
            return 0;
        }
        Need(static_cast<std::size_t>(value) * itemBytes);
        return static_cast<std::size_t>(value);
    }

  private:
    const Bytes& bytes_;
    std::string error_;
    std::size_t pos_ = 0;
};

}  // namespace

Bytes EncodePack(const LevelPack& pack) {
    if (pack.Pictures.size() != pack.Levels.size()) {
        throw LevelError("A level pack needs one picture per level");
    }
    Bytes out;
    PutMagic(out);
    Put(out, static_cast<std::int32_t>(pack.Levels.size()));
    for (const LevelRecord& level : pack.Levels) {
        Put(out, level.MaxBombs);
        Put(out, level.BazzleVisits);
        Put(out, level.EggCount);
        Put(out, static_cast<std::int32_t>(level.Gulls.size()));
        for (const GullRecord& g : level.Gulls) {
            for (std::int32_t v : {g.X, g.Y, g.DX, g.DY, g.AGull, g.MinY, g.MaxY}) {
                Put(out, v);
            }
        }
    }
    const auto first = static_cast<std::int32_t>(out.size());
    std::vector<std::int32_t> offsets;
    for (const Bytes& picture : pack.Pictures) {
        offsets.push_back(static_cast<std::int32_t>(out.size()));
        out.insert(out.end(), picture.begin(), picture.end());
    }
    for (std::size_t k = 0; k < pack.Pictures.size(); ++k) {
        Put(out, static_cast<std::int32_t>(k));
        Put(out, static_cast<std::int32_t>(pack.Pictures[k].size()));
        Put(out, offsets[k]);
    }
    Put(out, first);
    Put(out, static_cast<std::int32_t>(pack.Pictures.size()));
    PutMagic(out);
    return out;
}

LevelPack DecodePack(const Bytes& bytes, const std::string& name) {
    LevelPack pack;
    Reader front(bytes, "Level pack " + name + " corrupted. Aborting.");
    if (!front.Magic()) {
        throw LevelError("Level pack " + name + " corrupted. Aborting.");
    }
    const std::size_t levels = front.Count(front.Int(), kLevelBytes);
    for (std::size_t i = 0; i < levels; ++i) {
        LevelRecord level;
        level.MaxBombs = front.Int();
        level.BazzleVisits = front.Int();
        level.EggCount = front.Int();
        level.GullCount = front.Int();
        const std::size_t gulls = front.Count(level.GullCount, kGullBytes);
        for (std::size_t j = 0; j < gulls; ++j) {
            GullRecord g;
            for (std::int32_t* field : {&g.X, &g.Y, &g.DX, &g.DY, &g.AGull, &g.MinY, &g.MaxY}) {
                *field = front.Int();
            }
            level.Gulls.push_back(g);
        }
        pack.Levels.push_back(std::move(level));
    }

    const std::string pictureError = "Level picture data in " + name + " corrupted. Aborting.";
    Reader back(bytes, pictureError);
    if (bytes.size() < kTrailerBytes) {
        throw LevelError(pictureError);
    }
    back.Seek(bytes.size() - kTrailerBytes);
    const std::int32_t first = back.Int();
    const std::int32_t count = back.Int();
    if (!back.Magic() || count < 0 || static_cast<std::size_t>(count) != levels ||
        levels * kEntryBytes > bytes.size() - kTrailerBytes) {
        throw LevelError(pictureError);
    }
    back.Seek(bytes.size() - kTrailerBytes - levels * kEntryBytes);
    std::size_t offset = first < 0 ? bytes.size() + 1 : static_cast<std::size_t>(first);
    for (std::size_t k = 0; k < levels; ++k) {
        back.Int();
        const std::int32_t size = back.Int();
        back.Int();
        if (size < 0 || offset > bytes.size() ||
            static_cast<std::size_t>(size) > bytes.size() - offset) {
            throw LevelError(pictureError);
        }
        pack.Pictures.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
        offset += static_cast<std::size_t>(size);
    }
    return pack;
}

Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw LevelError("Unable to open " + path.string());
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw LevelError("Unable to write " + path.string());
    }
}

void PackLevelFile(const std::filesystem::path& levelFile, const std::filesystem::path& packFile) {
    LevelPack pack;
    pack.Levels = ReadLevelFile(levelFile);
    if (pack.Levels.empty()) {
        throw LevelError(levelFile.string() + " holds no levels");
    }
    const std::filesystem::path folder = levelFile.parent_path();
    for (std::size_t i = 0; i < pack.Levels.size(); ++i) {
        const std::string& picture = pack.Levels[i].PictureName;
        if (picture.empty()) {
            throw LevelError("Level " + std::to_string(i + 1) + " of " + levelFile.string() +
                             " names no picture");
        }
        Bytes jpeg = ReadBytes(folder / picture);
        if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
            throw LevelError((folder / picture).string() + " is not a JPEG picture");
        }
        pack.Pictures.push_back(std::move(jpeg));
    }
    WriteBytes(packFile, EncodePack(pack));
}

void UnpackToLevelFile(const std::filesystem::path& packFile,
                       const std::filesystem::path& levelFile) {
    LevelPack pack = DecodePack(ReadBytes(packFile), packFile.string());
    const std::filesystem::path folder = levelFile.parent_path();
    const std::string stem = levelFile.stem().string();
    for (std::size_t i = 0; i < pack.Levels.size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%02zu", i + 1);
        pack.Levels[i].PictureName = stem + number + ".jpg";
        WriteBytes(folder / pack.Levels[i].PictureName, pack.Pictures[i]);
    }
    WriteLevelFile(levelFile, pack.Levels);
}

}  // namespace znpack
