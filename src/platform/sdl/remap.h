// The wait for a key or a game controller's button of play, begun on the Options screen: the
// controls offer it what the player presses while it lasts.
#pragma once

#include <cstdint>

namespace platform {

// Offers a key (SDL's key code) or a game controller's button pressed; true when a wait took
// it, as the control's new key or button, as one refused, or to cancel, so that it reaches
// nothing else.
bool OfferKey(std::int32_t key);
bool OfferButton(std::int32_t button);

}  // namespace platform
