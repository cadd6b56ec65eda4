// The Hall of Fame table and its score file "znscore.hof".
#pragma once

#include <string>

#include "levels/highscores.h"

inline constexpr const char* kScoreFileName = "znscore.hof";

// Entry i scores (24 - i) * 200 and is held by "Nobody yet!".
void SetDefaultHallOfFame(THallOfFame& table);

// Replaces the places the file holds, best first; the rest keep what they had. A missing or
// unreadable file, or anything but a regular file, changes nothing; past what 24 lines hold
// nothing is read.
void ReadHallOfFameFile(const std::string& fileName, THallOfFame& table);

// One line per place, "score name", with CR LF line ends, written whole or not at all: the file
// is replaced only once the new table is on the disk. Returns why it could not be written, or
// an empty text.
std::string WriteHallOfFameFile(const std::string& fileName, const THallOfFame& table);
