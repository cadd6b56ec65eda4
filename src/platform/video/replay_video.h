// The video of a replay that the command line asks for: made by the desktop build
// (video_maker.h); the browser's build makes none.
#pragma once

#include <memory>
#include <string>

namespace platform {

class ReplayVideo {
  public:
    virtual ~ReplayVideo() = default;
    // Writes the pictures and sound up to the replay's end and closes the file; throws
    // Exception when the video could not be written.
    virtual void Finish() = 0;
    // Gives the finished video its name.
    virtual void Keep() = 0;
};

// Opens the video of that name, its pictures scaled up by a whole multiple, for the replay
// about to start on the headless services; throws Exception, in a line naming the file, when it
// cannot be made.
std::unique_ptr<ReplayVideo> OpenReplayVideo(const std::string& path, int scale);

}  // namespace platform
