// Opening and saving the edited file through the level format's readers and writers.
#include "editor/editfile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "levelformat/files.h"
#include "levelformat/leveltext.h"
#include "platform/api/files.h"

namespace editor {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsJpegName(const std::string& name) {
    const std::string lower = Lower(name);
    return lower.ends_with(".jpg") || lower.ends_with(".jpeg");
}

}  // namespace

TZNLevelList ToLevelList(const EditedLevels& levels) {
    TZNLevelList list;
    for (const EditLevel& level : levels) {
        TZNLevelWrapper record;
        record.MaxBombs = level.MaxBombs;
        record.BazzleVisits = level.BazzleVisits;
        record.EggCount = level.EggCount;
        record.GullCount = static_cast<std::int32_t>(level.Gulls.size());
        record.PictureName = level.PictureName;
        for (const TZNGull& gull : level.Gulls) {
            record.GullRecords.Add(gull);
        }
        list.Add(record);
    }
    return list;
}

EditedLevels FromLevelList(const TZNLevelList& list) {
    EditedLevels levels;
    for (const TZNLevelWrapper& record : list) {
        EditLevel level;
        level.MaxBombs = record.MaxBombs;
        level.BazzleVisits = record.BazzleVisits;
        level.EggCount = record.EggCount;
        level.PictureName = record.PictureName;
        for (const TZNGull& gull : record.GullRecords) {
            level.Gulls.push_back(gull);
        }
        levels.push_back(std::move(level));
    }
    return levels;
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

std::vector<std::string> PicturesBeside(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(path), error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && IsJpegName(name) && !name.starts_with(".")) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return Lower(a) < Lower(b); });
    return names;
}

OpenedFile OpenLevels(const EditFile& file, const std::string& firstPicture) {
    OpenedFile opened;
    std::error_code error;
    if (!std::filesystem::exists(file.Path, error)) {
        EditLevel level;
        // A pack keeps the name only while editing, to choose the next picture from it.
        level.PictureName = firstPicture;
        if (file.IsPack) {
            auto bytes = firstPicture.empty()
                             ? std::nullopt
                             : levelformat::ReadFileBytes(
                                   std::filesystem::path(FolderOf(file.Path)) / firstPicture);
            level.Picture = std::make_shared<const levelformat::Bytes>(
                bytes ? std::move(*bytes) : levelformat::Bytes{});
        }
        opened.Levels.push_back(std::move(level));
        opened.Created = true;
        return opened;
    }
    if (file.IsPack) {
        const auto bytes = levelformat::ReadFileBytes(file.Path);
        if (!bytes) {
            opened.Error = "Unable to open level pack";
            return opened;
        }
        levelformat::ReadResult<levelformat::LevelPack> pack =
            levelformat::ReadPack(*bytes, file.Path);
        if (!pack.Ok()) {
            opened.Error = pack.Error;
            return opened;
        }
        opened.Levels = FromLevelList(pack.Value.Levels);
        for (std::size_t i = 0; i < opened.Levels.size() && i < pack.Value.Pictures.size(); ++i) {
            opened.Levels[i].Picture =
                std::make_shared<const levelformat::Bytes>(std::move(pack.Value.Pictures[i]));
        }
    } else {
        const auto text = levelformat::ReadFileText(file.Path);
        if (!text) {
            opened.Error = "Unable to open level file";
            return opened;
        }
        levelformat::ReadResult<TZNLevelList> levels = levelformat::ReadLevelText(*text, file.Path);
        if (!levels.Ok()) {
            opened.Error = levels.Error;
            return opened;
        }
        opened.Levels = FromLevelList(levels.Value);
    }
    if (opened.Levels.empty()) {
        opened.Error = "No levels in " + file.Path;
        opened.Levels = {};
    }
    return opened;
}

std::string SaveLevels(const EditFile& file, const EditedLevels& levels) {
    std::string contents;
    if (file.IsPack) {
        levelformat::LevelPack pack{ToLevelList(levels), {}};
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (!levels[i].Picture || levels[i].Picture->empty()) {
                return "level " + std::to_string(i + 1) + " has no picture: import one first";
            }
            pack.Pictures.push_back(*levels[i].Picture);
        }
        const levelformat::Bytes bytes = levelformat::WritePack(pack);
        contents.assign(bytes.begin(), bytes.end());
    } else {
        contents = levelformat::WriteLevelText(ToLevelList(levels));
    }
    return platform::ReplaceFileContents(file.Path, contents);
}

}  // namespace editor
