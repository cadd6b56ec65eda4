// Contact sheets with a frame grid, and a play scene with every sprite where the game draws it.
#include "previews.h"

#include <map>

#include "scenes.h"
#include "sheets.h"

namespace bake {
namespace {

Image ContactSheet(const SheetSpec& spec, const Image& sheet) {
    const int scale = sheet.width < 400 ? 3 : 2;
    Image out(sheet.width * scale + 1, sheet.height * scale + 1, Rgb{40, 200, 220});
    for (int y = 0; y < sheet.height * scale; ++y) {
        for (int x = 0; x < sheet.width * scale; ++x) {
            const int sx = x / scale, sy = y / scale;
            const bool gridLine = (sx % spec.frameWidth == 0 && x % scale == 0) ||
                                  (sy % spec.frameHeight == 0 && y % scale == 0);
            if (gridLine) {
                continue;
            }
            const Rgb c = sheet.at(sx, sy);
            const bool checker = ((x / 12) + (y / 12)) % 2 == 0;
            out.at(x, y) = c == kKey ? (checker ? Rgb{92, 96, 104} : Rgb{120, 124, 132}) : c;
        }
    }
    return out;
}

// Draws one keyed frame onto a picture, clipped to it, as the game's blits do.
void Blit(Image& target, const Image& sheet, const SheetSpec& spec, int frame, int x, int y) {
    const Rgb key = sheet.at(0, 0);
    for (int j = 0; j < spec.frameHeight; ++j) {
        for (int i = 0; i < spec.frameWidth; ++i) {
            const int tx = x + i, ty = y + j;
            if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) {
                continue;
            }
            const Rgb c = sheet.at(FrameX(spec, frame) + i, FrameY(spec, frame) + j);
            if (!(c == key)) {
                target.at(tx, ty) = c;
            }
        }
    }
}

Image Enlarge(const Image& image, int scale) {
    Image out(image.width * scale, image.height * scale, Rgb{});
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.at(x, y) = image.at(x / scale, y / scale);
        }
    }
    return out;
}

}  // namespace

void WritePreviews(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::map<std::string, std::pair<SheetSpec, Image>> sheets;
    for (const SheetSpec& spec : SheetSpecs()) {
        Image sheet = DrawSheet(spec);
        WritePng(ContactSheet(spec, sheet), folder / (spec.name + ".png"));
        sheets.emplace(spec.name, std::make_pair(spec, std::move(sheet)));
    }
    auto draw = [&](Image& scene, const std::string& name, int frame, int x, int y) {
        const auto& [spec, sheet] = sheets.at(name);
        Blit(scene, sheet, spec, frame, x, y);
    };

    // A moment of play over a level picture, in the game's drawing order.
    Image scene = LevelScenes()[3].Render();
    draw(scene, "BmpBallSheet", 5, 300 + 11, 410);  // glued on the paddle
    draw(scene, "BmpBallSheet", 14, 420, 250);
    draw(scene, "BmpTennisBalls", 3, 140, 300);
    draw(scene, "BmpMisc", 4, 200, 190);
    draw(scene, "BmpMisc", 4, 470, 300);
    for (int k = 0; k < 8; ++k) {
        draw(scene, "BmpBonusEggs", k * 13 + (k * 3) % 13, 20 + 75 * k, 360 - (k % 3) * 30);
    }
    draw(scene, "BmpGulls", 4, 60, 60);
    draw(scene, "BmpGulls", 22, 250, 90);
    draw(scene, "BmpAGulls", 9, 420, 50);
    draw(scene, "BmpAGulls", 31, 150, 140);
    draw(scene, "BmpBAGulls", 13, 520, 150);
    draw(scene, "BmpBAGulls", 27, 330, 170);
    draw(scene, "BmpMisc", 3, 380, 230);
    draw(scene, "BmpExplosion", 3, 560, 80);
    draw(scene, "BmpPaddle", 4, 300 - 23, 330);
    draw(scene, "BmpPaddle", 4, 300 + 23, 330);
    draw(scene, "BmpPaddle", 3, 300, 438);
    draw(scene, "BmpPaddle", 2, 300, 408);
    draw(scene, "BmpPaddle", 0, 300, 438);
    draw(scene, "BmpPaddle", 1, 300, 438);
    draw(scene, "BmpMisc", 6, 0, 416);
    draw(scene, "BmpMisc", 1, 90, 30);
    const char* score = "12475";
    for (int k = 0; score[k] != 0; ++k) {
        draw(scene, "BmpDigits", score[k] - '0', 4 + 24 * k, 4);
    }
    draw(scene, "BmpDigits", 12, 4 + 24 * 6, 4);
    draw(scene, "BmpDigits", 3, 4 + 24 * 7, 4);
    draw(scene, "BmpDigits", 11, 611 - 24 * 4, 4);
    draw(scene, "BmpDigits", 2, 612 - 24 * 3, 4);
    draw(scene, "BmpDigits", 10, 611 - 24, 4);
    draw(scene, "BmpDigits", 3, 612, 4);
    WritePng(Enlarge(scene, 2), folder / "play-scene.png");

    // The words over a picture, and the title with its menu area.
    Image words = LevelScenes()[10].Render();
    for (int f = 0; f < 4; ++f) {
        draw(words, "BmpZNText", f, 152, 60 + 100 * f);
    }
    draw(words, "BmpMisc", 5, 10, 10);
    draw(words, "BmpMisc", 5, 566, 10);
    WritePng(words, folder / "words-scene.png");
    WritePng(RenderTitle(), folder / "title.png");
}

}  // namespace bake
