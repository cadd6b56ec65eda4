// The level records: TZNGull, TZNLevelWrapper, the pack's picture entry TZNPicEntry, their lists,
// and the answer of a reader, records or a message.
#pragma once

#include <cstdint>
#include <string>

#include "levelformat/dlinkedlist.h"

// One gull of a level, in the order of a "Gull=" line and of a pack's 28-byte gull record.
struct TZNGull {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t DX = 0;  // negative flies leftwards
    std::int32_t DY = 0;
    std::int32_t AGull = 0;  // non-zero: a gull of the second kind
    std::int32_t MinY = 0;
    std::int32_t MaxY = 0;  // not above MinY: level flight

    bool operator==(const TZNGull&) const = default;
};
using TZNGullList = TDLinkedList<TZNGull>;

// One level, with the values a new record starts with.
struct TZNLevelWrapper {
    std::int32_t MaxBombs = 1;
    std::int32_t BazzleVisits = 3;
    std::int32_t EggCount = 3;
    std::int32_t GullCount = 0;  // as declared; a level file's gull lines decide
    std::string PictureName;     // level files only, without directory
    TZNGullList GullRecords;

    bool operator==(const TZNLevelWrapper&) const = default;
};
using TZNLevelList = TDLinkedList<TZNLevelWrapper>;

// One picture of a level pack: its place in the directory, its length and its file offset.
struct TZNPicEntry {
    std::int32_t Index = 0;
    std::int32_t Size = 0;
    std::int32_t Offset = 0;

    bool operator==(const TZNPicEntry&) const = default;
};
using TZNEntryList = TDLinkedList<TZNPicEntry>;

namespace levelformat {

// What a reader gives back: the records, and the message for the user when it failed. A reader
// that fails part of the way keeps in Value what it read before the failing part.
template <typename T>
struct ReadResult {
    T Value{};
    std::string Error;  // empty when the reading succeeded

    bool Ok() const { return Error.empty(); }
};

}  // namespace levelformat
