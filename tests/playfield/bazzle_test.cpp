// The Bazzle on a field of its own: when a visit begins and where from, and the bombs it
// doubles. What holds a visit back, its crossing and its strikes are the recorded games' to
// replay.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_field.h"

namespace {

// The draws of an arrival, in the order the arrival takes them.
struct ArrivalDraws {
    int delay, look, side, climb, height;
};

// Seeds the generator for an arrival from the given side and returns its draws.
ArrivalDraws SeedArrival(bool fromTheLeft) {
    ArrivalDraws d{};
    SeedFor([&] {
        d = {platform::Random(), platform::Random(), platform::Random(), platform::Random(),
             platform::Random()};
        return (d.side % 100 > 50) == fromTheLeft;
    });
    return d;
}

TEST(BazzleArrivalTest, AVisitBeginsOnceTheTimerPassesTheDelay) {
    for (const bool fromTheLeft : {true, false}) {
        SCOPED_TRACE(fromTheLeft ? "from the left" : "from the right");
        TestField f;
        f.PlayStarted = true;
        f.BazzlesLeft = 2;
        f.BombLimit = 3;
        f.BazzleDelay = 15;
        f.FrameTime = 0.5;
        for (int i = 0; i < 30; ++i) {
            f.UpdateBazzle();
        }
        EXPECT_EQ(f.BazzleTimer, 15);
        EXPECT_EQ(f.BazzleSprite.Kind, BazzleAbsent) << "at the delay, not yet";
        const ArrivalDraws d = SeedArrival(fromTheLeft);
        f.UpdateBazzle();
        ASSERT_EQ(f.BazzleSprite.Kind, BazzlePresent);
        EXPECT_EQ(f.BazzleTimer, 0);
        EXPECT_EQ(f.BazzleDelay, 15 + d.delay % 10);
        EXPECT_EQ(f.BombLimit, 6);
        EXPECT_EQ(f.BazzlesLeft, 1);
        EXPECT_EQ(f.BazzleSprite.Frame, d.look % 3);
        EXPECT_EQ(f.BazzleSprite.FirstFrame, d.look % 3);
        EXPECT_EQ(f.BazzleSprite.LastFrame, d.look % 3);
        // Not moved in the frame it arrives in.
        EXPECT_EQ(f.BazzleSprite.X, fromTheLeft ? -63 : 640);
        EXPECT_EQ(f.BazzleSprite.DX, fromTheLeft ? 100 : -100);
        EXPECT_EQ(f.BazzleSprite.DY, d.climb % 100 > 50 ? 75 : -75);
        EXPECT_EQ(f.BazzleSprite.Y, d.height % 216 + 24);
        // While it is in the sky the clock toward the next visit stands still.
        f.UpdateBazzle();
        EXPECT_EQ(f.BazzleTimer, 0);
        EXPECT_EQ(f.BazzleSprite.X, fromTheLeft ? -13 : 590);
    }
}

}  // namespace
