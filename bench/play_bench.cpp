// The cost of one whole frame of play: the eight updaters, the frame composed into the blit
// queue and flushed to the back buffer, on the shipped pack's level 25 with three balls, five
// bombs and four eggs in flight, a Bazzle and a pair of shots.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>

#include "assets/baked_resources.h"
#include "game/znform.h"
#include "support/harness.h"
#include "platform/api/resources.h"
#include "playfield/spritekinds.h"

namespace {

// The game form, started as the program starts it, that runs a body instead of its main loop.
class BenchForm : public TKestovForm {
  public:
    explicit BenchForm(std::function<void(TKestovForm&)> body) : body_(std::move(body)) {}

    void FormActivate() override {
        if (Activated) {
            AppActive = true;
            return;
        }
        StartUp();
        AppActive = true;
        body_(*this);
        Close();
    }

  private:
    std::function<void(TKestovForm&)> body_;
};

// Level 25 in play, with the field as busy as the benchmark wants it.
void SetUpField(TKestovForm& f) {
    f.ReadChosenLevels();
    f.LevelNumber = 25;
    f.StartLevel(f.LevelNumber);
    f.GameState = gsPlaying;
    f.PlayStarted = true;
    f.BallList.clear();
    f.AddBall(100, 300, 300, 1, -1, 0, BallFree);
    f.AddBall(300, 200, 400, -1, -1, 5, BallFree);
    f.AddBall(500, 250, 350, 1, 1, 9, BallFree);
    for (int i = 0; i < 5; ++i) {
        f.AddBomb(static_cast<std::size_t>(i) % f.GullList.size());
        f.BombList.back().X = 40 + 120 * i;
        f.BombList.back().Y = 60 + 40 * i;
    }
    f.EggsLeft = 4;
    for (int i = 0; i < 4; ++i) {
        f.AddEgg(static_cast<std::size_t>(i) % f.GullList.size());
        f.EggList.back().X = 80 + 140 * i;
        f.EggList.back().Y = 100 + 30 * i;
    }
    // A Bazzle crossing and a pair of shots on their way up.
    f.BazzleSprite.Kind = BazzlePresent;
    f.BazzleSprite.X = 200;
    f.BazzleSprite.Y = 120;
    f.BazzleSprite.DX = 100;
    f.BazzleSprite.DY = 75;
    f.ShotgunPower = true;
    for (TDXSprite& shot : f.ShotSprites) {
        shot.Kind = ShotFlying;
        shot.Y = 300;
        shot.DY = -800;
    }
    f.ShotSprites[0].X = 400;
    f.ShotSprites[1].X = 446;
    // Nothing the bombs or gulls do ends the life while it is measured.
    f.CheatMode = true;
}

void BM_PlayFrame(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "zintrel-play-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const char* name : {"ZNTitle.jpg", "GullCoast.znk"}) {
        std::filesystem::copy_file(std::filesystem::path(ZINTREL_GAME_DIR) / name, folder / name);
    }
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        platform::Harness harness;
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
        BenchForm form([&state](TKestovForm& f) {
            SetUpField(f);
            // Each frame starts from the same field, so that every one is as busy.
            const auto gulls = f.GullList;
            const auto balls = f.BallList;
            const auto bombs = f.BombList;
            const auto eggs = f.EggList;
            const TDXSprite bazzle = f.BazzleSprite;
            const TDXSprite shots[2] = {f.ShotSprites[0], f.ShotSprites[1]};
            f.FrameTime = 1.0 / 60.0;
            for (auto _ : state) {
                f.GullList = gulls;
                f.BallList = balls;
                f.BombList = bombs;
                f.EggList = eggs;
                f.BazzleSprite = bazzle;
                f.ShotSprites[0] = shots[0];
                f.ShotSprites[1] = shots[1];
                f.UpdateAll();
                f.ComposeFrame();
                while (!f.BltQueue.Flush(f.BackBuffer)) {
                }
            }
        });
        Application.Run(form);
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PlayFrame);

}  // namespace
