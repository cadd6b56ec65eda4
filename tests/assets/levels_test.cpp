// The shipped level pack and level file, the pack tool, and the baker's determinism.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "levelformat/files.h"
#include "levelformat/levelpack.h"
#include "levelformat/leveltext.h"
#include "platform/api/bitmap.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGame = ZINTREL_GAME_DIR;
using levelformat::Bytes;

Bytes ReadBytes(const fs::path& path) {
    return levelformat::ReadFileBytes(path).value_or(Bytes{});
}

TZNLevelList ReadLevels(const fs::path& path) {
    const levelformat::ReadResult<TZNLevelList> levels =
        levelformat::ReadLevelText(levelformat::ReadFileText(path).value_or(""), path.string());
    EXPECT_EQ(levels.Error, "");
    return levels.Value;
}

void WriteLevels(const fs::path& path, const TZNLevelList& levels) {
    ASSERT_TRUE(levelformat::WriteFileText(path, levelformat::WriteLevelText(levels)));
}

// The width and height of a JPEG as the game decodes it, or 0 by 0 if it is not one.
std::pair<int, int> JpegSize(const Bytes& bytes) {
    platform::Bitmap24 picture;
    platform::DecodeJpeg(bytes, picture);
    return {picture.width, picture.height};
}

int Shell(const std::string& command) {
    return WEXITSTATUS(std::system((command + " 2>err.txt").c_str()));
}

std::string ErrorText() {
    return levelformat::ReadFileText("err.txt").value_or("");
}

TEST(ShippedPack, HoldsTwentyFiveLevelsWithTheirPictures) {
    const fs::path path = kGame / "GullCoast.znk";
    const Bytes bytes = ReadBytes(path);
    const levelformat::ReadResult<levelformat::LevelPack> read =
        levelformat::ReadPack(bytes, path.string());
    ASSERT_EQ(read.Error, "");
    const levelformat::LevelPack& pack = read.Value;
    ASSERT_GE(pack.Levels.Count, 25);
    ASSERT_EQ(pack.Pictures.size(), std::size_t(pack.Levels.Count));
    for (std::size_t k = 0; k < pack.Pictures.size(); ++k) {
        EXPECT_EQ(JpegSize(pack.Pictures[k]), std::make_pair(640, 480)) << "picture " << k;
    }
}

TEST(ShippedLevelFile, HoldsTenLevelsWhosePicturesLieBesideIt) {
    const TZNLevelList levels = ReadLevels(kGame / "Harbour.znl");
    ASSERT_GE(levels.Count, 10);
    for (const TZNLevelWrapper& l : levels) {
        ASSERT_FALSE(l.PictureName.empty());
        EXPECT_EQ(JpegSize(ReadBytes(kGame / l.PictureName)), std::make_pair(640, 480))
            << l.PictureName;
    }
    EXPECT_EQ(JpegSize(ReadBytes(kGame / "ZNTitle.jpg")), std::make_pair(640, 480));
}

TEST(PackWriter, RoundTripsALevelFileAndItsPictures) {
    fs::create_directories("trip");
    TZNLevelList levels;
    TZNLevelWrapper first;
    first.GullCount = 2;
    first.PictureName = "one.jpg";
    first.GullRecords.Add({100, 60, -90, 0, 0, 0, 0});
    first.GullRecords.Add({300, 120, 120, 40, 1, 80, 200});
    levels.Add(first);
    TZNLevelWrapper second{2, 2, 5, 1, "two.jpg", {}};
    second.GullRecords.Add({0, 40, 150, 0, 1, 0, 0});
    levels.Add(second);
    WriteLevels("trip/in.znl", levels);
    const Bytes one = ReadBytes(kGame / "harbour01.jpg");
    const Bytes two = ReadBytes(kGame / "harbour02.jpg");
    ASSERT_TRUE(levelformat::WriteFileBytes("trip/one.jpg", one));
    ASSERT_TRUE(levelformat::WriteFileBytes("trip/two.jpg", two));

    ASSERT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack trip/in.znl trip/out.znk"), 0)
        << ErrorText();
    ASSERT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " unpack trip/out.znk trip/back.znl"), 0)
        << ErrorText();
    // The levels come back as they were, with the pictures named after the level file.
    TZNLevelList back = ReadLevels("trip/back.znl");
    ASSERT_EQ(back.Count, 2);
    EXPECT_EQ(back.Items(0).PictureName, "back01.jpg");
    EXPECT_EQ(back.Items(1).PictureName, "back02.jpg");
    back.Items(0).PictureName = "one.jpg";
    back.Items(1).PictureName = "two.jpg";
    EXPECT_TRUE(back == levels);
    EXPECT_EQ(ReadBytes("trip/back01.jpg"), one);
    EXPECT_EQ(ReadBytes("trip/back02.jpg"), two);
    // Packing the unpacked file again gives the same pack.
    ASSERT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack trip/back.znl trip/again.znk"), 0);
    EXPECT_EQ(ReadBytes("trip/again.znk"), ReadBytes("trip/out.znk"));
}

TEST(PackWriter, ExplainsMisuseAndMissingFiles) {
    EXPECT_EQ(Shell(ZNPACK_PROGRAM), 2);
    EXPECT_NE(ErrorText().find("Usage:"), std::string::npos);
    EXPECT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack nowhere.znl out.znk"), 1);
    EXPECT_NE(ErrorText().find("Unable to open level file nowhere.znl"), std::string::npos);
    ASSERT_TRUE(levelformat::WriteFileText("bad.znl", "no\n"));
    EXPECT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack bad.znl out.znk"), 1);
    EXPECT_NE(ErrorText().find("is not a valid Zintrel Level File"), std::string::npos);
    TZNLevelList lost;
    lost.Add({1, 3, 3, 0, "missing.jpg", {}});
    WriteLevels("lost.znl", lost);
    EXPECT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack lost.znl out.znk"), 1);
    EXPECT_NE(ErrorText().find("missing.jpg"), std::string::npos);
    EXPECT_FALSE(fs::exists("out.znk"));
}

TEST(Baker, GivesTheSameBytesOnEveryRun) {
    const fs::path again = "again";
    fs::create_directories(again / "pack");
    for (const char* command : {"sheets", "sounds", "music"}) {
        ASSERT_EQ(Shell(std::string(ZINTREL_BAKE_PROGRAM) + " " + command + " again"), 0);
    }
    ASSERT_EQ(Shell(std::string(ZINTREL_BAKE_PROGRAM) + " pictures again again/pack"), 0);
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(again)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const fs::path name = entry.path().filename();
        const fs::path baked =
            fs::exists(kGame / name) ? kGame / name : fs::path(ZINTREL_RESOURCE_DIR) / name;
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(baked)) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 11 + 14 + 5 + 1 + 10);
}

}  // namespace
