// The video driver chosen before SDL starts, with a look at the Wayland compositor's globals.
#include "platform/sdl/video_driver.h"

#include <poll.h>
#include <wayland-client.h>

#include <array>
#include <chrono>
#include <cstring>

namespace platform {

namespace {

// The globals SDL's Wayland driver cannot do without, with what their absence means.
struct Needed {
    const char* interface;
    const char* missing;
};
constexpr std::array<Needed, 5> kNeeded{{
    {"wl_compositor", "offers no surfaces (wl_compositor)"},
    {"wl_shm", "offers no shared memory (wl_shm)"},
    {"xdg_wm_base", "offers no desktop windows (xdg_wm_base)"},
    {"wl_seat", "offers no input seat (wl_seat)"},
    {"wl_output", "offers no output (wl_output)"},
}};

void Announce(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
    auto& found = *static_cast<std::array<bool, kNeeded.size()>*>(data);
    for (std::size_t i = 0; i < kNeeded.size(); ++i) {
        if (std::strcmp(interface, kNeeded[i].interface) == 0) {
            found[i] = true;
        }
    }
}

void Withdraw(void*, wl_registry*, std::uint32_t) {}

// A compositor that takes the connection and never answers must not hold the game's start.
constexpr std::chrono::milliseconds kLongestAnswer{3000};

// Waits until the compositor has answered every request sent so far; false when it does not
// within the time or the connection fails.
bool RoundTrip(wl_display* display) {
    bool done = false;
    wl_callback* sync = wl_display_sync(display);
    const wl_callback_listener listener{
        [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    wl_callback_add_listener(sync, &listener, &done);
    const auto deadline = std::chrono::steady_clock::now() + kLongestAnswer;
    while (!done) {
        if (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                break;
            }
            continue;
        }
        wl_display_flush(display);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd answer{wl_display_get_fd(display), POLLIN, 0};
        if (left.count() <= 0 || poll(&answer, 1, static_cast<int>(left.count())) <= 0) {
            wl_display_cancel_read(display);
            break;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
            break;
        }
    }
    wl_callback_destroy(sync);
    return done;
}

}  // namespace

std::string WaylandShortfall(const std::string& name) {
    wl_display* display = wl_display_connect(name.c_str());
    if (display == nullptr) {
        return "cannot be reached";
    }
    std::array<bool, kNeeded.size()> found{};
    const wl_registry_listener listener{Announce, Withdraw};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &found);
    const bool answered = RoundTrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered) {
        return "does not answer";
    }
    for (std::size_t i = 0; i < kNeeded.size(); ++i) {
        if (!found[i]) {
            return kNeeded[i].missing;
        }
    }
    return {};
}

VideoDriverChoice ChooseVideoDriver(const char* playerDrivers, const char* waylandDisplay) {
    if ((playerDrivers != nullptr && *playerDrivers != '\0') || waylandDisplay == nullptr ||
        *waylandDisplay == '\0') {
        return {};
    }
    const std::string shortfall = WaylandShortfall(waylandDisplay);
    if (!shortfall.empty()) {
        return {"x11", "the Wayland compositor " + std::string(waylandDisplay) + " " + shortfall,
                false};
    }
    // SDL goes on to X11 by itself when its Wayland driver does not start all the same.
    return {"wayland,x11", "", true};
}

}  // namespace platform
