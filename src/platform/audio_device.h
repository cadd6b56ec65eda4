// The one audio device that sound buffers and music share, opened by its first user.
// Internal to the platform layer.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

class AudioDevice {
  public:
    // The device's sample format: SDL's format code, channels and frames per second.
    struct Format {
        std::uint16_t sdlFormat = 0;
        int channels = 0;
        int rate = 0;
        int FrameBytes() const;
    };

    static AudioDevice& Get();

    // The first acquire opens the device at its own rate; when no device can be opened, a
    // silent one takes its place and one line on standard error says so. The last release
    // closes it.
    void Acquire();
    void Release();
    bool Open() const { return users_ > 0; }
    const Format& DeviceFormat() const { return format_; }

    // A mixer channel of its own for one sound buffer, and its return.
    int AllocateChannel();
    void FreeChannel(int channel);

    // Frames the mixer has mixed since the device opened; read from any thread.
    std::uint64_t MixedFrames() const;

  private:
    AudioDevice() = default;
    bool OpenDevice();

    int users_ = 0;
    Format format_;
    int channels_ = 0;
    std::vector<int> freeChannels_;
};

}  // namespace platform
