// Gulls on a field of their own: built from their records, struck by balls (the latch, the
// AGull's three strikes), falling onto the paddle or out of the screen, and the chance that a
// struck gull releases an egg.
#include <gtest/gtest.h>

#include "support/test_field.h"

namespace {

TEST(GullRecordTest, GullsFlyAsTheirRecordsSay) {
    TestField f;
    const TDXSprite& left = f.OneGull(TZNGull{100, 100, -90, 0, 0, 0, 0});
    EXPECT_EQ(left.FirstFrame, 0);
    EXPECT_EQ(left.LastFrame, 17);
    EXPECT_EQ(left.Kind, GullFlying);
    EXPECT_EQ(left.Sheet, f.Gulls.get());
    const TDXSprite& hover = f.OneGull(TZNGull{100, 100, 0, 0, 1, 0, 0});
    EXPECT_EQ(hover.FirstFrame, 18);
    EXPECT_EQ(hover.LastFrame, 35);
    EXPECT_EQ(hover.Kind, AGullFlying);
    EXPECT_EQ(hover.Sheet, f.AGulls.get());
    // The band is widened to the starting height; without a band it flies level.
    const TDXSprite& band = f.OneGull(TZNGull{100, 60, 0, 40, 0, 80, 200});
    EXPECT_EQ(band.MinY, 60);
    EXPECT_EQ(band.MaxY, 200);
    EXPECT_EQ(band.EdgeModeY, emReflect);
    const TDXSprite& level = f.OneGull(TZNGull{100, 60, 0, 40, 0, 80, 80});
    EXPECT_EQ(level.DY, 0);
    EXPECT_EQ(level.EdgeModeY, emNone);
    // Out on the right, in again on the left.
    TDXSprite& wrap = f.OneGull(TZNGull{640, 100, 1000, 0, 0, 0, 0});
    f.UpdateGulls();
    EXPECT_DOUBLE_EQ(wrap.X, -63);
}

TEST(GullRecordTest, PastTheLastLevelAboutHalfTheGullsAreAGulls) {
    TestField f;
    f.RandomLevel = true;
    for (const int draw : {50, 51}) {
        SeedForDraw(100, draw);
        const TDXSprite& gull = f.OneGull(TZNGull{100, 100, 0, 0, 0, 0, 0});
        EXPECT_EQ(gull.Kind, draw > 50 ? AGullFlying : GullFlying) << draw;
    }
}

TEST(GullStrikeTest, AnAGullTakesThreeStrikesAndEachContactCountsOnce) {
    TestField f;
    TDXSprite& gull = f.OneGull(TZNGull{300, 200, 0, 0, 1, 0, 0});
    const auto strike = [&] {
        f.OneBall(311, 230, 0, -1);
        f.UpdateBalls();
    };
    const std::int32_t kinds[] = {BAGullFlying, GullFlying, GullFalling};
    for (const std::int32_t kind : kinds) {
        f.HitTimer = 10;
        strike();
        EXPECT_EQ(gull.Kind, kind);
        EXPECT_TRUE(gull.Latch);
        EXPECT_EQ(f.HitTimer, 0);
        EXPECT_GT(f.BallList.back().DY, 0) << "struck from below, the ball turns down";
        if (kind == GullFalling) {
            break;
        }
        // Still touching: the latch holds, no second strike.
        strike();
        EXPECT_EQ(gull.Kind, kind);
        // Apart for one update: the latch opens.
        f.OneBall(311, 420, 0, -1);
        f.UpdateBalls();
        EXPECT_FALSE(gull.Latch);
    }
    EXPECT_EQ(f.Awards, (std::vector<std::int32_t>{25, 25, 25}));
    EXPECT_EQ(gull.Sheet, f.MiscSheet.get());
    EXPECT_EQ(f.GullsFalling, 1);
    EXPECT_EQ(f.GullsLeft, 1);
    EXPECT_EQ(gull.AY, 200);
}

TEST(GullStrikeTest, AFallingGullStrikesThePaddleOrLeavesTheScreen) {
    TestField f;
    TDXSprite& gull = f.OneGull(TZNGull{288, 420, 0, 0, 0, 0, 0});
    gull.Kind = GullFalling;
    f.GullsFalling = 1;
    f.CheatMode = true;
    f.UpdateGulls();
    EXPECT_EQ(gull.Kind, GullFalling) << "the hidden mode lets it pass";
    f.CheatMode = false;
    gull.Y = 420;
    f.UpdateGulls();
    EXPECT_EQ(gull.Kind, GullDead);
    EXPECT_EQ(f.GullsLeft, 0);
    EXPECT_EQ(f.GullsFalling, 0);
    EXPECT_EQ(f.GameState, gsLosingLife);

    // Out through a side: dead, without an explosion and without a strike.
    TestField g;
    TDXSprite& side = g.OneGull(TZNGull{639, 200, 500, 0, 0, 0, 0});
    side.Kind = GullFalling;
    g.GullsFalling = 1;
    g.FrameTime = 0.01;
    g.UpdateGulls();
    EXPECT_EQ(side.Kind, GullDead);
    EXPECT_EQ(g.GullsLeft, 0);
    EXPECT_EQ(g.Animations, 0);
    EXPECT_EQ(g.GameState, gsPlaying);
}

// The egg chance of a plain gull struck with `eggs` left while `flying` gulls (the struck one
// among them) are in flight, for each value the draw can take.
TEST(EggChanceTest, AStruckGullReleasesAnEggWhenTheDrawIsBelowTheEggsLeftPlusOne) {
    struct Chance {
        std::int32_t eggs, left, falling;
    };
    for (const Chance& c : {Chance{3, 10, 0}, Chance{1, 12, 2}, Chance{4, 5, 0}}) {
        const std::int32_t flying = c.left - c.falling;
        for (int r = 0; r < flying; ++r) {
            TestField f;
            f.OneGull(TZNGull{100, 100, 90, 0, 0, 0, 0});
            f.EggsLeft = c.eggs;
            f.GullsLeft = c.left;
            f.GullsFalling = c.falling;
            SeedForDraw(flying, r);
            f.ReleaseEggChance(0);
            const bool released = r < c.eggs + 1;
            ASSERT_EQ(f.EggList.size(), released ? 1u : 0u)
                << c.eggs << " eggs, " << flying << " flying, draw " << r;
            EXPECT_EQ(f.EggsLeft, released ? c.eggs - 1 : c.eggs);
        }
    }
}

TEST(EggChanceTest, TheLastGullStruckAlwaysReleasesAnEggWhileEggsAreLeft) {
    TestField f;
    TDXSprite& gull = f.OneGull(TZNGull{300, 200, 0, 0, 0, 0, 0});
    f.EggsLeft = 1;
    f.OneBall(311, 230, 0, -1);
    f.UpdateBalls();
    EXPECT_EQ(gull.Kind, GullFalling);
    ASSERT_EQ(f.EggList.size(), 1u) << "the struck gull counts among the flying ones";
    EXPECT_EQ(f.EggsLeft, 0);
    EXPECT_EQ(f.GullsFalling, 1);
}

}  // namespace
