// A video of a replay: at 60 frames a second of the record's clock, each video frame shows the
// frame that was on show at its moment, scaled up by a whole multiple, pixel for pixel; the sound
// is mixed by the video's own audio device on the same clock. The video is written to a file of
// its name with ".part" added, and takes its name only once it is whole. Internal to the
// platform layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/services.h"
#include "platform/video/progress.h"
#include "platform/video/replay_video.h"
#include "platform/video/video_audio.h"

namespace platform {

class VideoEncoder;

class VideoMaker final : public FrameSink, public ReplayVideo {
  public:
    static constexpr int kMinScale = 1;
    static constexpr int kMaxScale = 4;

    // Opens the video's file and puts the video's audio device in place of the sound card and
    // the video besides the screen. A termination request (Ctrl+C, SIGTERM, SIGHUP) from now on
    // removes the unfinished file and ends the program as the request would have. Throws
    // Exception, in a line naming the file, when the name's extension is not a kind of video
    // or the file cannot be written.
    VideoMaker(const std::string& path, int scale);
    // The unfinished file is removed, unless the video was kept.
    ~VideoMaker() override;
    VideoMaker(const VideoMaker&) = delete;
    VideoMaker& operator=(const VideoMaker&) = delete;

    void Shown(const std::uint8_t* pixels, int width, int height, int pitch) override;
    // Throws Exception when the video could not be written, or could not be earlier.
    void Finish() override;
    void Keep() override;

  private:
    // Writes the pictures of the moments before the time (with `including`, at it too), and
    // the sound up to it.
    void WriteUntil(std::uint64_t micros, bool including);
    void WriteSound(std::uint64_t micros);
    void WritePicture();
    // Ends the encoding after a failure: the message is kept for Finish to give.
    void Fail(const std::string& message);

    std::string path_;
    std::string unfinished_;
    int scale_;
    std::unique_ptr<VideoEncoder> encoder_;
    VideoAudio audio_;
    AudioDevice* previousAudio_ = nullptr;
    std::vector<std::uint16_t> shown_;    // the frame on show, RGB565
    std::vector<std::uint32_t> picture_;  // it scaled, as the encoder takes it
    bool pictureReady_ = false;
    std::int64_t written_ = 0;  // the video's frames written
    Progress progress_;
    std::string failure_;
    bool kept_ = false;
};

}  // namespace platform
