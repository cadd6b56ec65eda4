// The level records: the gull list, TZNLevelWrapper, the pack's picture entry TZNPicEntry and their
// lists.
#pragma once

#include <cstdint>
#include <string>

#include "levels/dlinkedlist.h"
#include "playfield/gullrecord.h"

using TZNGullList = TDLinkedList<TZNGull>;

// One level, with the values a new record starts with.
struct TZNLevelWrapper {
    std::int32_t MaxBombs = 1;
    std::int32_t BazzleVisits = 3;
    std::int32_t EggCount = 3;
    std::int32_t GullCount = 0;  // as declared; a level file's gull lines decide
    std::string PictureName;     // level files only, without directory
    TZNGullList GullRecords;
};
using TZNLevelList = TDLinkedList<TZNLevelWrapper>;

// One picture of a level pack: its place in the directory, its length and its file offset.
struct TZNPicEntry {
    std::int32_t Index = 0;
    std::int32_t Size = 0;
    std::int32_t Offset = 0;
};
using TZNEntryList = TDLinkedList<TZNPicEntry>;
