// The cannon on a field of its own: when it rolls in, when it fires at the last gull and where,
// the hovering gull it sets flying, and its roll out.
#include <gtest/gtest.h>

#include "support/test_field.h"

namespace {

// The last gull of a level in which nothing has been struck for `stalled` seconds.
TDXSprite& Stall(TestField& f, const TZNGull& last, double stalled) {
    TDXSprite& gull = f.OneGull(last);
    f.HitTimer = stalled;
    f.FrameTime = 1.0 / 60;
    return gull;
}

// Runs the gull and cannon updaters for the given seconds, as a frame runs them, counting the
// time since the last strike as the ball updater does.
void RunFor(TestField& f, double seconds) {
    for (double t = 0; t < seconds; t += f.FrameTime) {
        f.HitTimer += f.FrameTime;
        f.UpdateGulls();
        f.UpdateCannon();
    }
}

TEST(CannonTimerTest, ItRollsInAfterTwentySecondsWithOneGullLeftOrNoneInSight) {
    struct Stalled {
        double seconds;
        std::int32_t left;
        std::int32_t x, y;  // where the level's gull is
        bool comes;
    };
    for (const Stalled& s :
         {Stalled{19.99, 1, 100, 200, false}, Stalled{20, 1, 100, 200, true},
          Stalled{20, 0, 100, 200, true}, Stalled{30, 2, 100, 200, false},
          Stalled{30, 1, 100, 200, true}, Stalled{20, 2, 100, -99999, true},
          Stalled{20, 2, -64, 200, true}, Stalled{20, 2, 100, 480, true},
          Stalled{20, 2, -63, 479, false}, Stalled{19.99, 2, 100, -99999, false}}) {
        TestField f;
        Stall(f, TZNGull{s.x, s.y, 0, 0, 0, 0, 0}, s.seconds);
        f.GullsLeft = s.left;
        f.CannonSoundTimer = 0.7;
        f.UpdateCannon();
        const char* const what = s.comes ? "comes" : "stays away";
        EXPECT_EQ(f.CannonSprite.Kind, s.comes ? CannonPresent : CannonAbsent)
            << s.seconds << " s, " << s.left << " left, one at " << s.x << "," << s.y << ": "
            << what;
        if (s.comes) {
            EXPECT_EQ(f.CannonSprite.DX, 15);
            EXPECT_NEAR(f.CannonSprite.X, -64 + 15.0 / 60, 1e-9);
            EXPECT_EQ(f.CannonSoundTimer, 0);
        } else {
            EXPECT_EQ(f.CannonSprite.X, -64);
            EXPECT_EQ(f.CannonSoundTimer, 0.7);
        }
    }
}

TEST(CannonTimerTest, AfterTwentyFiveSecondsItFiresAtAGullInItsWindow) {
    struct Shot {
        double stalled, x;
        bool fires;
    };
    for (const Shot& s : {Shot{24.99, 560, false}, Shot{25, 560, true}, Shot{25, 544, true},
                          Shot{25, 608, true}, Shot{25, 543.9, false}, Shot{25, 608.1, false}}) {
        SCOPED_TRACE(testing::Message() << s.stalled << " s, gull at " << s.x);
        TestField f;
        TDXSprite& gull = Stall(f, TZNGull{500, 200, 90, 0, 0, 0, 0}, s.stalled);
        gull.X = s.x;
        f.EggsLeft = 3;
        f.CannonSprite.Kind = CannonPresent;
        f.CannonSprite.X = 0;
        f.UpdateCannon();
        EXPECT_EQ(gull.Kind, s.fires ? GullExploding : GullFlying);
        EXPECT_EQ(f.GullsLeft, s.fires ? 0 : 1);
        EXPECT_EQ(f.Animations, s.fires ? 1 : 0);
        EXPECT_EQ(f.CannonSprite.DX, s.fires ? -200 : 0);
        EXPECT_NEAR(f.CannonSprite.X, s.fires ? -2 * 200.0 / 60 : 0, 1e-9);
        EXPECT_TRUE(f.Awards.empty()) << "the cannon's shot scores nothing";
        EXPECT_TRUE(f.EggList.empty()) << "and releases no egg";
        EXPECT_EQ(gull.DX, 90);
    }
}

TEST(CannonTimerTest, ItStaysForEachGullOutOfSightAndRollsOutAfterTheLast) {
    TestField f;
    Stall(f, TZNGull{560, -99999, 0, 0, 0, 0, 0}, 25);
    f.AddGull(TZNGull{560, -5000, 0, 0, 0, 0, 0});
    f.GullsLeft = 2;
    f.CannonSprite.Kind = CannonPresent;
    f.CannonSprite.X = 0;
    f.UpdateCannon();
    EXPECT_EQ(f.GullList[0].Kind, GullExploding);
    EXPECT_EQ(f.GullList[1].Kind, GullFlying);
    EXPECT_EQ(f.CannonSprite.DX, 0) << "it stays for the next";
    f.UpdateCannon();
    EXPECT_EQ(f.GullList[1].Kind, GullExploding);
    EXPECT_EQ(f.GullsLeft, 0);
    EXPECT_EQ(f.CannonSprite.DX, -200);
}

TEST(CannonTimerTest, ItAimsAtTheFirstGullNeitherDeadNorExploding) {
    TestField f;
    Stall(f, TZNGull{560, 200, 0, 0, 0, 0, 0}, 25);
    f.AddGull(TZNGull{560, 250, 0, 0, 0, 0, 0});
    f.AddGull(TZNGull{560, 300, 0, 0, 0, 0, 0});
    f.GullList[0].Kind = GullExploding;
    f.GullList[1].Kind = GullDead;
    f.GullList[2].Kind = GullFalling;  // the one left
    f.GullsFalling = 1;
    f.Animations = 1;
    f.CannonSprite.Kind = CannonPresent;
    f.CannonSprite.X = 0;
    f.UpdateCannon();
    EXPECT_EQ(f.GullList[2].Kind, GullExploding) << "a falling gull is fired at too";
    EXPECT_EQ(f.GullList[1].Kind, GullDead);
    EXPECT_EQ(f.GullsFalling, 0);
    EXPECT_EQ(f.GullsLeft, 0);
    EXPECT_EQ(f.Animations, 2);
}

TEST(CannonTimerTest, AHoveringLastGullIsSetFlyingIntoTheWindow) {
    TestField f;
    TDXSprite& gull = Stall(f, TZNGull{100, 200, 0, 0, 0, 0, 0}, 20);
    RunFor(f, 4.9);
    EXPECT_EQ(gull.DX, 0) << "not before twenty-five seconds";
    RunFor(f, 0.2);
    EXPECT_EQ(gull.DX, 150);
    // It flies into the window and is fired at; the cannon rolls out and stays off screen.
    while (gull.Kind == GullFlying && f.HitTimer < 30) {
        RunFor(f, f.FrameTime);
    }
    EXPECT_EQ(gull.Kind, GullExploding);
    EXPECT_GE(gull.X, 544);
    EXPECT_LE(gull.X, 608 + 150.0 / 60);
    RunFor(f, 1);
    EXPECT_EQ(f.CannonSprite.X, -64);
    EXPECT_EQ(f.CannonSprite.Kind, CannonPresent) << "until the next life";
}

}  // namespace
