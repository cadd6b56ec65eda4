// Sound sets on the headless audio device: copies and duplicates, the rotation that cuts off the
// oldest copy, dropped requests, lost buffers, and sounds that cannot be made.
#include <gtest/gtest.h>

#include "media/dxsfx.h"
#include "support/sound_fixture.h"

namespace {

using sound::Bytes;
using sound::Position;
using sound::Status;

constexpr DWORD kRate = 22050;

class SoundSetTest : public sound::SoundTest {
  protected:
    void SetUp() override {
        sound::SoundTest::SetUp();
        resources.Add("Long", "WAV", sound::MakeWave(sound::Tone(3.0)));
        resources.Add("Short", "WAV", sound::MakeWave(sound::Tone(0.2)));
    }
    static const std::uint8_t* Samples(IDirectSoundBuffer* buffer) {
        void* first = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(buffer->Lock(0, 1, &first, &bytes, nullptr, nullptr, 0), S_OK);
        buffer->Unlock(first, bytes, nullptr, 0);
        return static_cast<const std::uint8_t*>(first);
    }
};

TEST_F(SoundSetTest, TheSixthRequestOfFiveCopiesCutsOffTheOldest) {
    SoundSetPtr set = CreateSet(ds, "Long", 5);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->Buffers.size(), 5u);
    ASSERT_TRUE(PlaySet(set.get()));
    EXPECT_EQ(set->Current, 0);
    for (int request = 2; request <= 5; ++request) {
        ASSERT_TRUE(PlaySet(set.get()));
        EXPECT_EQ(set->Current, request - 1);
    }
    for (IDirectSoundBuffer* buffer : set->Buffers) {
        EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    }
    harness.AdvanceClock(400);
    EXPECT_EQ(Position(set->Buffers[0]), kRate * 2 / 5);

    ASSERT_TRUE(PlaySet(set.get()));
    EXPECT_EQ(set->Current, 0);
    EXPECT_EQ(Status(set->Buffers[0]), DSBSTATUS_PLAYING);
    EXPECT_EQ(Position(set->Buffers[0]), 0u) << "the cut-off copy starts again from 0";
    for (std::size_t i = 1; i < set->Buffers.size(); ++i) {
        EXPECT_EQ(Position(set->Buffers[i]), kRate * 2 / 5) << "copy " << i;
    }
}

TEST_F(SoundSetTest, ARequestForASingleCopyStillSoundingIsDropped) {
    SoundSetPtr set = CreateSet(ds, "Long", 1);
    ASSERT_TRUE(PlaySet(set.get()));
    harness.AdvanceClock(300);
    EXPECT_FALSE(PlaySet(set.get()));
    EXPECT_EQ(Status(set->Buffers[0]), DSBSTATUS_PLAYING);
    EXPECT_EQ(Position(set->Buffers[0]), kRate * 3 / 10) << "the sounding copy was not restarted";
}

TEST_F(SoundSetTest, ACopyThatHasFinishedIsUsedAgainInPlace) {
    SoundSetPtr set = CreateSet(ds, "Short", 3);
    ASSERT_TRUE(PlaySet(set.get()));
    harness.AdvanceClock(199);
    EXPECT_EQ(Status(set->Buffers[0]), DSBSTATUS_PLAYING);
    harness.AdvanceClock(1);
    ASSERT_EQ(Status(set->Buffers[0]), 0u) << "the copy has played its 0.2 seconds";
    ASSERT_TRUE(PlaySet(set.get()));
    EXPECT_EQ(set->Current, 0);
    EXPECT_EQ(Status(set->Buffers[0]), DSBSTATUS_PLAYING);
    EXPECT_EQ(Status(set->Buffers[1]), 0u);
}

TEST_F(SoundSetTest, CopiesAreDuplicatesOfTheFirstBufferOrIndependentLoads) {
    SoundSetPtr set = CreateSet(ds, "Short", 3);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->WaveSize, sound::Tone(0.2).size());
    EXPECT_EQ(Samples(set->Buffers[1]), Samples(set->Buffers[0])) << "duplicates share samples";

    harness.Fail(platform::Fault::DuplicateSoundBuffer, 2);
    SoundSetPtr loaded = CreateSet(ds, "Short", 3);
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(Samples(loaded->Buffers[1]), Samples(loaded->Buffers[0]));
    EXPECT_NE(Samples(loaded->Buffers[2]), Samples(loaded->Buffers[0]));
    const Bytes tone = sound::Tone(0.2);
    EXPECT_EQ(Bytes(Samples(loaded->Buffers[2]), Samples(loaded->Buffers[2]) + tone.size()), tone);

    // No first buffer: duplicating it fails, and so does loading the copy.
    harness.Fail(platform::Fault::SoundBuffer, 2);
    EXPECT_EQ(CreateSet(ds, "Short", 2), nullptr);
}

TEST_F(SoundSetTest, ALostCopyIsRestoredAndRefilledWhenNextPlayed) {
    SoundSetPtr set = CreateSet(ds, "Short", 2);
    platform::LoseSoundBuffers();
    ASSERT_EQ(Status(set->Buffers[0]), DSBSTATUS_BUFFERLOST);
    ASSERT_TRUE(PlaySet(set.get()));
    EXPECT_EQ(Status(set->Buffers[0]), DSBSTATUS_PLAYING);
    const Bytes tone = sound::Tone(0.2);
    EXPECT_EQ(Bytes(Samples(set->Buffers[0]), Samples(set->Buffers[0]) + tone.size()), tone);
}

TEST_F(SoundSetTest, ASoundThatCannotBeMadeIsSilent) {
    TDXSound sound;
    sound.Create(ds, "Missing", 3);
    EXPECT_EQ(sound.Set, nullptr);
    sound.Play();
    sound.Create(ds, "Short", 3);
    ASSERT_NE(sound.Set, nullptr);
    sound.Play();
    EXPECT_EQ(Status(sound.Set->Buffers[0]), DSBSTATUS_PLAYING);
    sound.Create(nullptr, "Short", 3);
    EXPECT_EQ(sound.Set, nullptr) << "the earlier set goes first";
    sound.Create(ds, nullptr, 3);
    EXPECT_EQ(sound.Set, nullptr);

    harness.Fail(platform::Fault::SoundBuffer);
    sound.Create(ds, "Short", 1);
    ASSERT_NE(sound.Set, nullptr);
    EXPECT_EQ(sound.Set->Buffers[0], nullptr);
    sound.Play();
    EXPECT_EQ(FreeBuffer(sound.Set.get()), nullptr);
}

}  // namespace
