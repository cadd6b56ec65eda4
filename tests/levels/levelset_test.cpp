// ReadLevelFile, ReadLevelPack, LoadPackPicture and the choice of reader: a level file read
// replaces the set, and its failures; the baked pack read back, packs made here, what a damaged
// pack leaves of the set, and pictures decoded into the full-screen picture. Which damage gives
// which message, and the lines' own rules, are the level format's.
#include <filesystem>
#include <string>
#include <vector>

#include "levelformat/files.h"
#include "levelformat/levelpack.h"
#include "support/level_fixture.h"

namespace {

const std::filesystem::path kGame = ZINTREL_GAME_DIR;

using levelformat::Bytes;

std::string Text(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

Bytes Jpeg(int width, int height, COLORREF colour) {
    return pictures::MakeJpeg(width, height, [colour](int, int) { return colour; });
}

// Three levels, the middle one without gulls, each with its own picture; the third picture is
// a quarter of the screen's size.
levelformat::LevelPack SmallPack() {
    levelformat::LevelPack pack;
    TZNLevelWrapper first{2, 4, 6, 2, "", {}};
    first.GullRecords.Add({100, 60, -90, 0, 0, 0, 0});
    first.GullRecords.Add({300, 120, 120, 40, 1, 80, 200});
    TZNLevelWrapper third{1, 3, 3, 1, "", {}};
    third.GullRecords.Add({0, 40, 150, 0, 1, 0, 0});
    pack.Levels.Add(first);
    pack.Levels.Add({-1, 3, 3, 0, "", {}});
    pack.Levels.Add(third);
    pack.Pictures = {Jpeg(640, 480, RGB(255, 0, 0)), Jpeg(640, 480, RGB(0, 255, 0)),
                     Jpeg(320, 240, RGB(0, 0, 255))};
    return pack;
}

using LevelFileTest = LevelTest;
using LevelPackTest = LevelTest;

const std::string kHeader = "Zintrel Level File Version 1.0\r\n";

TEST_F(LevelFileTest, AFileReplacesTheSetAndItsFailuresLeaveItEmptyOrAlone) {
    Write("two.znl",
          kHeader + "Level=1,1,1,1,a.jpg\r\nGull=1,2,3,4,0,0,0\r\nLevel=2,2,2,0,b.jpg\r\n");
    Write("one.znl", kHeader + "Level=3,3,3,0,c.jpg\r\n");
    Write("none.znl", kHeader + "no levels here\r\n");
    Write("bad.znl", "zintrel level file version 1.0\nLevel=1,1,1,0,sea.jpg\n");
    PackLoaded = true;
    ASSERT_EQ(Failure([&] { ReadLevelFile(Set(), "two.znl"); }), "");
    EXPECT_EQ(Levels.Count, 2);
    EXPECT_FALSE(PackLoaded);
    ASSERT_EQ(Failure([&] { ReadLevelSet(Set(), "one.znl"); }), "");
    ASSERT_EQ(Levels.Count, 1);
    EXPECT_EQ(Levels.Items(0).PictureName, "c.jpg");
    EXPECT_EQ(Levels.Items(0).GullRecords.Count, 0);

    // A file that cannot be opened leaves the old levels alone and does not name itself.
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "missing.znl"); }), "Unable to open level file");
    EXPECT_EQ(Levels.Count, 1);
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "bad.znl"); }),
              "bad.znl is not a valid Zintrel Level File");
    EXPECT_EQ(Levels.Count, 0) << "a failure leaves the set empty";
    // A file without levels reads as an empty set; a game refuses it when it begins.
    Levels.Add(TZNLevelWrapper{});
    EXPECT_EQ(Failure([&] { ReadLevelFile(Set(), "none.znl"); }), "");
    EXPECT_EQ(Levels.Count, 0);
    EXPECT_EQ(Failure([&] { ReadLevelSet(Set(), "none.znl"); }), "No levels in none.znl");
}

TEST_F(LevelPackTest, TheBakedPackReadsBackLevelByLevel) {
    const std::string pack = (kGame / "GullCoast.znk").string();
    const Bytes bytes = levelformat::ReadFileBytes(pack).value();
    levelformat::MemoryPackSource source(bytes);
    const levelformat::PackDirectory expected = levelformat::ReadPackDirectory(source, pack).Value;
    ASSERT_EQ(Failure([&] { ReadLevelPack(Set(), pack); }), "");
    EXPECT_EQ(Levels.Count, 25);
    EXPECT_TRUE(Levels == expected.Levels);
    EXPECT_TRUE(PackPictures == expected.Pictures);
    EXPECT_EQ(FirstPictureOffset, expected.FirstPictureOffset);
    EXPECT_EQ(PictureCount, 25);
    EXPECT_EQ(std::string(PictureMagic.begin(), PictureMagic.end()), "ZNK1");
    EXPECT_TRUE(PackLoaded);
    EXPECT_EQ(PackName, pack);
    auto background = OpaqueGraphic();
    for (std::int32_t k : {0, 24}) {
        ASSERT_EQ(Failure([&] { LoadPackPicture(Set(), *background, dd, k); }), "");
        EXPECT_EQ(background->Width, 640);
        EXPECT_EQ(background->Height, 480);
        EXPECT_EQ(background->Name, "Level Pack");
    }
}

