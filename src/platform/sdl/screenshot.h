// Screenshots: the frame on show saved as a PNG file in the folder the game writes its files in.
#pragma once

#include <ctime>
#include <string>

namespace platform {

// "zintrel-YYYYMMDD-HHMMSS.png" in local time; from the second attempt on, "-2", "-3" and so
// on before the extension.
std::string ScreenshotName(std::time_t when, int attempt);

// Saves the frame on show, 640 by 480, under the first free name for the wall clock's second,
// and says on standard error where it went, or why nothing was saved.
void SaveScreenshot();

}  // namespace platform
