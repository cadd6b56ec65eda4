// The SDL window, full-screen switching, the mouse's grab, the player's settings and the scaled
// presentation of finished frames.
#include "platform/sdl/display.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/api/audio.h"
#include "platform/api/debug.h"
#include "platform/api/services.h"
#include "platform/sdl/frame_pacing.h"
#include "platform/sdl/surface_state.h"
#include "platform/session/session.h"

namespace platform {

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// While the window moves or changes size, its settings are written at most this often.
constexpr std::uint64_t kSettleMicros = 250'000;

const std::uint8_t* Row(const SDL_Surface& s, int y) {
    return static_cast<const std::uint8_t*>(s.pixels) + static_cast<std::ptrdiff_t>(y) * s.pitch;
}

// Frames are 640 by 480 RGB565; their rows may be padded differently.
constexpr std::size_t kRowBytes = kScreenWidth * 2;

bool SamePixels(const SDL_Surface& a, const SDL_Surface& b) {
    for (int y = 0; y < kScreenHeight; ++y) {
        if (std::memcmp(Row(a, y), Row(b, y), kRowBytes) != 0) {
            return false;
        }
    }
    return true;
}

void CopyFrame(const SDL_Surface& from, SDL_Surface& to) {
    for (int y = 0; y < kScreenHeight; ++y) {
        std::memcpy(const_cast<std::uint8_t*>(Row(to, y)), Row(from, y), kRowBytes);
    }
}

// The largest whole multiple of the game's size that fits an area; at least 1.
int WholeMultiple(int width, int height) {
    return std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
}

std::vector<DesktopRect> UsableDisplayAreas() {
    std::vector<DesktopRect> areas;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect area;
        if (SDL_GetDisplayUsableBounds(i, &area) == 0) {
            areas.push_back({area.x, area.y, area.w, area.h});
        }
    }
    return areas;
}

// For ZINTREL_DEBUG: the renderer, and the pixels it draws on, which outnumber the window's on a
// scaled output.
void NoteDrawing(SDL_Renderer* renderer, SDL_Window* window, int width, int height) {
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    const bool synced = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    OutputDebugStringA(("zintrel: " + std::string(info.name) + " draws on " +
                        std::to_string(width) + "x" + std::to_string(height) +
                        " pixels for a window of " + std::to_string(windowWidth) + "x" +
                        std::to_string(windowHeight) + (synced ? ", in step with the display" : ""))
                           .c_str());
}

}  // namespace

Display& Display::Get() {
    static Display display;
    return display;
}

