// The progress line of a video being made.
#include "platform/video/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace platform {

namespace {

constexpr auto kTerminalInterval = std::chrono::milliseconds(250);
constexpr double kPaceAfterSeconds = 1.0;

}  // namespace

Progress::Progress() : terminal_(isatty(STDERR_FILENO) != 0) {}

void Progress::Update(std::int64_t done, std::int64_t all) {
    const auto now = std::chrono::steady_clock::now();
    if (!shown_) {
        started_ = now;
    }
    if (terminal_) {
        if (!shown_ || now - shownAt_ >= kTerminalInterval) {
            shownAt_ = now;
            Show(done, all);
        }
        return;
    }
    const std::int64_t tenth = all > 0 ? done * 10 / all : 0;
    if (tenth > tenthShown_) {
        tenthShown_ = tenth;
        Show(done, all);
    }
}

void Progress::End(std::int64_t done, std::int64_t all) {
    if (terminal_ || tenthShown_ < 10) {
        Show(done, all);
    }
    if (terminal_) {
        std::fputc('\n', stderr);
    }
}

void Progress::Show(std::int64_t done, std::int64_t all) {
    shown_ = true;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const int percent =
        all > 0 ? static_cast<int>(std::min<std::int64_t>(done * 100 / all, 100)) : 0;
    // The time left is told once the pace so far says something of it.
    std::string left;
    if (seconds >= kPaceAfterSeconds && done > 0) {
        const auto rest =
            static_cast<long>(seconds * static_cast<double>(std::max<std::int64_t>(all - done, 0)) /
                              static_cast<double>(done));
        char text[48];
        std::snprintf(text, sizeof text, ", about %ld:%02ld left", rest / 60, rest % 60);
        left = text;
    }
    // On a terminal the line is written over the last, and what is left of that is cleared.
    std::fprintf(stderr, "%sVideo: %lld of %lld frames, %d%%%s%s", terminal_ ? "\r" : "",
                 static_cast<long long>(done), static_cast<long long>(all), percent, left.c_str(),
                 terminal_ ? "\033[K" : "\n");
    std::fflush(stderr);
}

}  // namespace platform
