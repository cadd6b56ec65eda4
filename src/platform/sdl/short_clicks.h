// Short clicks: a press of the button and its release that would both come between two looks of
// the play field at the button.
#pragma once

#include <cstdint>
#include <deque>

#include "platform/api/services.h"

namespace platform {

// In play the field looks at the button once a frame: a ball riding the paddle leaves only
// while the button is seen held. A quick click, a tap or an automated one can press and release
// it within one frame, and then the ball would stay on the paddle while the bombs begin to fall.
// So in play a release, and everything after it but the cursor's motion, waits until two frames
// have been shown since the press (one whole frame saw it held), or a tenth of a second has
// passed if no frame comes.
class ShortClicks {
  public:
    // Moves what may go on from `waiting` to the end of `queue`, in order. `frames` counts the
    // frames shown so far.
    void Pass(std::deque<InputEvent>& waiting, std::deque<InputEvent>& queue, int frames,
              std::uint64_t nowMicros, bool inPlay);

  private:
    int pressFrames_ = -kFrames;
    std::uint64_t pressMicros_ = 0;

    static constexpr int kFrames = 2;
    static constexpr std::uint64_t kLongestWaitMicros = 100'000;
};

}  // namespace platform
