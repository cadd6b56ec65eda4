// The runtime's services: the random sequence and the resource table.
#include <gtest/gtest.h>

#include "platform/api/random.h"
#include "platform/api/resources.h"

namespace {

TEST(RuntimeTest, TheRandomSequenceIsTheRuntimesLinearCongruentialOne) {
    platform::SeedRandom(1);
    // seed 22695478 -> 346; seed 2659465919 (mod 2^32) -> 130 ...
    EXPECT_EQ(platform::Random(), 346);
    EXPECT_EQ(platform::Random(), 130);
    EXPECT_EQ(platform::Random(), 10982);
    platform::SeedRandom(1);
    EXPECT_EQ(platform::Random(), 346);
}

TEST(RuntimeTest, ResourcesAreFoundByNameAndTypeWithoutRegardToCase) {
    static const std::uint8_t bytes[] = {1, 2, 3};
    static const platform::ResourceEntry table[] = {{"BallBounce", "WAV", bytes}};
    platform::SetModuleResources(table);
    HRSRC found = FindResourceA(nullptr, "ballbounce", "wav");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, found), 3u);
    EXPECT_EQ(LockResource(LoadResource(nullptr, found)), bytes);
    EXPECT_EQ(FindResourceA(nullptr, "BallBounce", "BITMAP"), nullptr);
    platform::SetModuleResources({});
}

}  // namespace
