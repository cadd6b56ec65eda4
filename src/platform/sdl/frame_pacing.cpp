// The frame slots: the refresh interval, and the next slot after a frame was shown.
#include "platform/sdl/frame_pacing.h"

namespace platform {

namespace {
constexpr double kUnknownRefreshRate = 60.0;
}  // namespace

double RefreshInterval(double hertz) {
    return 1'000'000.0 / (hertz > 0 ? hertz : kUnknownRefreshRate);
}

std::uint64_t NextFrameSlot(std::uint64_t slot, double intervalMicros, std::uint64_t shownAt) {
    const auto interval = static_cast<std::uint64_t>(intervalMicros);
    return (slot != 0 && shownAt < slot + interval) ? slot + interval : shownAt + interval;
}

}  // namespace platform
