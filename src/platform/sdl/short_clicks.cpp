// Short clicks: the release of a press held back until the field has seen the button held.
#include "platform/sdl/short_clicks.h"

namespace platform {

void ShortClicks::Pass(std::deque<InputEvent>& waiting, std::deque<InputEvent>& queue, int frames,
                       std::uint64_t nowMicros, bool inPlay) {
    bool holding = false;
    for (auto event = waiting.begin(); event != waiting.end();) {
        holding = holding || (event->kind == InputEvent::Kind::MouseUp && inPlay &&
                              frames < pressFrames_ + kFrames &&
                              nowMicros < pressMicros_ + kLongestWaitMicros);
        // The cursor's motion never waits: the field reads where the cursor is, not when.
        if (holding && event->kind != InputEvent::Kind::MouseMove) {
            ++event;
            continue;
        }
        if (event->kind == InputEvent::Kind::MouseDown) {
            pressFrames_ = frames;
            pressMicros_ = nowMicros;
        }
        queue.push_back(*event);
        event = waiting.erase(event);
    }
}

}  // namespace platform
