// Screenshots: the frame on show encoded with libpng and written to a new file.
#include "platform/sdl/screenshot.h"

#include <SDL.h>
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/api/gamefolders.h"
#include "platform/api/timer.h"
#include "platform/sdl/display.h"

namespace platform {

namespace {

// More screenshots in one second than any key can make.
constexpr int kMaxAttempts = 1000;

// The frame as PNG bytes, or an empty vector when it cannot be encoded.
std::vector<std::uint8_t> EncodePng(const SDL_Surface& frame) {
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> rgb(
        SDL_ConvertSurfaceFormat(const_cast<SDL_Surface*>(&frame), SDL_PIXELFORMAT_RGB24, 0),
        SDL_FreeSurface);
    if (!rgb) {
        return {};
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(rgb->w);
    image.height = static_cast<png_uint_32>(rgb->h);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb->pixels, rgb->pitch, nullptr) ==
        0) {
        return {};
    }
    std::vector<std::uint8_t> bytes(size);
    if (png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb->pixels, rgb->pitch,
                                  nullptr) == 0) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace

std::string ScreenshotName(std::time_t when, int attempt) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    char name[64];
    if (attempt > 1) {
        std::snprintf(name, sizeof name, "zintrel-%s-%d.png", stamp, attempt);
    } else {
        std::snprintf(name, sizeof name, "zintrel-%s.png", stamp);
    }
    return name;
}

void SaveScreenshot() {
    const GameFolders& folders = ActiveGameFolders();
    if (folders.write.empty()) {
        std::fprintf(stderr, "zintrel: no screenshot saved: %s\n", folders.problem.c_str());
        return;
    }
    const SDL_Surface* frame = Display::Get().ShownFrame();
    if (frame == nullptr) {
        std::fprintf(stderr, "zintrel: no screenshot saved: nothing is shown yet\n");
        return;
    }
    const std::vector<std::uint8_t> png = EncodePng(*frame);
    if (png.empty()) {
        std::fprintf(stderr, "zintrel: no screenshot saved: the frame cannot be encoded\n");
        return;
    }
    const std::time_t now = WallClockSeconds();
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const std::string path =
            (std::filesystem::path(folders.write) / ScreenshotName(now, attempt)).string();
        // "x": the file is made new, never written over.
        std::FILE* file = std::fopen(path.c_str(), "wbx");
        if (file == nullptr && errno == EEXIST) {
            continue;
        }
        if (file == nullptr) {
            std::fprintf(stderr, "zintrel: cannot save the screenshot %s: %s\n", path.c_str(),
                         std::strerror(errno));
            return;
        }
        bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
        int error = errno;
        if (std::fclose(file) != 0 && written) {
            written = false;
            error = errno;
        }
        if (!written) {
            std::fprintf(stderr, "zintrel: cannot save the screenshot %s: %s\n", path.c_str(),
                         std::strerror(error));
            std::remove(path.c_str());
            return;
        }
        std::fprintf(stderr, "zintrel: screenshot saved as %s\n", path.c_str());
        return;
    }
    std::fprintf(stderr, "zintrel: no screenshot saved: every name for this second is taken\n");
}

}  // namespace platform
