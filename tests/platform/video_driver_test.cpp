// The video driver chosen before SDL starts, against compositors of our own that offer more or
// fewer of the globals SDL's Wayland driver needs, or never answer.
#include <gtest/gtest.h>
#include <wayland-server.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/video_driver.h"

namespace {

using platform::ChooseVideoDriver;

// Only its name is announced: the desktop shell's description is not part of the core protocol.
const wl_interface kDesktopShell = {"xdg_wm_base", 1, 0, nullptr, 0, nullptr};

// A compositor on a socket of its own in a runtime folder of its own (a short path: a socket's
// is at most 107 bytes), announcing the globals given, and answering while it lives unless told
// to stay silent.
class Compositor {
  public:
    Compositor(const std::vector<const wl_interface*>& globals, bool answers)
        : display_(wl_display_create()) {
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
            runtime_ = runtime;
        }
        setenv("XDG_RUNTIME_DIR", mkdtemp(folder_.data()), 1);
        wl_display_add_socket(display_, "wayland-test");
        for (const wl_interface* global : globals) {
            wl_global_create(display_, global, 1, nullptr,
                             [](wl_client*, void*, uint32_t, uint32_t) {});
        }
        if (answers) {
            serving_ = std::thread([this] {
                while (!stop_) {
                    wl_event_loop_dispatch(wl_display_get_event_loop(display_), 10);
                    wl_display_flush_clients(display_);
                }
            });
        }
    }
    ~Compositor() {
        stop_ = true;
        if (serving_.joinable()) {
            serving_.join();
        }
        // The clients that connected go with the compositor.
        wl_display_destroy_clients(display_);
        wl_display_destroy(display_);
        std::filesystem::remove_all(folder_.c_str());
        if (runtime_) {
            setenv("XDG_RUNTIME_DIR", runtime_->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }

  private:
    std::string folder_ = (std::filesystem::temp_directory_path() / "zintrel-XXXXXX").string();
    std::optional<std::string> runtime_;
    wl_display* display_;
    std::atomic<bool> stop_{false};
    std::thread serving_;
};

const std::vector<const wl_interface*> kWhole{&wl_compositor_interface, &wl_shm_interface,
                                              &kDesktopShell, &wl_seat_interface,
                                              &wl_output_interface};

// The player's own driver and a desktop without Wayland are left to SDL.
TEST(VideoDriverTest, WaylandWhereTheCompositorOffersAllElseX11WithTheReason) {
    const std::vector<const wl_interface*> seatless{&wl_compositor_interface, &wl_shm_interface,
                                                    &kDesktopShell, &wl_output_interface};
    const std::string compositor = "the Wayland compositor ";
    const struct {
        std::vector<const wl_interface*> globals;
        bool answers;
        const char* player;
        const char* name;
        std::string drivers;
        std::string fallback;
    } cases[] = {
        {kWhole, true, nullptr, "wayland-test", "wayland,x11", ""},
        {seatless, true, nullptr, "wayland-test", "x11",
         compositor + "wayland-test offers no input seat (wl_seat)"},
        {kWhole, false, nullptr, "wayland-test", "x11",
         compositor + "wayland-test does not answer"},
        {kWhole, true, nullptr, "wayland-none", "x11",
         compositor + "wayland-none cannot be reached"},
        {kWhole, true, "x11", "wayland-test", "", ""},
        {kWhole, true, nullptr, nullptr, "", ""},
    };
    for (const auto& c : cases) {
        const Compositor running(c.globals, c.answers);
        const platform::VideoDriverChoice choice = ChooseVideoDriver(c.player, c.name);
        EXPECT_EQ(choice.drivers, c.drivers) << c.fallback;
        EXPECT_EQ(choice.fallback, c.fallback);
        EXPECT_EQ(choice.wantsWayland, c.drivers == "wayland,x11");
    }
}

}  // namespace