int Display::WatchWindow(void* display, SDL_Event* event) {
    const bool redraw =
        (event->type == SDL_WINDOWEVENT && (event->window.event == SDL_WINDOWEVENT_EXPOSED ||
                                            event->window.event == SDL_WINDOWEVENT_SHOWN ||
                                            event->window.event == SDL_WINDOWEVENT_RESTORED ||
                                            event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) ||
        event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET;
    if (redraw) {
        static_cast<Display*>(display)->redraw_ = true;
    }
    return 1;
}

void Display::Open(const std::string& caption) {
    if (window_ != nullptr) {
        return;
    }
    Services& sys = System();
    const char* driver = SDL_GetCurrentVideoDriver();
    sys.presents = driver == nullptr || SDL_strcmp(driver, "dummy") != 0;
    // A Wayland compositor places the windows itself and tells no program where.
    placesWindows_ = driver == nullptr || SDL_strcmp(driver, "wayland") != 0;
    // The software renderer draws into the window's own pixels; put on the screen through
    // another renderer, they would be uploaded and drawn a second time.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    ReadSettings();
    fullscreen_ = settings_.fullscreen;
    const std::vector<DesktopRect> displays = UsableDisplayAreas();
    const DesktopRect place = PlaceWindow(settings_, displays);
    SDL_Rect area{place.x, place.y, place.width, place.height};
    if (fullscreen_) {
        // Full screen starts at the display's own size, so that the window covers the screen
        // even where no window manager takes it there.
        const int count = SDL_GetNumVideoDisplays();
        SDL_GetDisplayBounds(settings_.display < count ? settings_.display : 0, &area);
    }
    // On a scaled output the picture is drawn at the output's own pixels, not enlarged after.
    const Uint32 flags = (fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE) |
                         SDL_WINDOW_ALLOW_HIGHDPI;
    window_ = SDL_CreateWindow(caption.c_str(), area.x, area.y, area.w, area.h, flags);
    if (window_ == nullptr) {
        throw Exception(std::string("Cannot create the game window: ") + SDL_GetError());
    }
    SDL_SetWindowMinimumSize(window_, kMinWindowWidth, kMinWindowHeight);
    SDL_DisableScreenSaver();
    SDL_AddEventWatch(&Display::WatchWindow, this);
    focused_ = true;
    inPlay_ = false;
    displayIndex_ = -1;
    FollowWindow();
    UpdateGrab();
}

void Display::Close() {
    if (window_ != nullptr) {
        FollowWindow();
        KeepSettings(true);
        SDL_DelEventWatch(&Display::WatchWindow, this);
    }
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
    SDL_FreeSurface(shown_);
    shown_ = nullptr;
    scaled_ = frame_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    scale_ = 0;
    fullscreen_ = true;
    grabbed_ = false;
    presented_ = drawn_ = 0;
    saved_.reset();
    saveFailed_ = false;
}

void Display::ReadSettings() {
    const std::optional<std::string>& chosen = System().settingsFile;
    settingsPath_ = chosen ? *chosen : ProcessSettingsFilePath();
    if (settingsPath_.empty()) {
        if (!chosen) {
            std::fprintf(stderr,
                         "zintrel: neither XDG_CONFIG_HOME nor HOME names a folder; the "
                         "settings are not kept\n");
        }
        settings_ = Settings{};
        saved_.reset();
    } else {
        const LoadedSettings loaded = LoadSettings(settingsPath_);
        for (const std::string& problem : loaded.problems) {
            std::fprintf(stderr, "zintrel: %s\n", problem.c_str());
        }
        settings_ = loaded.settings;
        saved_ = loaded.onDisk;
    }
    ++changes_;
    ApplyVolumes();
}

void Display::ApplyVolumes() const {
    SetPlayerVolumes(settings_.sound.effects / 100.0, settings_.sound.music / 100.0);
}

void Display::ChangeSettings(const std::function<void(Settings&)>& change) {
    Settings changed = settings_;
    change(changed);
    const Settings before = settings_;
    settings_ = changed;
    ++changes_;
    if (changed.fullscreen != before.fullscreen) {
        SetFullscreen(changed.fullscreen);
    }
    if (changed.scaling != before.scaling) {
        redraw_ = true;
    }
    if (changed.sound != before.sound) {
        ApplyVolumes();
    }
    KeepSettings(true);
}

void Display::SetFullscreen(bool fullscreen) {
    fullscreen_ = fullscreen;
    settings_.fullscreen = fullscreen;
    ++changes_;
    if (window_ == nullptr) {
        return;
    }
    SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullscreen) {
        // Back in a window, it takes the place and size it had.
        const DesktopRect place = PlaceWindow(settings_, UsableDisplayAreas());
        SDL_SetWindowSize(window_, place.width, place.height);
        SDL_SetWindowPosition(window_, place.x, place.y);
    }
    redraw_ = true;
    UpdateGrab();
}

void Display::FocusChanged(bool active) {
    if (!active && fullscreen_) {
        LoseAllSurfaces();
    }
    focused_ = active;
    UpdateGrab();
}

void Display::SetGameInPlay(bool inPlay) {
    if (inPlay != inPlay_) {
        inPlay_ = inPlay;
        UpdateGrab();
    }
}

void Display::UpdateGrab() {
    const bool hidden = System().cursorCount < 0;
    grabbed_ = hidden && (fullscreen_ || (inPlay_ && focused_));
    if (window_ != nullptr) {
        SDL_SetRelativeMouseMode(grabbed_ ? SDL_TRUE : SDL_FALSE);
    }
}

void Display::LoseAllSurfaces() {
    if (SessionLosesSurfaces()) {
        DropSurfaces();
    }
}

void Display::DropSurfaces() {
    for (SurfaceState* surface : surfaces) {
        surface->Lose();
    }
}

