// The level set: finding level files and packs, reading them through the level format into the
// game record's level fields, and loading a pack's pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "levelformat/records.h"
#include "media/dxgraphic.h"

// The game record's fields that the readers fill, borrowed for the call.
struct TZNLevelSet {
    TZNLevelList& Levels;
    TZNEntryList& PackPictures;
    std::int32_t& FirstPictureOffset;
    std::int32_t& PictureCount;
    std::array<char, 4>& PictureMagic;
    std::string& PackName;  // held at any length
    bool& PackLoaded;
};

// The names matching "*.zn?" in the game's folders, in the directory search's order.
std::vector<std::string> FindLevelFiles();

// True for a name whose extension, after the last backslash or colon, is ".ZNK" in any case.
bool IsLevelPackName(const std::string& name);

// Replaces the levels with those of a "Zintrel Level File Version 1.0" text file.
void ReadLevelFile(const TZNLevelSet& set, const std::string& fileName);

// Replaces the levels and the picture directory with those of a "ZNK1" level pack. A count,
// size or offset that reaches past the end of the file, or a read that comes up short, is
// reported as corruption of the part being read.
void ReadLevelPack(const TZNLevelSet& set, const std::string& fileName);

// Reads the level set a new game begins with, as a pack or a level file by its extension. A set
// without levels is refused with "No levels in " and the name: a game needs one level at least.
void ReadLevelSet(const TZNLevelSet& set, const std::string& fileName);

// Decodes picture `index` of the last pack read into the picture, stretched to 640 by 480.
void LoadPackPicture(const TZNLevelSet& set, TDXGraphic& picture, IDirectDraw2* directDraw,
                     std::int32_t index);
