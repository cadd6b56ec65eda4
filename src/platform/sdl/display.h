// The window and its presentation: full screen or windowed, the 640 by 480 frame scaled to fit
// and shown once a refresh; the mouse's grab; the player's settings kept between runs and
// applied. Internal to the platform layer.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/wintypes.h"
#include "platform/sdl/settings.h"

namespace platform {

struct SurfaceState;

class Display {
  public:
    static Display& Get();

    // Creates the window with its caption where the settings file says: full screen on the
    // desktop's own mode unless the player left the game in a window.
    void Open(const std::string& caption);
    // Writes the settings when they changed, then destroys the window.
    void Close();
    SDL_Window* Window() const { return window_; }

    void SetFullscreen(bool fullscreen);
    bool Fullscreen() const { return fullscreen_; }
    void ToggleFullscreen() { SetFullscreen(!fullscreen_); }

    // The application gained or lost the focus. Full screen, losing it loses every surface.
    void FocusChanged(bool active);
    // Whether a game is being played; see platform::SetGameInPlay.
    void SetGameInPlay(bool inPlay);
    // While the game hides the pointer, the mouse is grabbed (it reports motion only and the
    // pointer stays hidden): always in full screen; in a window only while a game is being
    // played and the window has the focus, the desktop's pointer being free and shown otherwise.
    void UpdateGrab();
    bool MouseGrabbed() const { return grabbed_; }

    // Shows a 640 by 480 RGB565 frame, scaled with its aspect ratio kept as the settings say:
    // sharp (nearest-neighbour to the largest whole multiple, then smoothly to the final size),
    // pixel-exact (whole multiples only) or smooth. Where the renderer offers it,
    // showing waits for the display's vertical blank, so that no frame tears. A frame equal to
    // the one on show is not uploaded and scaled again, unless the window needs drawing anew.
    void Present(SDL_Surface* frame);
    // Frames shown by flips, and those of them uploaded and scaled.
    int PresentedFrames() const { return presented_; }
    int DrawnFrames() const { return drawn_; }
    // The frame on show; null before the first.
    const SDL_Surface* ShownFrame() const { return shown_; }

    // The game's screen pixel under a point of the window (in the window's pixels): the picture
    // is scaled into the window's largest 4:3 rectangle (of whole multiples when pixel-exact),
    // and a point on the black bars beside it gives the nearest edge of the picture.
    POINT GamePoint(double x, double y) const;
    // Where the game's 640 by 480 picture is shown in an area of this size.
    static SDL_Rect Picture(int width, int height, Scaling scaling);

    // The player's settings, read when the window opens.
    const Settings& PlayerSettings() const { return settings_; }
    const ControlSettings& Controls() const { return settings_.controls; }
    // Changes the settings, applies them at once and writes them to the settings file.
    void ChangeSettings(const std::function<void(Settings&)>& change);
    // Counts the changes of the settings, made by the player or by the window.
    int SettingsChanges() const { return changes_; }

    // Every surface object alive, so that focus loss can lose them all.
    std::vector<SurfaceState*> surfaces;
    // Something outside the game (the window system, a test) loses every surface; a replay
    // leaves this to its record.
    void LoseAllSurfaces();
    void DropSurfaces();

  private:
    // Notes the window system's events after which the window must be drawn anew.
    static int WatchWindow(void* display, SDL_Event* event);
    void EnsureRenderer();
    void Draw();
    void ReadSettings();
    // Gives the audio the player's volumes.
    void ApplyVolumes() const;
    // Follows the window to its display's refresh rate and keeps its settings.
    void FollowWindow();
    // Writes the settings when they changed: at once, or when the last write is a while ago.
    void KeepSettings(bool now);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* frame_ = nullptr;
    SDL_Texture* scaled_ = nullptr;
    int scale_ = 0;
    bool fullscreen_ = true;
    bool placesWindows_ = true;  // the program chooses its window's place
    int presented_ = 0;
    int drawn_ = 0;
    SDL_Surface* shown_ = nullptr;  // a copy of the frame on show, owned
    std::atomic<bool> redraw_{false};
    int displayIndex_ = -1;
    bool focused_ = true;
    bool inPlay_ = false;
    bool grabbed_ = false;
    std::string settingsPath_;  // empty: not kept
    Settings settings_;
    std::optional<Settings> saved_;  // what the file holds, when known
    int changes_ = 0;
    std::uint64_t savedAt_ = 0;
    bool saveFailed_ = false;
};

}  // namespace platform
