// The picture fixture: BMP and JPEG writers, resource tables and pixel access.
#include "support/picture_fixture.h"

#include <jpeglib.h>
#include <cstdio>
#include <fstream>

namespace pictures {

std::vector<std::uint8_t> MakeBmp(int width, int height, const Painter& paint) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> out = {'B', 'M'};
    // The file's size, 0, the pixels' offset, the info header's size, the width and height, one
    // plane of 24 bits, and six fields of 0.
    const auto size = static_cast<std::uint32_t>(54 + stride * height);
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const std::uint32_t header[] = {size, 0, 54, 40, w, h, 1 | 24 << 16, 0, 0, 0, 0, 0, 0};
    for (const std::uint32_t value : header) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = paint(x, y);
            out.push_back(GetBValue(c));
            out.push_back(GetGValue(c));
            out.push_back(GetRValue(c));
        }
        out.resize(out.size() + (stride - width * 3), 0);
    }
    return out;
}

std::vector<std::uint8_t> MakeJpeg(int width, int height, const Painter& paint, int quality) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = paint(x, y);
            row[x * 3] = GetRValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetBValue(c);
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void PictureTest::SetUp() {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    screen = Offscreen(640, 480);
}

void PictureTest::TearDown() {
    for (IDirectDrawSurface3* surface : owned_) {
        surface->Release();
    }
    dd->Release();
    platform::SetModuleResources({});
}

void PictureTest::AddResource(const std::string& name, std::vector<std::uint8_t> bytes) {
    names_.push_back(name);
    blobs_.push_back(std::move(bytes));
    table_.clear();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        table_.push_back({names_[i], "BITMAP", blobs_[i]});
    }
    platform::SetModuleResources(table_);
}

IDirectDrawSurface3* PictureTest::Offscreen(int width, int height) {
    DDSURFACEDESC desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    IDirectDrawSurface3* surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
    owned_.push_back(surface);
    return surface;
}

void PictureTest::Fill(IDirectDrawSurface3* surface, std::uint16_t colour) {
    DDBLTFX fx;
    fx.dwFillColor = colour;
    ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
}

}  // namespace pictures
