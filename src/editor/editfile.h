// The file the editor works on: a level file or a level pack, read and written through the
// level format, whole or not at all.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "levelformat/levelpack.h"
#include "levelformat/records.h"

namespace editor {

// One level as the editor holds it: the level record's numbers, its gulls in order, and its
// picture: by name in a level file, as the JPEG file's bytes in a pack (shared between the
// copies that the undo history keeps).
struct EditLevel {
    std::int32_t MaxBombs = 1;
    std::int32_t BazzleVisits = 3;
    std::int32_t EggCount = 3;
    std::string PictureName;
    std::vector<TZNGull> Gulls;
    std::shared_ptr<const levelformat::Bytes> Picture;
};
using EditedLevels = std::vector<EditLevel>;

// The level records the game reads, and back.
TZNLevelList ToLevelList(const EditedLevels& levels);
EditedLevels FromLevelList(const TZNLevelList& list);

// The file named on the command line.
struct EditFile {
    std::string Path;
    bool IsPack = false;  // by its extension, as the game chooses
};

// What opening a file gives: the levels, or the reader's refusal.
struct OpenedFile {
    EditedLevels Levels;
    bool Created = false;  // the file did not exist: one new level
    std::string Error;     // empty when the levels can be edited
};

// Reads the file; a missing one starts as one level showing `firstPicture`, which a pack
// holds as its bytes and a level file by name. A file the reader refuses gives its message and
// no levels.
OpenedFile OpenLevels(const EditFile& file, const std::string& firstPicture);

// Writes the levels in the file's own format, to a new file that then takes the old one's
// place. Returns what went wrong, or an empty text.
std::string SaveLevels(const EditFile& file, const EditedLevels& levels);

// The JPEG pictures of the folder holding the file, sorted by name without regard to case.
std::vector<std::string> PicturesBeside(const std::string& path);

// The folder holding the file, for the pictures its levels name.
std::string FolderOf(const std::string& path);

}  // namespace editor
