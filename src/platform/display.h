// The window and its presentation: full screen or windowed, the 640 by 480 frame scaled to fit.
// Internal to the platform layer.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace platform {

struct SurfaceState;

class Display {
  public:
    static Display& Get();

    // Creates the window (full screen on the desktop's own mode) with its caption.
    void Open(const std::string& caption);
    void Close();
    bool IsOpen() const { return window_ != nullptr; }
    SDL_Window* Window() const { return window_; }

    void SetFullscreen(bool fullscreen);
    bool Fullscreen() const { return fullscreen_; }
    void ToggleFullscreen() { SetFullscreen(!fullscreen_); }

    // Shows a 640 by 480 RGB565 frame, scaled with its aspect ratio kept: nearest-neighbour to
    // the largest whole multiple, then smoothly to the final size.
    void Present(SDL_Surface* frame);
    int PresentedFrames() const { return presented_; }

    // Every surface object alive, so that focus loss can lose them all.
    std::vector<SurfaceState*> surfaces;
    void LoseAllSurfaces();

  private:
    void EnsureRenderer();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* frame_ = nullptr;
    SDL_Texture* scaled_ = nullptr;
    int scale_ = 0;
    bool fullscreen_ = true;
    int presented_ = 0;
};

}  // namespace platform
