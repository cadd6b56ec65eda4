// The video file, written through FFmpeg's libraries: its kind chosen by the file name's
// extension, pictures and sound encoded and interleaved into it. Internal to the platform layer;
// the only part of the program that knows FFmpeg.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// WebM: VP9 and Opus. Matroska: FFV1 and FLAC, lossless. MP4: H.264 and AAC.
enum class VideoKind { WebM, Matroska, Mp4 };

// The kind a file name asks for by its extension (.webm, .mkv, .mp4, in any case); none for
// another.
std::optional<VideoKind> VideoKindOf(const std::string& path);

// The frames a second of every video, and the rate and channels of its sound.
constexpr int kVideoFramesPerSecond = 60;
constexpr int kVideoSoundRate = 48000;
constexpr int kVideoSoundChannels = 2;

class VideoEncoder {
  public:
    // Opens the file for a video of the kind with pictures of the size. Throws Exception when
    // the file cannot be written or FFmpeg lacks an encoder the kind needs; `name` is the file's
    // name in the message.
    VideoEncoder(const std::string& path, const std::string& name, VideoKind kind, int width,
                 int height);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // The next picture, a 60th of a second after the last: width by height pixels of four
    // bytes, blue, green, red and one unused, row after row. Throws Exception when the file
    // cannot be written.
    void AddPicture(const std::uint8_t* pixels);
    // The next sound: stereo frames of 16-bit samples at 48000 a second, interleaved.
    void AddSound(const std::int16_t* samples, std::size_t frames);
    // Encodes what is held back and closes the file; throws Exception when it cannot be
    // written whole.
    void Finish();

  private:
    struct Streams;
    std::unique_ptr<Streams> streams_;
};

}  // namespace platform
