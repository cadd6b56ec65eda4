// When the next frame may be shown: one frame a refresh of the display.
#pragma once

#include <cstdint>

namespace platform {

// The refresh interval in microseconds for a display refreshing at that rate; a rate that is
// not known (0 or less) counts as 60 Hz.
double RefreshInterval(double hertz);

// The slot after `slot` for a frame shown at `shownAt` (microseconds of the active clock; slot 0:
// none yet). Slots follow one another at the interval, so that a frame shown a little late
// keeps the cadence; a frame shown a whole interval late starts the count again from itself.
// Where the presentation waits for the vertical blank, the slots need not know the blanks: at
// the display's own rate each frame reaches the blank after the one before.
std::uint64_t NextFrameSlot(std::uint64_t slot, double intervalMicros, std::uint64_t shownAt);

}  // namespace platform
