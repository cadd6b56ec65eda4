// The runtime's resource table. The random sequence is the recorded games' to replay.
#include <gtest/gtest.h>

#include "platform/api/resources.h"

namespace {

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
