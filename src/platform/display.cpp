// The SDL window, full-screen switching and the scaled presentation of finished frames.
#include "platform/display.h"

#include <algorithm>

#include "platform/services.h"
#include "platform/surface_state.h"

namespace platform {

namespace {
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
}  // namespace

Display& Display::Get() {
    static Display display;
    return display;
}

void Display::Open(const std::string& caption) {
    if (window_ != nullptr) {
        return;
    }
    Services& sys = System();
    const char* driver = SDL_GetCurrentVideoDriver();
    sys.presents = driver == nullptr || SDL_strcmp(driver, "dummy") != 0;
    // Full screen starts at the desktop's own size, so that the window covers the screen even
    // where no window manager takes it there.
    SDL_Rect area{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * 2,
                  kScreenHeight * 2};
    if (fullscreen_) {
        SDL_GetDisplayBounds(0, &area);
    }
    const Uint32 flags = fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
    window_ = SDL_CreateWindow(caption.c_str(), area.x, area.y, area.w, area.h, flags);
    if (window_ == nullptr) {
        throw Exception(std::string("Cannot create the game window: ") + SDL_GetError());
    }
    SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
    SDL_DisableScreenSaver();
}

void Display::Close() {
    if (scaled_ != nullptr) {
        SDL_DestroyTexture(scaled_);
    }
    if (frame_ != nullptr) {
        SDL_DestroyTexture(frame_);
    }
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
    }
    scaled_ = frame_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    scale_ = 0;
    fullscreen_ = true;
}

void Display::SetFullscreen(bool fullscreen) {
    fullscreen_ = fullscreen;
    if (window_ == nullptr) {
        return;
    }
    SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullscreen) {
        SDL_SetWindowSize(window_, kScreenWidth * 2, kScreenHeight * 2);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void Display::LoseAllSurfaces() {
    for (SurfaceState* surface : surfaces) {
        surface->Lose();
    }
}

void Display::EnsureRenderer() {
    if (renderer_ == nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (renderer_ == nullptr) {
            return;
        }
        frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                   kScreenWidth, kScreenHeight);
        SDL_SetTextureScaleMode(frame_, SDL_ScaleModeNearest);
    }
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    const int scale = std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
    if (scale != scale_) {
        if (scaled_ != nullptr) {
            SDL_DestroyTexture(scaled_);
        }
        scaled_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                    kScreenWidth * scale, kScreenHeight * scale);
        SDL_SetTextureScaleMode(scaled_, SDL_ScaleModeLinear);
        scale_ = scale;
    }
}

void Display::Present(SDL_Surface* frame) {
    ++presented_;
    if (!System().presents || window_ == nullptr) {
        return;
    }
    EnsureRenderer();
    if (renderer_ == nullptr || frame_ == nullptr) {
        return;
    }
    SDL_UpdateTexture(frame_, nullptr, frame->pixels, frame->pitch);
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    // The largest 4:3 rectangle that fits, centred, with black bars around it.
    SDL_Rect target{0, 0, width, width * kScreenHeight / kScreenWidth};
    if (target.h > height) {
        target.h = height;
        target.w = height * kScreenWidth / kScreenHeight;
    }
    target.x = (width - target.w) / 2;
    target.y = (height - target.h) / 2;
    if (scaled_ != nullptr && SDL_SetRenderTarget(renderer_, scaled_) == 0) {
        SDL_RenderCopy(renderer_, frame_, nullptr, nullptr);
        SDL_SetRenderTarget(renderer_, nullptr);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, scaled_, nullptr, &target);
    } else {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, frame_, nullptr, &target);
    }
    SDL_RenderPresent(renderer_);
}

}  // namespace platform
