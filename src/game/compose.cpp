// A frame of play: the field composed into the blit queue with the status line and the pause
// or game-over picture, and shown.
#include <string>

#include "game/znform.h"
#include "platform/api/cursor.h"

namespace {

constexpr int kStatusY = 4;
constexpr int kCell = 24;  // the width of one character cell of the digits
constexpr int kLivesSymbol = 10;
constexpr int kUmbrellaSymbol = 11;
constexpr int kPlaceSymbol = 12;
constexpr int kPauseFrame = 1;
constexpr int kGameOverFrame = 2;

std::string DigitsOf(std::int32_t value) {
    return std::to_string(value < 0 ? 0 : value);
}

// Queues the digits of a number from x rightwards.
void QueueDigits(TDXGraphic& digits, BltQueue& queue, const std::string& number, int x) {
    for (const char digit : number) {
        digits.QueueFrame(queue, digit - '0', x, kStatusY);
        x += kCell;
    }
}

}  // namespace

bool TKestovForm::ComposeFrame() {
    BltQueue.Reset();
    Background->QueueFrame(BltQueue, 0, 0, 0);
    QueueField(BltQueue);
    DrawStatus();
    if (GameState == gsPaused || GameState == gsGameOver) {
        const int frame = GameState == gsPaused ? kPauseFrame : kGameOverFrame;
        ZnText->QueueFrame(BltQueue, frame, (640 - ZnText->FrameWidth) / 2,
                           (480 - ZnText->FrameHeight) / 2);
    }
    return true;
}

void TKestovForm::DrawStatus() {
    // The score from the left, then the Hall of Fame place it has reached, after a gap.
    const std::string score = DigitsOf(Score);
    QueueDigits(*Digits, BltQueue, score, 4);
    if (HofRank < kHallOfFameSize) {
        const int symbolX = 4 + kCell * (static_cast<int>(score.size()) + 1);
        Digits->QueueFrame(BltQueue, kPlaceSymbol, symbolX, kStatusY);
        QueueDigits(*Digits, BltQueue, DigitsOf(HofRank + 1), symbolX + kCell);
    }

    // The lives against the right edge, each count with its symbol just before it; the
    // umbrellas two cells further left.
    const auto queueCount = [this](const std::string& number, int lastX, int symbol) {
        const int firstX = lastX - kCell * (static_cast<int>(number.size()) - 1);
        QueueDigits(*Digits, BltQueue, number, firstX);
        Digits->QueueFrame(BltQueue, symbol, firstX - kCell - 1, kStatusY);
    };
    const std::string lives = DigitsOf(Lives);
    queueCount(lives, 612, kLivesSymbol);
    if (Umbrellas != 0) {
        queueCount(DigitsOf(Umbrellas), 612 - kCell * static_cast<int>(lives.size()) - 2 * kCell,
                   kUmbrellaSymbol);
    }
}

std::string TKestovForm::GameOverPrompt() const {
    if (GameState != gsGameOver || HofRank >= kHallOfFameSize) {
        return {};
    }
    // A click, Enter or the controller's south button leads to the name entry; Space skips it.
    const std::string enter = InputDevice == platform::DeviceKind::Keys
                                  ? "ENTER"
                                  : platform::PadLabel(platform::PadButton::South, InputDevice);
    return "Press <" + enter + ">" + " to enter your name, <SPACE> to skip it";
}

void TKestovForm::ShowFrame() {
    ComposeFrame();
    while (!BltQueue.Flush(BackBuffer)) {
    }
    if (const std::string prompt = GameOverPrompt(); !prompt.empty()) {
        // Under the game-over picture.
        WriteGameLines({{(480 + ZnText->FrameHeight) / 2 + 14, prompt}}, 620);
    }
    FlipSurfaces(DDFLIP_WAIT);
}
