// Which of SDL's video drivers the game asks for, decided before SDL starts: Wayland's where a
// compositor is there and offers what the game needs, X11 otherwise. A player's own
// SDL_VIDEODRIVER always wins.
#pragma once

#include <string>

namespace platform {

// What the Wayland compositor of that name (a socket name or path, as WAYLAND_DISPLAY gives
// it) lacks for SDL's Wayland driver: a sentence's end such as "cannot be reached" or "offers
// no input seat (wl_seat)"; empty when it offers all. SDL 2.26 crashes at its start on a
// compositor without a seat.
std::string WaylandShortfall(const std::string& name);

struct VideoDriverChoice {
    std::string drivers;   // for SDL's video driver hint; empty: SDL's own choice
    std::string fallback;  // why Wayland is not used although WAYLAND_DISPLAY is set
    bool wantsWayland = false;
};

// The choice for the environment's SDL_VIDEODRIVER and WAYLAND_DISPLAY (null when unset).
VideoDriverChoice ChooseVideoDriver(const char* playerDrivers, const char* waylandDisplay);

}  // namespace platform
