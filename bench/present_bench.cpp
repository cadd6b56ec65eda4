// The cost of showing a frame: a new frame uploaded, scaled to 1024 by 768 (the nearest-neighbour
// pass, then the smooth one) and presented by SDL's software renderer, against a frame equal to
// the one on show, which is compared and not drawn again.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/sdl/display.h"
#include "platform/api/forms.h"
#include "support/harness.h"
#include "platform/api/services.h"

namespace {

// The display, full screen on the dummy driver's 1024 by 768 desktop, presenting as it would on
// a real screen.
struct Screen {
    Screen() {
        SDL_setenv("SDL_RENDER_DRIVER", "software", 1);
        Application.Initialize();
        platform::Display::Get().Open("present_bench");
        platform::System().presents = true;
        for (SDL_Surface*& frame : frames) {
            frame = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
        }
        // Two frames of the same busy picture, a pixel apart.
        for (int i = 0; i < 640 * 480; ++i) {
            static_cast<std::uint16_t*>(frames[0]->pixels)[i] = static_cast<std::uint16_t>(i * 7);
        }
        std::memcpy(frames[1]->pixels, frames[0]->pixels, 640 * 480 * 2);
        static_cast<std::uint16_t*>(frames[1]->pixels)[320 * 240] ^= 0xFFFF;
    }
    ~Screen() {
        for (SDL_Surface* frame : frames) {
            SDL_FreeSurface(frame);
        }
    }
    platform::Harness harness;
    SDL_Surface* frames[2] = {};
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

void BM_PresentNewFrame(benchmark::State& state) {
    Screen& screen = TheScreen();
    int next = 0;
    for (auto _ : state) {
        platform::Display::Get().Present(screen.frames[next]);
        next ^= 1;
    }
}
BENCHMARK(BM_PresentNewFrame)->Unit(benchmark::kMillisecond);

void BM_PresentSameFrame(benchmark::State& state) {
    Screen& screen = TheScreen();
    platform::Display::Get().Present(screen.frames[0]);
    const int drawn = platform::Display::Get().DrawnFrames();
    for (auto _ : state) {
        platform::Display::Get().Present(screen.frames[0]);
    }
    if (platform::Display::Get().DrawnFrames() != drawn) {
        state.SkipWithError("an unchanged frame was drawn again");
    }
}
BENCHMARK(BM_PresentSameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
