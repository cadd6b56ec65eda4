// The play scenarios' fixture.
#include "support/play_fixture.h"

#include <algorithm>
#include <filesystem>

namespace {

// Reads one RGB565 pixel of a locked surface.
std::uint16_t At(const DDSURFACEDESC& desc, int x, int y) {
    return reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(desc.lpSurface) +
                                                  y * desc.lPitch)[x];
}

}  // namespace

void PlayTest::CopyShipped(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / name,
                               folder.Path() / name);
}

void PlayTest::WriteLevels(const std::string& name, const std::vector<std::string>& levels) {
    std::string text = "Zintrel Level File Version 1.0\n";
    for (const std::string& level : levels) {
        const std::size_t end = level.find('\n');
        const std::string values = level.substr(0, end);
        const std::string gulls = end == std::string::npos ? "" : level.substr(end + 1);
        const auto count = std::count(gulls.begin(), gulls.end(), '=');
        text += "Level=" + values + "," + std::to_string(count) + ",ZNTitle.jpg\n" + gulls;
        if (!gulls.empty() && gulls.back() != '\n') {
            text += "\n";
        }
    }
    folder.Write(name, text);
}

bool PlayTest::Play(std::vector<Step> steps) {
    steps.insert(steps.begin(), {[&] { harness.Char(' '); }, WaitForPlay()});
    return Run(steps);
}

bool PlayTest::OnField(const std::function<void(TKestovForm&)>& check, double frameTime,
                       const std::string& gulls) {
    WriteLevels("field.znl", {"1,0,3\n" + gulls});
    return Play({
        [&] {
            Form().FrameTime = frameTime;
            check(Form());
            harness.Char(27);
        },
        [&] { harness.Char(27); },
    });
}

PlayBot& PlayTest::StartBot(unsigned seed) {
    bot = std::make_unique<PlayBot>(harness, seed);
    onPass = [this] { bot->OnPass(Form()); };
    return *bot;
}

double PlayTest::Shows(IDirectDrawSurface3* surface, TDXGraphic& sheet, int frame, int x, int y) {
    DDSURFACEDESC shown;
    DDSURFACEDESC source;
    if (surface->Lock(nullptr, &shown, 0, nullptr) != DD_OK) {
        ADD_FAILURE() << "the screen cannot be read";
        return 0;
    }
    if (sheet.Surface->Lock(nullptr, &source, 0, nullptr) != DD_OK) {
        surface->Unlock(nullptr);
        ADD_FAILURE() << "the sheet cannot be read";
        return 0;
    }
    const std::uint16_t key = At(source, 0, 0);
    const RECT& rect = sheet.FrameRects[static_cast<std::size_t>(frame)];
    int opaque = 0;
    int matching = 0;
    for (int j = 0; j < rect.bottom - rect.top; ++j) {
        for (int i = 0; i < rect.right - rect.left; ++i) {
            const std::uint16_t pixel = At(source, rect.left + i, rect.top + j);
            if (pixel == key || x + i < 0 || x + i >= 640 || y + j < 0 || y + j >= 480) {
                continue;
            }
            ++opaque;
            matching += At(shown, x + i, y + j) == pixel ? 1 : 0;
        }
    }
    sheet.Surface->Unlock(nullptr);
    surface->Unlock(nullptr);
    return opaque == 0 ? 0 : static_cast<double>(matching) / opaque;
}
