// The text level file: reading "Zintrel Level File Version 1.0" text into level records, and
// writing records as such a text.
#pragma once

#include <string>
#include <string_view>

#include "levelformat/records.h"

namespace levelformat {

inline constexpr std::string_view kLevelFileHeader = "Zintrel Level File Version 1.0";

// Reads a level file's text as the game does: the exact header line, then "Level=" lines that
// start levels and "Gull=" lines that add gulls to the last one, split by the C library's rules;
// a CR LF line end reads as LF. Other lines are ignored. The one failure is a first line that is
// not the header: the message is `fileName` + " is not a valid Zintrel Level File", and there are
// no levels.
ReadResult<TZNLevelList> ReadLevelText(std::string_view text, const std::string& fileName);

// The text of a level file holding the levels: the header, then for each level its "Level=" line
// (MaxBombs, BazzleVisits, EggCount, the number of its gulls and, when it has one, the picture
// name) and one "Gull=" line per gull with all seven numbers in record order, every line ended
// by CR LF. Such a text reads back to the same records when each GullCount is the number of the
// level's gulls and each picture name is a bare file name (no line end, backslash or colon).
std::string WriteLevelText(const TZNLevelList& levels);

}  // namespace levelformat