void Display::FollowWindow() {
    if (window_ == nullptr) {
        return;
    }
    Services& sys = System();
    const int index = SDL_GetWindowDisplayIndex(window_);
    if (index != displayIndex_) {
        displayIndex_ = index;
        SDL_DisplayMode mode{};
        if (sys.refreshFromDisplay) {
            const bool known = index >= 0 && SDL_GetDesktopDisplayMode(index, &mode) == 0;
            sys.frameIntervalMicros = RefreshInterval(known ? mode.refresh_rate : 0);
        }
    }
    const Uint32 flags = SDL_GetWindowFlags(window_);
    // The window system may take the window out of full screen or into it (sway takes a window
    // it hides out of it): the game follows.
    if (const bool fullscreen = (flags & SDL_WINDOW_FULLSCREEN) != 0; fullscreen != fullscreen_) {
        fullscreen_ = fullscreen;
        UpdateGrab();
    }
    settings_.fullscreen = fullscreen_;
    if (index >= 0) {
        settings_.display = index;
    }
    if (!fullscreen_ &&
        (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0) {
        DesktopRect place;
        if (placesWindows_) {
            SDL_GetWindowPosition(window_, &place.x, &place.y);
        }
        SDL_GetWindowSize(window_, &place.width, &place.height);
        // A window manager that lets the window be made smaller than the game gets it back at
        // the game's own size, and the settings never keep a size the next start refuses.
        if (place.width < kMinWindowWidth || place.height < kMinWindowHeight) {
            place.width = std::max(place.width, kMinWindowWidth);
            place.height = std::max(place.height, kMinWindowHeight);
            SDL_SetWindowSize(window_, place.width, place.height);
        }
        settings_.window = place;
        settings_.placed = placesWindows_;
    }
    KeepSettings(false);
}

void Display::KeepSettings(bool now) {
    if (settingsPath_.empty() || saveFailed_ || saved_ == settings_) {
        return;
    }
    const std::uint64_t time = NowMicros();
    if (!now && saved_ && time < savedAt_ + kSettleMicros) {
        return;
    }
    savedAt_ = time;
    const std::string problem = SaveSettings(settingsPath_, settings_);
    if (!problem.empty()) {
        std::fprintf(stderr, "zintrel: the window's settings are not kept: %s\n", problem.c_str());
        saveFailed_ = true;
        return;
    }
    saved_ = settings_;
}

void Display::EnsureRenderer() {
    if (renderer_ == nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
        if (renderer_ == nullptr) {
            renderer_ = SDL_CreateRenderer(window_, -1, 0);
        }
        if (renderer_ == nullptr) {
            return;
        }
        frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                   kScreenWidth, kScreenHeight);
    }
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    const int scale = WholeMultiple(width, height);
    if (scale != scale_) {
        if (scaled_ != nullptr) {
            SDL_DestroyTexture(scaled_);
        }
        scaled_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                    kScreenWidth * scale, kScreenHeight * scale);
        SDL_SetTextureScaleMode(scaled_, SDL_ScaleModeLinear);
        scale_ = scale;
        NoteDrawing(renderer_, window_, width, height);
    }
}

void Display::Present(SDL_Surface* frame) {
    ++presented_;
    const bool redraw = redraw_.exchange(false);
    if (shown_ != nullptr && !redraw && SamePixels(*shown_, *frame)) {
        FollowWindow();
        return;
    }
    if (shown_ == nullptr) {
        shown_ = SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 16,
                                                SDL_PIXELFORMAT_RGB565);
        if (shown_ == nullptr) {
            throw std::bad_alloc();
        }
    }
    CopyFrame(*frame, *shown_);
    ++drawn_;
    if (!System().presents || window_ == nullptr) {
        return;
    }
    EnsureRenderer();
    if (renderer_ == nullptr || frame_ == nullptr) {
        return;
    }
    SDL_UpdateTexture(frame_, nullptr, frame->pixels, frame->pitch);
    Draw();
    SDL_RenderPresent(renderer_);
    FollowWindow();
}

SDL_Rect Display::Picture(int width, int height, Scaling scaling) {
    // The largest 4:3 rectangle that fits, centred, with black bars around it; pixel-exact, the
    // largest whole multiple of the game's size.
    SDL_Rect picture{0, 0, width, width * kScreenHeight / kScreenWidth};
    if (scaling == Scaling::PixelExact) {
        const int scale = WholeMultiple(width, height);
        picture.w = kScreenWidth * scale;
        picture.h = kScreenHeight * scale;
    } else if (picture.h > height) {
        picture.h = height;
        picture.w = height * kScreenWidth / kScreenHeight;
    }
    picture.x = (width - picture.w) / 2;
    picture.y = (height - picture.h) / 2;
    return picture;
}

POINT Display::GamePoint(double x, double y) const {
    int width = kScreenWidth;
    int height = kScreenHeight;
    if (window_ != nullptr) {
        SDL_GetWindowSize(window_, &width, &height);
    }
    const SDL_Rect picture = Picture(width, height, settings_.scaling);
    const auto scale = [](double at, int start, int length, int size) {
        const double inside = (at - start) * size / std::max(1, length);
        return std::clamp<LONG>(static_cast<LONG>(std::floor(inside)), 0, size - 1);
    };
    return POINT{scale(x, picture.x, picture.w, kScreenWidth),
                 scale(y, picture.y, picture.h, kScreenHeight)};
}

void Display::Draw() {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    const SDL_Rect target = Picture(width, height, settings_.scaling);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    // Sharp at a whole multiple of one is smooth: drawn at once, without the copy between,
    // whose change of target makes a browser wait for its drawing to finish.
    const bool smooth = settings_.scaling == Scaling::Smooth ||
                        (settings_.scaling == Scaling::Sharp && scale_ == 1);
    SDL_SetTextureScaleMode(frame_, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    // A whole multiple that fills the rectangle needs no smoothing: one nearest-neighbour copy.
    if (!smooth && target.w != kScreenWidth * scale_ && scaled_ != nullptr &&
        SDL_SetRenderTarget(renderer_, scaled_) == 0) {
        SDL_RenderCopy(renderer_, frame_, nullptr, nullptr);
        SDL_SetRenderTarget(renderer_, nullptr);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, scaled_, nullptr, &target);
    } else {
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, frame_, nullptr, &target);
    }
}

}  // namespace platform
