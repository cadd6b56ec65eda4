// The progress of making a video, on standard error: frames done, frames in all and the time
// left. On a terminal one line is updated in place; elsewhere a whole line is written at each
// tenth of the way. Internal to the platform layer.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

class Progress {
  public:
    Progress();
    void Update(std::int64_t done, std::int64_t all);
    // The last figures, and the line ended.
    void End(std::int64_t done, std::int64_t all);

  private:
    void Show(std::int64_t done, std::int64_t all);

    bool terminal_;
    std::chrono::steady_clock::time_point started_;  // at the first figures
    std::chrono::steady_clock::time_point shownAt_;
    std::int64_t tenthShown_ = -1;
    bool shown_ = false;
};

}  // namespace platform
