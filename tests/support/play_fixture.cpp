// The play scenarios' fixture.
#include "support/play_fixture.h"

bool PlayTest::Play(std::vector<Step> steps) {
    steps.insert(steps.begin(), {[&] { harness.Char(' '); }, WaitForPlay()});
    return Run(steps);
}

PlayBot& PlayTest::StartBot(unsigned seed) {
    bot = std::make_unique<PlayBot>(harness, seed);
    onPass = [this] { bot->OnPass(Form()); };
    return *bot;
}

double PlayTest::Shows(IDirectDrawSurface3* surface, TDXGraphic& sheet, int frame, int x, int y) {
    const SurfacePixels shown(surface);
    const SurfacePixels source(sheet.Surface);
    const RECT& rect = sheet.FrameRects[static_cast<std::size_t>(frame)];
    int opaque = 0;
    int matching = 0;
    for (int j = 0; j < rect.bottom - rect.top; ++j) {
        for (int i = 0; i < rect.right - rect.left; ++i) {
            const std::uint16_t pixel = source.At(rect.left + i, rect.top + j);
            if (pixel != source.At(0, 0) && x + i >= 0 && x + i < 640 && y + j >= 0 &&
                y + j < 480) {
                ++opaque;
                matching += shown.At(x + i, y + j) == pixel ? 1 : 0;
            }
        }
    }
    return opaque == 0 ? 0 : static_cast<double>(matching) / opaque;
}
