// The cost of a busy play frame: the background and 120 sprites of the game's sheets composed
// into the blit queue and flushed to the back buffer, against a memcpy of the same bytes and
// against the same frame drawn with SDL's own keyed blit; and the masked collision test.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "assets/baked_resources.h"
#include "media/bltqueue.h"
#include "media/dxgraphic.h"
#include "support/harness.h"
#include "playfield/dxsprite.h"

namespace {

std::unique_ptr<TDXGraphic> Sheet(IDirectDraw2* dd, const char* name, int rows, int columns,
                                  int width, int height, bool masks) {
    auto sheet = TransparentGraphic();
    sheet->LoadFromResource(dd, name, rows, columns, width, height, true, masks);
    return sheet;
}

// A whole 24-bit BMP file of a 640 by 480 sky gradient, for the background.
std::vector<std::uint8_t> SkyPicture() {
    const int w = 640;
    const int h = 480;
    std::vector<std::uint8_t> file(54 + w * h * 3, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&file[at], &v, 4); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    file[26] = 1;
    file[28] = 24;
    for (int i = 0; i < w * h; ++i) {
        const int x = i % w;
        const int y = i / w;
        file[54 + i * 3] = static_cast<std::uint8_t>(200 + y / 10);
        file[54 + i * 3 + 1] = static_cast<std::uint8_t>(120 + y / 4);
        file[54 + i * 3 + 2] = static_cast<std::uint8_t>(x / 4);
    }
    return file;
}

// Everything a play frame draws, loaded once from the baked sheets.
struct Scene {
    Scene() {
        platform::SetModuleResources(BakedResources());
        DirectDrawCreate(nullptr, &dd, nullptr);
        DDSURFACEDESC desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = 1;
        dd->CreateSurface(&desc, &primary, nullptr);
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        primary->GetAttachedSurface(&caps, &back);

        background = OpaqueGraphic();
        background->LoadFromStream(dd, SkyPicture(), "Sky", 1, 1, 640, 480, false, false);
        gulls = Sheet(dd, "BmpGulls", 4, 9, 64, 64, true);
        balls = Sheet(dd, "BmpBallSheet", 4, 6, 42, 42, true);
        eggs = Sheet(dd, "BmpBonusEggs", 8, 13, 32, 32, true);
        misc = Sheet(dd, "BmpMisc", 1, 7, 64, 64, true);
        paddle = Sheet(dd, "BmpPaddle", 1, 5, 64, 42, true);
        explosion = Sheet(dd, "BmpExplosion", 1, 8, 64, 64, true);
        digits = Sheet(dd, "BmpDigits", 1, 13, 24, 24, false);

        // 120 sprites spread as a busy level spreads them, some reaching past the edges.
        std::uint32_t seed = 12345;
        auto next = [&](int range) {
            seed = seed * 22695477 + 1;
            return static_cast<int>((seed >> 16) & 32767) % range;
        };
        auto add = [&](TDXGraphic* sheet, int count, int frames, int minY, int maxY) {
            for (int i = 0; i < count; ++i) {
                TDXSprite s;
                s.Sheet = sheet;
                s.Frame = next(frames);
                s.X = next(640 + sheet->FrameWidth) - sheet->FrameWidth / 2;
                s.Y = minY + next(maxY - minY);
                sprites.push_back(s);
            }
        };
        add(gulls.get(), 40, 36, -20, 300);
        add(misc.get(), 16, 5, 40, 420);  // bombs
        add(eggs.get(), 20, 104, 60, 450);
        add(balls.get(), 8, 24, 100, 440);
        add(explosion.get(), 3, 8, 80, 400);
        add(paddle.get(), 3, 5, 438, 439);  // the paddle and its two shots
        for (int i = 0; i < 30; ++i) {      // the status line
            TDXSprite d;
            d.Sheet = digits.get();
            d.Frame = i % 13;
            d.X = 4 + i * 21;
            d.Y = 2;
            sprites.push_back(d);
        }
        Compose();
        for (int i = 0; i < queue.Count; ++i) {
            const RECT& r = queue.Entries[i].Dest;
            bytes += static_cast<std::size_t>(r.right - r.left) * (r.bottom - r.top) * 2;
        }
    }

    void Compose() {
        queue.Reset();
        background->QueueFrame(queue, 0, 0, 0);
        for (const TDXSprite& s : sprites) {
            s.QueueDraw(queue);
        }
    }

