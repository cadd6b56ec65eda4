// The baked icons: one picture at every size of the icon theme, transparent around the rounded
// corners.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path Icon(const std::string& folder, const std::string& extension) {
    return fs::path(ZINTREL_ICON_DIR) / folder / "apps" / (std::string(ZINTREL_APP_ID) + extension);
}

std::uint8_t Alpha(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return static_cast<std::uint8_t>(reinterpret_cast<const std::uint32_t*>(row)[x] >> 24);
}

TEST(IconTest, EverySizeOfTheThemeIsDrawnWithTransparentCorners) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        cairo_surface_t* icon = cairo_image_surface_create_from_png(Icon(folder, ".png").c_str());
        ASSERT_EQ(cairo_surface_status(icon), CAIRO_STATUS_SUCCESS) << folder;
        EXPECT_EQ(cairo_image_surface_get_format(icon), CAIRO_FORMAT_ARGB32) << folder;
        EXPECT_EQ(cairo_image_surface_get_width(icon), size);
        EXPECT_EQ(cairo_image_surface_get_height(icon), size);
        cairo_surface_flush(icon);
        EXPECT_EQ(Alpha(icon, 0, 0), 0) << folder;
        EXPECT_EQ(Alpha(icon, size - 1, size - 1), 0) << folder;
        EXPECT_EQ(Alpha(icon, size / 2, size / 2), 255) << folder;
        EXPECT_EQ(Alpha(icon, size / 8, size / 2), 255) << folder;
        cairo_surface_destroy(icon);
    }
}

}  // namespace
