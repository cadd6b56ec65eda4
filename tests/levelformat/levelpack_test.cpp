// ReadPackDirectory, ReadPack and WritePack: damaged packs and their messages, packs written and
// read back, and where the directory puts each picture. The shipped pack written again is the
// editor's to check, saved unchanged.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>

#include "levelformat/levelpack.h"

namespace {

using levelformat::Bytes;
using levelformat::LevelPack;
using levelformat::ReadPack;
using levelformat::WritePack;

// Two levels, the first with two gulls and the second with none, and their short "pictures": the
// reader never looks inside them.
LevelPack SmallPack() {
    LevelPack pack;
    TZNLevelWrapper first{2, 4, 6, 2, "", {}};
    first.GullRecords.Add({100, 60, -90, 0, 0, 0, 0});
    first.GullRecords.Add({300, 120, 120, 40, 1, 80, 200});
    pack.Levels.Add(first);
    pack.Levels.Add({-1, 0, 0, 0, "", {}});
    pack.Pictures = {{0xFF, 0xD8, 1, 2, 3}, {0xFF, 0xD8, 4}};
    return pack;
}

// Where the fields of the small pack lie.
constexpr std::size_t kLevelCountAt = 4;
constexpr std::size_t kFirstGullCountAt = 8 + 12;
constexpr std::size_t kPicturesAt = 8 + 16 + 2 * 28 + 16;
constexpr std::size_t kPicturesSize = 5 + 3;
constexpr std::size_t kDirectoryAt = kPicturesAt + kPicturesSize;
constexpr std::size_t kTrailerAt = kDirectoryAt + 2 * 12;
constexpr std::size_t kPackSize = kTrailerAt + 12;

void PutInt(Bytes& bytes, std::size_t offset, std::int32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[offset + k] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * k));
    }
}

const std::string kLevelsCorrupted = "Level pack p.znk corrupted. Aborting.";
const std::string kPicturesCorrupted = "Level picture data in p.znk corrupted. Aborting.";

TEST(LevelPackTest, EachDamagedPackHasTheMessageOfThePartBeingRead) {
    const Bytes good = WritePack(SmallPack());
    ASSERT_EQ(good.size(), kPackSize);
    struct Damage {
        const char* what;
        std::function<void(Bytes&)> damage;
        const std::string& message;
    };
    const auto set = [](std::size_t offset, std::int32_t value) {
        return [offset, value](Bytes& bytes) { PutInt(bytes, offset, value); };
    };
    const auto cut = [](std::size_t length) {
        return [length](Bytes& bytes) { bytes.resize(length); };
    };
    const Damage damaged[] = {
        {"the first magic", [](Bytes& b) { b[0] = 'X'; }, kLevelsCorrupted},
        {"only part of the magic", cut(3), kLevelsCorrupted},
        {"no level count", cut(6), kLevelsCorrupted},
        {"a level block cut short", cut(8 + 10), kLevelsCorrupted},
        {"a gull record cut short", cut(8 + 16 + 28 + 5), kLevelsCorrupted},
        {"more levels than the pack holds", set(kLevelCountAt, INT_MAX), kLevelsCorrupted},
        {"more gulls than the pack holds", set(kFirstGullCountAt, INT_MAX), kLevelsCorrupted},
        {"the last magic", [](Bytes& b) { b.back() = '2'; }, kPicturesCorrupted},
        {"a trailer cut short", cut(kPackSize - 1), kPicturesCorrupted},
        {"one picture more than levels", set(kTrailerAt + 4, 3), kPicturesCorrupted},
        {"one picture fewer than levels", set(kTrailerAt + 4, 1), kPicturesCorrupted},
        {"pictures before the start", set(kTrailerAt, -1), kPicturesCorrupted},
        {"pictures past the end", set(kTrailerAt, INT_MAX), kPicturesCorrupted},
        {"the last picture past the end", set(kTrailerAt, kPackSize - 7), kPicturesCorrupted},
        {"a picture of negative size", set(kDirectoryAt + 4, -1), kPicturesCorrupted},
        {"a picture larger than the pack", set(kDirectoryAt + 4, INT_MAX), kPicturesCorrupted},
    };
    for (const Damage& d : damaged) {
        Bytes bytes = good;
        d.damage(bytes);
        const auto read = ReadPack(bytes, "p.znk");
        EXPECT_EQ(read.Error, d.message) << d.what;
        EXPECT_FALSE(read.Ok()) << d.what;
        EXPECT_TRUE(read.Value.Pictures.empty()) << d.what;
    }
    // A damaged back keeps the levels read from the front.
    Bytes bytes = good;
    bytes[kPackSize - 1] = '2';
    EXPECT_TRUE(ReadPack(bytes, "p.znk").Value.Levels == SmallPack().Levels);
}

TEST(LevelPackTest, TheDirectoryIsFoundFromTheTrailerAndTheSizesAlone) {
    Bytes bytes = WritePack(SmallPack());
    // The entries' first and last fields are never read.
    for (std::size_t k = 0; k < 2; ++k) {
        PutInt(bytes, kDirectoryAt + 12 * k, -12345);
        PutInt(bytes, kDirectoryAt + 12 * k + 8, INT_MAX);
    }
    levelformat::MemoryPackSource source(bytes);
    const auto read = levelformat::ReadPackDirectory(source, "p.znk");
    ASSERT_TRUE(read.Ok()) << read.Error;
    const levelformat::PackDirectory& pack = read.Value;
    EXPECT_EQ(pack.FirstPictureOffset, static_cast<std::int32_t>(kPicturesAt));
    EXPECT_EQ(pack.PictureCount, 2);
    EXPECT_EQ(std::string(pack.PictureMagic.begin(), pack.PictureMagic.end()), "ZNK1");
    TZNEntryList expected;
    expected.Add({0, 5, static_cast<std::int32_t>(kPicturesAt)});
    expected.Add({1, 3, static_cast<std::int32_t>(kPicturesAt + 5)});
    EXPECT_TRUE(pack.Pictures == expected);
    EXPECT_TRUE(pack.Levels == SmallPack().Levels);

    // No levels and no pictures: a pack of its magic, counts and trailer.
    const Bytes empty = WritePack({});
    EXPECT_EQ(empty,
              (Bytes{'Z', 'N', 'K', '1', 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 'Z', 'N', 'K', '1'}));
    const auto none = ReadPack(empty, "p.znk");
    EXPECT_TRUE(none.Ok()) << none.Error;
    EXPECT_EQ(none.Value.Levels.Count, 0);
}

TEST(LevelPackTest, AWrittenPackReadsBackToTheSameLevelsAndWritesAgainAlike) {
    const LevelPack pack = SmallPack();
    const Bytes bytes = WritePack(pack);
    const auto read = ReadPack(bytes, "p.znk");
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_TRUE(read.Value == pack);
    EXPECT_EQ(WritePack(read.Value), bytes);

    // A level's declared count does not reach the pack: its gulls are counted.
    LevelPack miscounted = pack;
    miscounted.Levels.Items(0).GullCount = 7;
    EXPECT_EQ(WritePack(miscounted), bytes);
}

TEST(LevelPackTest, APackNeedsOnePicturePerLevel) {
    LevelPack pack = SmallPack();
    pack.Pictures.pop_back();
    EXPECT_THROW(WritePack(pack), std::invalid_argument);
    pack.Pictures.resize(3);
    EXPECT_THROW(WritePack(pack), std::invalid_argument);
}

}  // namespace
