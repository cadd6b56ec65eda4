// The comparison of a record's full dump with the replayed game's.
#pragma once

#include <string>

#include "platform/session/recording.h"

namespace platform {

// The values of two dumps that differ, in the order the game enumerates them, at most a dozen:
// a value only one of them holds is shown against "nothing".
std::string DumpDifferences(const FrameDigest& recorded, const FrameDigest& replayed);

// The shortest text that reads back as the same double, as std::to_chars writes it: the fewest
// significant digits, in fixed notation or, where that is shorter, in scientific. Written out,
// because not every C++ library's std::to_chars takes a double.
std::string ShortestText(double value);

}  // namespace platform