TEST_F(LevelPackTest, APackMadeHereGivesItsLevelsAndStretchedPictures) {
    levelformat::LevelPack pack = SmallPack();
    const Bytes bytes = levelformat::WritePack(pack);
    Write("small.znk", Text(bytes));
    ASSERT_EQ(Failure([&] { ReadLevelSet(Set(), "small.znk"); }), "");
    EXPECT_TRUE(Levels == pack.Levels);

    auto background = OpaqueGraphic();
    const std::pair<std::int32_t, COLORREF> shown[] = {
        {0, RGB(255, 0, 0)}, {1, RGB(0, 255, 0)}, {2, RGB(0, 0, 255)}};
    for (const auto& [k, colour] : shown) {
        ASSERT_EQ(Failure([&] { LoadPackPicture(Set(), *background, dd, k); }), "");
        // Every corner holds the picture's colour: the 320 by 240 one fills the screen too.
        for (const POINT p : {POINT{0, 0}, POINT{639, 0}, POINT{0, 479}, POINT{639, 479}}) {
            const std::uint16_t pixel = Pixel(background->Surface, p.x, p.y);
            const std::uint16_t want = pictures::Rgb565(colour);
            EXPECT_NEAR(pixel >> 11, want >> 11, 2) << k;
            EXPECT_NEAR((pixel >> 5) & 63, (want >> 5) & 63, 4) << k;
            EXPECT_NEAR(pixel & 31, want & 31, 2) << k;
        }
    }
    EXPECT_THROW(LoadPackPicture(Set(), *background, dd, 3), XIndexOutOfRange<TZNPicEntry>);
}

TEST_F(LevelPackTest, ThePackOrLevelFileReaderIsChosenByTheExtension) {
    for (const char* name : {"levels.znk", "LEVELS.ZnK", "a.b.ZNK", "C:\\packs\\x.znk"}) {
        EXPECT_TRUE(IsLevelPackName(name)) << name;
    }
    for (const char* name : {"levels.znl", "levels.zn", "levels", "dir.znk\\levels", "d.znk:levels",
                             "levels.znk.old", ""}) {
        EXPECT_FALSE(IsLevelPackName(name)) << name;
    }
    const std::string bytes = Text(levelformat::WritePack(SmallPack()));
    Write("LEVELS.ZnK", bytes);
    EXPECT_EQ(Failure([&] { ReadLevelSet(Set(), "LEVELS.ZnK"); }), "");
    EXPECT_EQ(Levels.Count, 3);
    Write("levels.znl", bytes);
    EXPECT_EQ(Failure([&] { ReadLevelSet(Set(), "levels.znl"); }),
              "levels.znl is not a valid Zintrel Level File");
}

TEST_F(LevelPackTest, EachDamageGivesTheMessageOfThePartBeingRead) {
    const Bytes good = levelformat::WritePack(SmallPack());
    const std::string levelsCorrupted = "Level pack bad.znk corrupted. Aborting.";
    const std::string picturesCorrupted = "Level picture data in bad.znk corrupted. Aborting.";
    const auto read = [&](const Bytes& bytes) {
        Write("bad.znk", Text(bytes));
        Levels.Add(TZNLevelWrapper{});
        PackPictures.Add(TZNPicEntry{});
        return Failure([&] { ReadLevelPack(Set(), "bad.znk"); });
    };

    Bytes bytes = good;
    bytes[0] = 'X';
    EXPECT_EQ(read(bytes), levelsCorrupted);
    EXPECT_EQ(Levels.Count, 0);
    EXPECT_EQ(PackPictures.Count, 0);

    bytes = good;
    bytes.back() = '2';
    EXPECT_EQ(read(bytes), picturesCorrupted);
    EXPECT_EQ(Levels.Count, 3) << "the levels before the trailer stay read";
    EXPECT_EQ(PackPictures.Count, 0);

    // No levels and no pictures: a valid, empty pack, which a game refuses to begin with.
    const Bytes empty = levelformat::WritePack({});
    ASSERT_EQ(empty.size(), 20u);
    EXPECT_EQ(read(empty), "");
    EXPECT_EQ(Levels.Count, 0);
    EXPECT_EQ(PackPictures.Count, 0);
    EXPECT_EQ(Failure([&] { ReadLevelSet(Set(), "bad.znk"); }), "No levels in bad.znk");

    Levels.Add(TZNLevelWrapper{});
    EXPECT_EQ(Failure([&] { ReadLevelPack(Set(), "missing.znk"); }),
              "Unable to open level file missing.znk");
    EXPECT_EQ(Levels.Count, 1) << "an unopened pack changes nothing";
}

TEST_F(LevelPackTest, APictureIsReadAgainFromThePackAtEachLevel) {
    const levelformat::LevelPack pack = SmallPack();
    Bytes bytes = levelformat::WritePack(pack);
    // The second picture is not a JPEG; the reader does not look at picture data.
    const std::size_t second = 8 + 16 + 2 * 28 + 16 + 16 + 28 + pack.Pictures[0].size();
    bytes[second] = 'X';
    Write("pack.znk", Text(bytes));
    ASSERT_EQ(Failure([&] { ReadLevelPack(Set(), "pack.znk"); }), "");
    auto background = OpaqueGraphic();
    EXPECT_EQ(Failure([&] { LoadPackPicture(Set(), *background, dd, 1); }),
              "The graphics format of Level Pack Data (size=" +
                  std::to_string(pack.Pictures[1].size()) + ") is invalid");

    // A pack shortened since it was read cannot deliver its last picture.
    Write("pack.znk", Text(Bytes(bytes.begin(), bytes.end() - 200)));
    EXPECT_EQ(Failure([&] { LoadPackPicture(Set(), *background, dd, 0); }), "");
    EXPECT_EQ(Failure([&] { LoadPackPicture(Set(), *background, dd, 2); }),
              "Level picture data in pack.znk corrupted. Aborting.");

    std::filesystem::remove("pack.znk");
    EXPECT_EQ(Failure([&] { LoadPackPicture(Set(), *background, dd, 0); }),
              "Unable to open level pack");
}

}  // namespace
