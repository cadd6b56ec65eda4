// znpack: builds a level pack from a level file and its pictures, and unpacks one again.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "levelformat/files.h"
#include "levelformat/levelpack.h"
#include "levelformat/leveltext.h"

namespace {

namespace fs = std::filesystem;
using levelformat::Bytes;

constexpr const char* kUsage =
    "Usage:\n"
    "  znpack pack <level file> <pack file>\n"
    "      Builds a level pack (.znk) from a level file and the JPEG pictures its\n"
    "      \"Level=\" lines name; the pictures are looked up beside the level file.\n"
    "  znpack unpack <pack file> <level file>\n"
    "      Writes the pack's levels as a level file and its pictures beside it,\n"
    "      named after the level file: <name>01.jpg, <name>02.jpg, ...\n";

// A command that cannot be carried out; the message is meant for the user.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Bytes ReadBytes(const fs::path& path) {
    std::optional<Bytes> bytes = levelformat::ReadFileBytes(path);
    if (!bytes) {
        throw Failure("Unable to open " + path.string());
    }
    return std::move(*bytes);
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    if (!levelformat::WriteFileBytes(path, bytes)) {
        throw Failure("Unable to write " + path.string());
    }
}

// Builds a pack from a level file and the pictures it names, found beside the level file.
void Pack(const fs::path& levelFile, const fs::path& packFile) {
    const std::optional<std::string> text = levelformat::ReadFileText(levelFile);
    if (!text) {
        throw Failure("Unable to open level file " + levelFile.string());
    }
    const levelformat::ReadResult<TZNLevelList> levels =
        levelformat::ReadLevelText(*text, levelFile.string());
    if (!levels.Ok()) {
        throw Failure(levels.Error);
    }
    if (levels.Value.Count == 0) {
        throw Failure(levelFile.string() + " holds no levels");
    }
    levelformat::LevelPack pack{levels.Value, {}};
    const fs::path folder = levelFile.parent_path();
    for (const TZNLevelWrapper& level : pack.Levels) {
        if (level.PictureName.empty()) {
            throw Failure("Level " + std::to_string(pack.Pictures.size() + 1) + " of " +
                          levelFile.string() + " names no picture");
        }
        const fs::path picture = folder / level.PictureName;
        Bytes jpeg = ReadBytes(picture);
        if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
            throw Failure(picture.string() + " is not a JPEG picture");
        }
        pack.Pictures.push_back(std::move(jpeg));
    }
    WriteBytes(packFile, levelformat::WritePack(pack));
}

// Writes a pack's levels as a level file and its pictures beside it, named after the level
// file's stem and the level number ("stem01.jpg", ...).
void Unpack(const fs::path& packFile, const fs::path& levelFile) {
    levelformat::ReadResult<levelformat::LevelPack> pack =
        levelformat::ReadPack(ReadBytes(packFile), packFile.string());
    if (!pack.Ok()) {
        throw Failure(pack.Error);
    }
    const fs::path folder = levelFile.parent_path();
    const std::string stem = levelFile.stem().string();
    for (std::int32_t i = 0; i < pack.Value.Levels.Count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", i + 1);
        std::string& picture = pack.Value.Levels.Items(i).PictureName;
        picture = stem + number + ".jpg";
        WriteBytes(folder / picture, pack.Value.Pictures[static_cast<std::size_t>(i)]);
    }
    if (!levelformat::WriteFileText(levelFile, levelformat::WriteLevelText(pack.Value.Levels))) {
        throw Failure("Unable to write level file " + levelFile.string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool pack = argc == 4 && std::strcmp(argv[1], "pack") == 0;
    const bool unpack = argc == 4 && std::strcmp(argv[1], "unpack") == 0;
    if (!pack && !unpack) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (pack) {
            Pack(argv[2], argv[3]);
        } else {
            Unpack(argv[2], argv[3]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "znpack: %s\n", error.what());
        return 1;
    }
    return 0;
}
