// The real services in the browser. The game keeps its own loops: at every frame it shows, the
// program gives the browser its turn until the next animation frame, and a sleep gives the
// browser its time, so that the page draws, plays the sound and takes the input. Asyncify winds
// the game's stack down to hand the turn over and up again to take it back.
#include <emscripten.h>
#include <sys/prctl.h>

#include <cerrno>

#include "platform/sdl/display.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_services.h"
#include "platform/sdl/video_driver.h"
#include "platform/sdl/web_drops.h"

namespace platform {

namespace {

// The longest the game holds on to the processor without giving the browser its turn.
constexpr std::uint64_t kLongestHoldMicros = 50'000;

// Waits for the browser's next animation frame, or for its next turn where no frame is drawn
// (a hidden page, Node).
EM_JS(void, zintrel_wait_for_frame, (), {
    Asyncify.handleSleep(function(wakeUp) {
        if (typeof document == "object" && !document.hidden) {
            requestAnimationFrame(function() { wakeUp(); });
        } else {
            setTimeout(wakeUp, 0);
        }
    });
});

// The page keeps how long the program worked on each of the last frames shown, in milliseconds:
// from the animation frame to the frame shown, less the time it slept.
EM_JS(void, zintrel_note_frame, (double milliseconds), {
    var times = Module["zintrelFrameTimes"] = Module["zintrelFrameTimes"] || [];
    times.push(milliseconds);
    if (times.length > 10000) {
        times.shift();
    }
});

// Tells the page that the game has closed its window: the program ends without handing the
// browser another turn.
EM_JS(void, zintrel_window_closed, (), {
    if (Module["zintrelClosed"]) {
        Module["zintrelClosed"]();
    }
});

// Sleeps hand the browser their time.
class WebClock : public SdlClock {
  public:
    void SleepMicros(std::uint64_t micros) override {
        const std::uint64_t start = NowMicros();
        emscripten_sleep(static_cast<unsigned>((micros + 999) / 1000));
        Rested(start);
    }
    // Gives the browser its turn: until its next animation frame after a frame was shown on a
    // screen someone watches, or at once when the game has held on for long.
    void TakeTurn(bool frameShown) {
        const std::uint64_t start = NowMicros();
        if (frameShown) {
            if (turnStart_ != 0) {
                zintrel_note_frame(static_cast<double>(start - turnStart_ - slept_) / 1000);
            }
            zintrel_wait_for_frame();
            turnStart_ = NowMicros();
            slept_ = 0;
            lastTurn_ = turnStart_;
        } else if (start - lastTurn_ > kLongestHoldMicros) {
            emscripten_sleep(0);
            Rested(start);
        }
    }

  private:
    void Rested(std::uint64_t since) {
        lastTurn_ = NowMicros();
        slept_ += lastTurn_ - since;
    }

    std::uint64_t lastTurn_ = 0;   // when the browser last had its turn
    std::uint64_t turnStart_ = 0;  // when the frame under way began; 0: none yet
    std::uint64_t slept_ = 0;      // what the frame under way slept
};

// The window system's events, after the browser's turn and the files dropped on the page.
class WebInput : public InputSource {
  public:
    WebInput(WebClock& clock, const WindowSystem& windows) : clock_(clock), windows_(windows) {}
    void Poll(int pass, std::deque<InputEvent>& queue) override {
        const int shown = Display::Get().PresentedFrames();
        clock_.TakeTurn(shown != shownAtTurn_ && windows_.Watched());
        shownAtTurn_ = shown;
        TakeDroppedFiles();
        sdl_.Poll(pass, queue);
    }

  private:
    WebClock& clock_;
    const WindowSystem& windows_;
    SdlInput sdl_;
    int shownAtTurn_ = 0;
};

// The window system, which tells the page when the game has ended.
class WebWindowSystem : public SdlWindowSystem {
  public:
    void Close() override {
        SdlWindowSystem::Close();
        zintrel_window_closed();
    }
};

}  // namespace

namespace {

void UseWeb(bool onScreen) {
    static WebClock clock;
    static WebWindowSystem windows;
    static WebInput input(clock, windows);
    windows.SetOnScreen(onScreen);
    UseServices(clock, input, windows, SdlAudio());
}

}  // namespace

void UseSdlServices() {
    UseWeb(true);
}

// The page never asks for these: a video is made by the desktop build.
void UseHeadlessSdlServices() {
    UseWeb(false);
    System().settingsFile = "";
}

// The browser has one video driver, the page's canvas.
VideoDriverChoice ChooseVideoDriver(const char*, const char*) {
    return {};
}

}  // namespace platform

// The browser has no processes to control: the guard of the desktop's dialogs, which the page
// never shows, asks in vain.
extern "C" int prctl(int, ...) {
    errno = EINVAL;
    return -1;
}
