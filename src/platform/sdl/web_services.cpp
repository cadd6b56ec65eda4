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
#include "platform/sdl/web_drops.h"

namespace platform {

namespace {

// The longest the game holds on to the processor without giving the browser its turn.
constexpr std::uint64_t kLongestHoldMicros = 50'000;

// Waits for the browser's next animation frame, or for its next turn where no frame is drawn
// (a hidden page, Node). The page keeps how long the program worked on each of the last frames,
// from its turn's start to the frame shown, in milliseconds.
EM_JS(void, zintrel_wait_for_frame, (), {
    var times = Module["zintrelFrameTimes"] = Module["zintrelFrameTimes"] || [];
    if (Module["zintrelTurnStart"]) {
        times.push(performance.now() - Module["zintrelTurnStart"]);
        if (times.length > 10000) {
            times.shift();
        }
    }
    Asyncify.handleSleep(function(wakeUp) {
        var turn = function() {
            Module["zintrelTurnStart"] = performance.now();
            wakeUp();
        };
        if (typeof document == "object" && !document.hidden) {
            requestAnimationFrame(turn);
        } else {
            setTimeout(turn, 0);
        }
    });
});

// Sleeps hand the browser their time.
class WebClock : public SdlClock {
  public:
    void SleepMicros(std::uint64_t micros) override {
        emscripten_sleep(static_cast<unsigned>((micros + 999) / 1000));
        lastTurn_ = NowMicros();
    }
    // Gives the browser its turn: until its next animation frame after a frame was shown on a
    // screen someone watches, or at once when the game has held on for long.
    void TakeTurn(bool frameShown) {
        if (frameShown) {
            zintrel_wait_for_frame();
        } else if (NowMicros() - lastTurn_ > kLongestHoldMicros) {
            emscripten_sleep(0);
        } else {
            return;
        }
        lastTurn_ = NowMicros();
    }

  private:
    std::uint64_t lastTurn_ = 0;
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

}  // namespace

void UseSdlServices() {
    static WebClock clock;
    static SdlWindowSystem windows;
    static WebInput input(clock, windows);
    UseServices(clock, input, windows, SdlAudio());
}

}  // namespace platform

// The browser has no processes to control: the guard of the desktop's dialogs, which the page
// never shows, asks in vain.
extern "C" int prctl(int, ...) {
    errno = EINVAL;
    return -1;
}