    platform::Harness harness;
    IDirectDraw2* dd = nullptr;
    IDirectDrawSurface3* primary = nullptr;
    IDirectDrawSurface3* back = nullptr;
    std::unique_ptr<TDXGraphic> background, gulls, balls, eggs, misc, paddle, explosion, digits;
    std::vector<TDXSprite> sprites;
    BltQueue queue;
    std::size_t bytes = 0;  // pixels written by one frame, two bytes each
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_BusyFrame(benchmark::State& state) {
    Scene& scene = TheScene();
    for (auto _ : state) {
        scene.Compose();
        while (!scene.queue.Flush(scene.back)) {
        }
        benchmark::ClobberMemory();
    }
    state.counters["blits"] = scene.queue.Count;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scene.bytes));
}
BENCHMARK(BM_BusyFrame);

void BM_BusyFrameMemcpyBound(benchmark::State& state) {
    Scene& scene = TheScene();
    std::vector<std::uint8_t> from(scene.bytes, 1);
    std::vector<std::uint8_t> to(scene.bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), scene.bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scene.bytes));
}
BENCHMARK(BM_BusyFrameMemcpyBound);

// The same frame as a plain SDL program draws it: RGB565 copies of the sheets with SDL's colour
// key, and SDL_BlitSurface for each of the queued rectangles.
void BM_BusyFrameSdlBlit(benchmark::State& state) {
    Scene& scene = TheScene();
    scene.Compose();
    struct Copy {
        SDL_Surface* source;
        SDL_Rect from;
        SDL_Rect to;
    };
    std::vector<std::pair<IDirectDrawSurface3*, SDL_Surface*>> sheets;
    std::vector<Copy> copies;
    for (int i = 0; i < scene.queue.Count; ++i) {
        const BltEntry& e = scene.queue.Entries[i];
        SDL_Surface* copy = nullptr;
        for (auto& [surface, sdl] : sheets) {
            copy = surface == e.SourceSurface ? sdl : copy;
        }
        if (copy == nullptr) {
            DDSURFACEDESC desc;
            e.SourceSurface->Lock(nullptr, &desc, 0, nullptr);
            copy = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(desc.dwWidth),
                                                  static_cast<int>(desc.dwHeight), 16,
                                                  SDL_PIXELFORMAT_RGB565);
            for (DWORD row = 0; row < desc.dwHeight; ++row) {
                std::memcpy(static_cast<std::uint8_t*>(copy->pixels) + row * copy->pitch,
                            static_cast<const std::uint8_t*>(desc.lpSurface) + row * desc.lPitch,
                            desc.dwWidth * 2);
            }
            if ((e.FastFlags & DDBLTFAST_SRCCOLORKEY) != 0) {
                SDL_SetColorKey(copy, SDL_TRUE, *static_cast<const std::uint16_t*>(desc.lpSurface));
            }
            e.SourceSurface->Unlock(nullptr);
            sheets.emplace_back(e.SourceSurface, copy);
        }
        copies.push_back({copy,
                          {e.Source.left, e.Source.top, e.Source.right - e.Source.left,
                           e.Source.bottom - e.Source.top},
                          {e.Dest.left, e.Dest.top, 0, 0}});
    }
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    for (auto _ : state) {
        for (Copy& c : copies) {
            SDL_Rect to = c.to;
            SDL_BlitSurface(c.source, &c.from, target, &to);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scene.bytes));
    SDL_FreeSurface(target);
    for (auto& [surface, sdl] : sheets) {
        SDL_FreeSurface(sdl);
    }
}
BENCHMARK(BM_BusyFrameSdlBlit);

// Two gulls whose 64-pixel frames overlap: the box test passes and the masks decide.
void BM_CollidesMasked64(benchmark::State& state) {
    Scene& scene = TheScene();
    TDXSprite a;
    a.Sheet = scene.gulls.get();
    a.X = 100;
    a.Y = 100;
    TDXSprite b = a;
    b.Frame = 9;
    b.X = 150;
    b.Y = 140;
    for (auto _ : state) {
        // The sprites count as changed every time, so nothing of the test is hoisted.
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(a.Collides(b));
    }
}
BENCHMARK(BM_CollidesMasked64);

}  // namespace

BENCHMARK_MAIN();
