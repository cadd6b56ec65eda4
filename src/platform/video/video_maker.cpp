// A video of a replay: the frames shown taken at their moments on the record's clock, scaled,
// and written with the mixed sound; the unfinished file removed on every way out but the end.
#include "platform/video/video_maker.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

#include "platform/api/forms.h"
#include "platform/session/recording.h"
#include "platform/video/encoder.h"

namespace platform {

namespace {

constexpr int kGameWidth = 640;
constexpr int kGameHeight = 480;
constexpr std::uint64_t kMicrosPerSecond = 1'000'000;
constexpr int kTerminationRequests[] = {SIGINT, SIGTERM, SIGHUP};

// The unfinished video, which a termination request removes.
const char* volatile g_unfinished = nullptr;
struct sigaction g_previous[std::size(kTerminationRequests)];

extern "C" void RemoveUnfinished(int request) {
    if (const char* path = g_unfinished) {
        unlink(path);
    }
    // The request then ends the program as it would have without the video.
    std::signal(request, SIG_DFL);
    std::raise(request);
}

// The frames of the video whose moments come before the time, or at it too.
std::int64_t FramesUntil(std::uint64_t micros, bool including) {
    const std::uint64_t scaled = micros * kVideoFramesPerSecond;
    return static_cast<std::int64_t>(including
                                         ? scaled / kMicrosPerSecond + 1
                                         : (scaled + kMicrosPerSecond - 1) / kMicrosPerSecond);
}

std::uint64_t MomentOf(std::int64_t frame) {
    return static_cast<std::uint64_t>(frame) * kMicrosPerSecond / kVideoFramesPerSecond;
}

// The colour of each RGB565 pixel as the encoder takes it: blue, green, red and an unused byte,
// each 5- or 6-bit value made 8-bit by repeating its top bits below it.
const std::vector<std::uint32_t>& Colours() {
    static const std::vector<std::uint32_t> colours = [] {
        std::vector<std::uint32_t> table(65536);
        for (std::uint32_t pixel = 0; pixel < table.size(); ++pixel) {
            const std::uint32_t red = pixel >> 11 & 31;
            const std::uint32_t green = pixel >> 5 & 63;
            const std::uint32_t blue = pixel & 31;
            table[pixel] = (blue << 3 | blue >> 2) | (green << 2 | green >> 4) << 8 |
                           (red << 3 | red >> 2) << 16;
        }
        return table;
    }();
    return colours;
}

}  // namespace

VideoMaker::VideoMaker(const std::string& path, int scale)
    : path_(path),
      unfinished_(path + ".part"),
      scale_(scale),
      shown_(static_cast<std::size_t>(kGameWidth * kGameHeight)),
      picture_(static_cast<std::size_t>(kGameWidth * scale * kGameHeight * scale)) {
    const std::optional<VideoKind> kind = VideoKindOf(path);
    if (!kind) {
        throw Exception("Cannot make the video " + path +
                        ": its name must end in .webm, .mkv or .mp4");
    }
    try {
        encoder_ = std::make_unique<VideoEncoder>(unfinished_, path_, *kind, kGameWidth * scale,
                                                  kGameHeight * scale);
    } catch (...) {
        std::remove(unfinished_.c_str());
        throw;
    }
    g_unfinished = unfinished_.c_str();
    struct sigaction removing {};
    removing.sa_handler = RemoveUnfinished;
    sigemptyset(&removing.sa_mask);
    for (std::size_t i = 0; i < std::size(kTerminationRequests); ++i) {
        sigaction(kTerminationRequests[i], &removing, &g_previous[i]);
    }
    previousAudio_ = System().audio;
    UseAudio(audio_);
    System().frames = this;
}

VideoMaker::~VideoMaker() {
    System().frames = nullptr;
    UseAudio(*previousAudio_);
    encoder_.reset();
    if (!kept_) {
        std::remove(unfinished_.c_str());
    }
    for (std::size_t i = 0; i < std::size(kTerminationRequests); ++i) {
        sigaction(kTerminationRequests[i], &g_previous[i], nullptr);
    }
    g_unfinished = nullptr;
}

void VideoMaker::Shown(const std::uint8_t* pixels, int width, int height, int pitch) {
    if (width != kGameWidth || height != kGameHeight) {
        return;
    }
    WriteUntil(ReplayMicros(), false);
    for (int y = 0; y < kGameHeight; ++y) {
        std::memcpy(shown_.data() + static_cast<std::size_t>(y * kGameWidth),
                    pixels + static_cast<std::ptrdiff_t>(y) * pitch,
                    kGameWidth * sizeof(std::uint16_t));
    }
    pictureReady_ = false;
}

void VideoMaker::Finish() {
    WriteUntil(ReplayMicros(), true);
    WriteSound(MomentOf(written_));
    if (encoder_) {
        try {
            encoder_->Finish();
        } catch (const Exception& error) {
            Fail(error.Message());
        }
    }
    progress_.End(written_, FramesUntil(ReplayEndMicros(), true));
    if (!failure_.empty()) {
        throw Exception(failure_);
    }
}

void VideoMaker::Keep() {
    if (std::rename(unfinished_.c_str(), path_.c_str()) != 0) {
        throw Exception("Cannot name the video " + path_ + ": " + std::strerror(errno));
    }
    kept_ = true;
}

std::unique_ptr<ReplayVideo> OpenReplayVideo(const std::string& path, int scale) {
    return std::make_unique<VideoMaker>(path, scale);
}

void VideoMaker::WriteUntil(std::uint64_t micros, bool including) {
    if (!encoder_) {
        return;
    }
    const std::int64_t until = FramesUntil(micros, including);
    const std::int64_t all = std::max(until, FramesUntil(ReplayEndMicros(), true));
    try {
        for (; written_ < until; ++written_) {
            WritePicture();
            progress_.Update(written_ + 1, all);
        }
    } catch (const Exception& error) {
        Fail(error.Message());
    }
    WriteSound(micros);
}

void VideoMaker::WriteSound(std::uint64_t micros) {
    const std::vector<std::int16_t> sound = audio_.TakeUntil(micros);
    if (!encoder_) {
        return;
    }
    try {
        encoder_->AddSound(sound.data(), sound.size() / kVideoSoundChannels);
    } catch (const Exception& error) {
        Fail(error.Message());
    }
}

void VideoMaker::WritePicture() {
    if (!pictureReady_) {
        const std::vector<std::uint32_t>& colours = Colours();
        const auto width = static_cast<std::size_t>(kGameWidth * scale_);
        for (std::size_t y = 0; y < kGameHeight; ++y) {
            std::uint32_t* row = picture_.data() + y * static_cast<std::size_t>(scale_) * width;
            for (std::size_t x = 0; x < kGameWidth; ++x) {
                std::fill_n(row + x * static_cast<std::size_t>(scale_), scale_,
                            colours[shown_[y * kGameWidth + x]]);
            }
            for (int copy = 1; copy < scale_; ++copy) {
                std::copy_n(row, width, row + static_cast<std::size_t>(copy) * width);
            }
        }
        pictureReady_ = true;
    }
    encoder_->AddPicture(reinterpret_cast<const std::uint8_t*>(picture_.data()));
}

void VideoMaker::Fail(const std::string& message) {
    if (failure_.empty()) {
        failure_ = message;
    }
    encoder_.reset();
    std::remove(unfinished_.c_str());
}

}  // namespace platform
