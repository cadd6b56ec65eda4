// zintrel_bake: makes the game's sheets, sounds, music, pictures, levels and review previews.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <string>

#include "icon.h"
#include "levels.h"
#include "music.h"
#include "previews.h"
#include "scenes.h"
#include "sheets.h"
#include "sounds.h"

namespace fs = std::filesystem;

namespace {

void BakeSheets(const fs::path& out) {
    for (const bake::SheetSpec& spec : bake::SheetSpecs()) {
        bake::WriteFile(out / (spec.name + ".bmp"), bake::EncodeBmp(bake::DrawSheet(spec)));
    }
}

void BakeSounds(const fs::path& out) {
    for (const bake::Sound& sound : bake::Sounds()) {
        bake::WriteFile(out / (sound.name + ".wav"), bake::EncodeWave(sound.make()));
    }
}

void BakeMusic(const fs::path& out) {
    for (const bake::Tune& tune : bake::Tunes()) {
        bake::WriteFile(out / tune.file, bake::EncodeMidi(tune));
    }
}

// The title picture and the level file's pictures go to `out`; the pack's pictures to `pack`.
void BakePictures(const fs::path& out, const fs::path& pack) {
    bake::WriteFile(out / "ZNTitle.jpg", bake::EncodeJpeg(bake::RenderTitle(), bake::kJpegQuality));
    const auto& scenes = bake::LevelScenes();
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const fs::path folder = i < bake::kPackScenes ? pack : out;
        bake::WriteFile(folder / scenes[i].file,
                        bake::EncodeJpeg(scenes[i].Render(), bake::kJpegQuality));
    }
}

// The level file goes to `out`, the level file of the pack to `pack`.
void BakeLevels(const fs::path& out, const fs::path& pack) {
    bake::WriteLevelFiles(pack, out);
}

// Commands that make one kind of file need only their output folder.
template <void (*Bake)(const fs::path&)>
void OneFolder(const fs::path& out, const fs::path&) {
    Bake(out);
}

}  // namespace

int main(int argc, char** argv) {
    using Command = void (*)(const fs::path&, const fs::path&);
    const std::map<std::string, Command> commands = {
        {"sheets", OneFolder<BakeSheets>}, {"sounds", OneFolder<BakeSounds>},
        {"music", OneFolder<BakeMusic>},   {"previews", OneFolder<bake::WritePreviews>},
        {"pictures", BakePictures},        {"levels", BakeLevels},
    };
    const bool icons = argc == 4 && std::strcmp(argv[1], "icons") == 0;
    const auto command = argc == 3 || argc == 4 ? commands.find(argv[1]) : commands.end();
    if (!icons && command == commands.end()) {
        std::fputs(
            "Usage: zintrel_bake sheets|sounds|music|previews <folder>\n"
            "       zintrel_bake pictures|levels <game folder> <pack folder>\n"
            "       zintrel_bake icons <icon theme folder> <icon name>\n",
            stderr);
        return 2;
    }
    try {
        const fs::path out = argv[2];
        fs::create_directories(out);
        if (icons) {
            bake::WriteIcons(out, argv[3]);
            return 0;
        }
        const fs::path pack = argc == 4 ? fs::path(argv[3]) : out;
        fs::create_directories(pack);
        command->second(out, pack);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zintrel_bake %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
