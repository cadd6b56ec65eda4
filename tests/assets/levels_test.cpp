// The shipped level pack and level file, the level pack writer, and the baker's determinism.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "level_pack.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGame = ZINTREL_GAME_DIR;

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// Decodes only the header: width and height of a JPEG, or 0 by 0 if it is not one.
std::pair<int, int> JpegSize(const znpack::Bytes& bytes) {
    jpeg_decompress_struct cinfo{};
    JpegError error{};
    cinfo.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1);
    };
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return {0, 0};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    const std::pair<int, int> size{int(cinfo.image_width), int(cinfo.image_height)};
    jpeg_destroy_decompress(&cinfo);
    return size;
}

int Shell(const std::string& command) {
    return WEXITSTATUS(std::system((command + " 2>err.txt").c_str()));
}

std::string ErrorText() {
    const znpack::Bytes b = znpack::ReadBytes("err.txt");
    return std::string(b.begin(), b.end());
}

// Checks what makes a level set playable and its difficulty grow.
void ExpectPlayableAndGrowing(const std::vector<znpack::LevelRecord>& levels, const char* set) {
    auto load = [](const znpack::LevelRecord& l) {
        int tough = 0, speed = 0;
        for (const auto& g : l.Gulls) {
            tough += g.AGull != 0;
            speed += std::abs(g.DX);
        }
        return double(l.Gulls.size()) + 2.0 * tough + speed / 400.0 + l.MaxBombs;
    };
    const auto& first = levels.front();
    EXPECT_EQ(first.MaxBombs, 1) << set;
    for (const auto& g : first.Gulls) {
        EXPECT_EQ(g.AGull, 0) << set << ": the first level has plain gulls only";
    }
    double hardest = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto& l = levels[i];
        EXPECT_GE(l.Gulls.size(), 3u) << set << " level " << i + 1;
        EXPECT_EQ(l.GullCount, int(l.Gulls.size())) << set << " level " << i + 1;
        EXPECT_GE(l.EggCount, 3) << set << " level " << i + 1;
        EXPECT_GE(l.BazzleVisits, 1) << set << " level " << i + 1;
        EXPECT_LE(l.MaxBombs, 5) << set << " level " << i + 1;
        for (const auto& g : l.Gulls) {
            // Gulls keep to the upper part of the screen, within the balls' reach, and fly.
            EXPECT_GE(std::abs(g.DX), 50) << set << " level " << i + 1;
            EXPECT_LE(std::abs(g.DX), 200) << set << " level " << i + 1;
            EXPECT_GE(std::min(g.Y, g.MaxY > g.MinY ? g.MinY : g.Y), 0) << set;
            EXPECT_LE(std::max(g.Y, g.MaxY > g.MinY ? g.MaxY : g.Y), 300) << set;
            EXPECT_GE(g.X, -64) << set;
            EXPECT_LT(g.X, 640) << set;
        }
        // Steady growth: a level may be a breather, never a fall back toward the start.
        EXPECT_GT(load(l), hardest * 0.6) << set << " level " << i + 1;
        hardest = std::max(hardest, load(l));
    }
    EXPECT_GT(load(levels.back()), 3 * load(first)) << set;
}

TEST(ShippedPack, HoldsTwentyFiveLevelsWithTheirPicturesInTheExactFormat) {
    const fs::path path = kGame / "GullCoast.znk";
    const znpack::Bytes bytes = znpack::ReadBytes(path);
    const znpack::LevelPack pack = znpack::DecodePack(bytes, path.string());
    ASSERT_GE(pack.Levels.size(), 25u);
    ASSERT_EQ(pack.Pictures.size(), pack.Levels.size());
    ExpectPlayableAndGrowing(pack.Levels, "pack");
    // Trailer, directory and the pictures straight after the level blocks.
    auto at = [&bytes](std::size_t p) {
        return std::int32_t(bytes[p] | bytes[p + 1] << 8 | bytes[p + 2] << 16 | bytes[p + 3] << 24);
    };
    const std::size_t n = pack.Levels.size();
    std::size_t blocks = 8;
    for (const auto& l : pack.Levels) {
        blocks += 16 + 28 * l.Gulls.size();
    }
    EXPECT_EQ(std::size_t(at(bytes.size() - 12)), blocks);
    EXPECT_EQ(std::size_t(at(bytes.size() - 8)), n);
    std::size_t offset = blocks;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t entry = bytes.size() - 12 - 12 * n + 12 * k;
        EXPECT_EQ(at(entry), int(k));
        EXPECT_EQ(std::size_t(at(entry + 4)), pack.Pictures[k].size());
        EXPECT_EQ(std::size_t(at(entry + 8)), offset);
        offset += pack.Pictures[k].size();
        EXPECT_EQ(JpegSize(pack.Pictures[k]), std::make_pair(640, 480)) << "picture " << k;
    }
    EXPECT_EQ(offset, bytes.size() - 12 - 12 * n);
}

