// RGB pictures for the baker: keyed sprite stamping from Cairo, and BMP, JPEG and PNG output.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace bake {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The transparent colour of every sheet, its top-left pixel.
inline constexpr Rgb kKey{255, 0, 255};

// True when the colour reads as the key once reduced to the display's RGB565.
inline bool LooksLikeKey(Rgb c) {
    return (c.r >> 3) == 31 && (c.g >> 2) == 0 && (c.b >> 3) == 31;
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    Rgb at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// A Cairo ARGB surface owned for the length of a drawing.
struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;

    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
};

// Copies a transparent drawing into `sheet` at (x0, y0) with an all-or-nothing key: a pixel at
// least half covered becomes sprite, its partial coverage mixed with `edge` (the outline colour),
// never with the key; anything less stays key.
void StampKeyed(Image& sheet, int x0, int y0, cairo_surface_t* drawing, Rgb edge);

// Copies an opaque drawing (alpha ignored) into an image of the same size.
Image FromCairo(cairo_surface_t* drawing);

Bytes EncodeBmp(const Image& image);
Bytes EncodeJpeg(const Image& image, int quality);
void WritePng(const Image& image, const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

// The deterministic generator every random choice of the baker draws from.
class Random {
  public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    // Uniform in [lo, hi).
    double Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 16777216.0); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

  private:
    std::uint32_t state_;
};

}  // namespace bake
