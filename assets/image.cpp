// Keyed stamping and the picture encoders of the baker.
#include "image.h"

#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace bake {
namespace {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

Canvas::Canvas(int w, int h)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)), cr(cairo_create(surface)) {}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void StampKeyed(Image& sheet, int x0, int y0, cairo_surface_t* drawing, Rgb edge) {
    cairo_surface_flush(drawing);
    const int w = cairo_image_surface_get_width(drawing);
    const int h = cairo_image_surface_get_height(drawing);
    const int stride = cairo_image_surface_get_stride(drawing);
    const unsigned char* data = cairo_image_surface_get_data(drawing);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            const int a = p >> 24;
            if (a < 128) {
                continue;
            }
            const int rest = 255 - a;
            Rgb c{std::uint8_t(((p >> 16) & 0xFF) + (edge.r * rest + 127) / 255),
                  std::uint8_t(((p >> 8) & 0xFF) + (edge.g * rest + 127) / 255),
                  std::uint8_t((p & 0xFF) + (edge.b * rest + 127) / 255)};
            if (LooksLikeKey(c)) {
                c.g = 8;
            }
            sheet.at(x0 + x, y0 + y) = c;
        }
    }
}

Image FromCairo(cairo_surface_t* drawing) {
    cairo_surface_flush(drawing);
    Image image(cairo_image_surface_get_width(drawing), cairo_image_surface_get_height(drawing),
                Rgb{});
    const int stride = cairo_image_surface_get_stride(drawing);
    const unsigned char* data = cairo_image_surface_get_data(drawing);
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            image.at(x, y) =
                Rgb{std::uint8_t(row[x] >> 16), std::uint8_t(row[x] >> 8), std::uint8_t(row[x])};
        }
    }
    return image;
}

Bytes EncodeBmp(const Image& image) {
    const std::uint32_t rowBytes = (std::uint32_t(image.width) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * image.height;
    Bytes out;
    out.reserve(54 + dataBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + dataBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, image.width);
    Put32(out, image.height);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, dataBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = image.width * 3; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

Bytes EncodeJpeg(const Image& image, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = image.width;
    cinfo.image_height = image.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(std::size_t(image.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, int(cinfo.next_scanline));
            row[x * 3] = c.r;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.b;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

void WritePng(const Image& image, const std::filesystem::path& path) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    const int stride = cairo_image_surface_get_stride(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            row[x] = 0xFF000000u | (c.r << 16) | (c.g << 8) | c.b;
        }
    }
    cairo_surface_mark_dirty(surface);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace bake
