// Where a recording or replay meets the platform's services: each hook takes the live value and
// gives the one the game consumes, writing it to the record or taking it from the record.
// Without a session every hook gives the live value. Internal to the platform layer.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/api/options.h"
#include "platform/api/services.h"
#include "platform/api/wintypes.h"

namespace platform {

std::uint32_t SessionSeed(std::uint32_t live);
std::int64_t SessionFrequency(std::int64_t live);
std::uint64_t SessionClock(std::uint64_t live);
POINT SessionCursor(POINT live);
// The options that change play, as a game begins: a replay gives the recorded ones, and those of
// a record made before records carried them the defaults.
PlayOptions SessionPlayOptions(PlayOptions live);
// Whether a flip that does not wait shows its frame now; live: whether the refresh slot is due.
bool SessionFlipShows(bool live);
// Whether an outside cause (the window system, a test) may lose the surfaces now. In a replay
// only the recorded losses happen, delivered as input.
bool SessionLosesSurfaces();
// The input of this pass: a replay puts the recorded events in place of the live ones.
void SessionInput(std::deque<InputEvent>& queue);
// An event about to be delivered to the form.
void SessionDelivered(const InputEvent& event);
// The path the game opens a file of its folders at, by its name; a recording notes what of the
// file decided the game.
std::string SessionFileOpened(const std::string& name, std::string live);
// The names a search of the game's folders for the pattern found: a replay gives the names the
// recorded game found.
std::vector<std::string> SessionFilesFound(const std::string& pattern,
                                           std::vector<std::string> live);

}  // namespace platform
