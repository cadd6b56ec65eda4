// The browser's build makes no videos.
#include "platform/api/forms.h"
#include "platform/video/replay_video.h"

namespace platform {

std::unique_ptr<ReplayVideo> OpenReplayVideo(const std::string& path, int) {
    throw Exception("Cannot make the video " + path + ": videos are made by the desktop build");
}

}  // namespace platform