TEST(ShippedLevelFile, HoldsTenLevelsWhosePicturesLieBesideIt) {
    const auto levels = znpack::ReadLevelFile(kGame / "Harbour.znl");
    ASSERT_GE(levels.size(), 10u);
    ExpectPlayableAndGrowing(levels, "level file");
    for (const auto& l : levels) {
        ASSERT_FALSE(l.PictureName.empty());
        EXPECT_EQ(JpegSize(znpack::ReadBytes(kGame / l.PictureName)), std::make_pair(640, 480))
            << l.PictureName;
    }
    EXPECT_EQ(JpegSize(znpack::ReadBytes(kGame / "ZNTitle.jpg")), std::make_pair(640, 480));
}

TEST(PackWriter, RoundTripsALevelFileAndItsPictures) {
    fs::create_directories("trip");
    std::vector<znpack::LevelRecord> levels(2);
    levels[0].PictureName = "one.jpg";
    levels[0].Gulls = {{100, 60, -90, 0, 0, 0, 0}, {300, 120, 120, 40, 1, 80, 200}};
    levels[1] = {2, 2, 5, 0, "two.jpg", {{0, 40, 150, 0, 1, 0, 0}}};
    znpack::WriteLevelFile("trip/in.znl", levels);
    const znpack::Bytes one = znpack::ReadBytes(kGame / "harbour01.jpg");
    const znpack::Bytes two = znpack::ReadBytes(kGame / "harbour02.jpg");
    znpack::WriteBytes("trip/one.jpg", one);
    znpack::WriteBytes("trip/two.jpg", two);

    ASSERT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack trip/in.znl trip/out.znk"), 0)
        << ErrorText();
    ASSERT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " unpack trip/out.znk trip/back.znl"), 0)
        << ErrorText();
    const auto back = znpack::ReadLevelFile("trip/back.znl");
    ASSERT_EQ(back.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back[i].Gulls, levels[i].Gulls);
        EXPECT_EQ(back[i].MaxBombs, levels[i].MaxBombs);
        EXPECT_EQ(back[i].BazzleVisits, levels[i].BazzleVisits);
        EXPECT_EQ(back[i].EggCount, levels[i].EggCount);
    }
    EXPECT_EQ(back[0].PictureName, "back01.jpg");
    EXPECT_EQ(znpack::ReadBytes("trip/back01.jpg"), one);
    EXPECT_EQ(znpack::ReadBytes("trip/back02.jpg"), two);
    // Packing the unpacked file again gives the same pack.
    ASSERT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack trip/back.znl trip/again.znk"), 0);
    EXPECT_EQ(znpack::ReadBytes("trip/again.znk"), znpack::ReadBytes("trip/out.znk"));
}

TEST(PackWriter, ExplainsMisuseAndMissingFiles) {
    EXPECT_EQ(Shell(ZNPACK_PROGRAM), 2);
    EXPECT_NE(ErrorText().find("Usage:"), std::string::npos);
    EXPECT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack nowhere.znl out.znk"), 1);
    EXPECT_NE(ErrorText().find("Unable to open level file nowhere.znl"), std::string::npos);
    znpack::WriteBytes("bad.znl", {'n', 'o', '\n'});
    EXPECT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack bad.znl out.znk"), 1);
    EXPECT_NE(ErrorText().find("is not a valid Zintrel Level File"), std::string::npos);
    znpack::WriteLevelFile("lost.znl", {{1, 3, 3, 0, "missing.jpg", {}}});
    EXPECT_EQ(Shell(std::string(ZNPACK_PROGRAM) + " pack lost.znl out.znk"), 1);
    EXPECT_NE(ErrorText().find("missing.jpg"), std::string::npos);
    EXPECT_FALSE(fs::exists("out.znk"));
}

TEST(PackReader, RejectsEveryCutAndEveryBadCountWithoutCrashing) {
    znpack::LevelPack small;
    small.Levels = {{1, 3, 3, 1, "", {{1, 2, 3, 4, 0, 0, 0}}}, {2, 2, 2, 0, "", {}}};
    small.Pictures = {{0xFF, 0xD8, 1, 2, 3}, {0xFF, 0xD8, 4}};
    const znpack::Bytes whole = znpack::EncodePack(small);
    EXPECT_EQ(znpack::DecodePack(whole, "p").Pictures, small.Pictures);
    for (std::size_t len = 0; len < whole.size(); ++len) {
        const znpack::Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(len));
        EXPECT_THROW(znpack::DecodePack(cut, "p"), znpack::LevelError) << "length " << len;
    }
    // N, G, P, the trailer count and a picture size, each set to 0, -1 and the largest value.
    const std::size_t fields[] = {4, 20, whole.size() - 12, whole.size() - 8,
                                  whole.size() - 12 - 24 + 4};
    for (std::size_t field : fields) {
        for (std::int32_t value : {0, -1, INT_MAX}) {
            znpack::Bytes bad = whole;
            for (int k = 0; k < 4; ++k) {
                bad[field + k] = std::uint8_t(std::uint32_t(value) >> (8 * k));
            }
            try {
                const znpack::LevelPack p = znpack::DecodePack(bad, "p");
                EXPECT_EQ(p.Pictures.size(), p.Levels.size());
            } catch (const znpack::LevelError& e) {
                EXPECT_NE(std::string(e.what()).find("corrupted. Aborting."), std::string::npos);
            }
        }
    }
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
        EXPECT_EQ(znpack::ReadBytes(entry.path()), znpack::ReadBytes(baked)) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 11 + 14 + 5 + 1 + 10);
}

}  // namespace
