// Spinning balls and turning bonus eggs, shaded per pixel so their rims stay crisp ink.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "paint.h"
#include "sheets.h"

namespace bake {
namespace {

struct Vec {
    double x, y, z;
};

double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Scale(Vec a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
Vec Add(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Unit(Vec a) {
    return Scale(a, 1.0 / std::sqrt(Dot(a, a)));
}

// Rotates v by angle t about the unit axis u.
Vec Rotate(Vec v, Vec u, double t) {
    return Add(Add(Scale(v, std::cos(t)), Scale(Cross(u, v), std::sin(t))),
               Scale(u, Dot(u, v) * (1 - std::cos(t))));
}

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour Of(Rgb c) {
    return {double(c.r), double(c.g), double(c.b)};
}

// Light from the upper left, in front: matte shading plus a glossy highlight.
Colour Shade(Colour c, Vec n, double gloss) {
    const Vec light = Unit({-0.45, -0.62, 0.65});
    const double diffuse = std::max(0.0, Dot(n, light));
    const Vec half = Unit(Add(light, {0, 0, 1}));
    const double spec = gloss * std::pow(std::max(0.0, Dot(n, half)), 28);
    const double k = 0.34 + 0.78 * diffuse;
    auto ch = [&](double v) { return std::min(255.0, v * k + 255 * spec); };
    return {ch(c.r), ch(c.g), ch(c.b)};
}

// Fills a frame from a surface function: `inside` gives the outline distance in pixels (negative
// inside the rim, positive outside), `colour` the shaded colour at a point; 4 by 4 samples a pixel.
void RenderFrame(Image& sheet, int x0, int y0, int w, int h,
                 const std::function<double(double, double)>& inside,
                 const std::function<Colour(double, double)>& colour) {
    constexpr int kSub = 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double rim = inside(x + 0.5, y + 0.5);
            if (rim > 0) {
                continue;
            }
            if (rim > -1.3) {
                sheet.at(x0 + x, y0 + y) = kInk;
                continue;
            }
            Colour sum;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const Colour c = colour(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            }
            constexpr double n = kSub * kSub;
            Rgb c{std::uint8_t(sum.r / n + 0.5), std::uint8_t(sum.g / n + 0.5),
                  std::uint8_t(sum.b / n + 0.5)};
            // Pixels just inside the rim darken toward the ink, so the edge reads as one line.
            if (rim > -2.3) {
                c = Mix(c, kInk, 0.45);
            }
            if (LooksLikeKey(c)) {
                c.g = 8;
            }
            sheet.at(x0 + x, y0 + y) = c;
        }
    }
}

// A beach ball of six gores, or a tennis ball with its seam, turned by angle t.
Colour BallSurface(Vec n, double t, bool tennis) {
    const Vec axis = Unit({1.0, 0.45, 0.2});
    const Vec q = Rotate(n, axis, t);
    if (tennis) {
        const double seam = q.y - 0.8 * (q.x * q.x - q.z * q.z);
        const bool line = std::fabs(seam) < 0.085;
        const Colour felt = line ? Of(Rgb{250, 250, 238}) : Of(Rgb{206, 232, 58});
        return Shade(felt, n, 0.25);
    }
    static const std::array<Rgb, 6> gores = {Rgb{228, 40, 44},  Rgb{250, 250, 246},
                                             Rgb{36, 92, 220},  Rgb{250, 250, 246},
                                             Rgb{252, 206, 36}, Rgb{250, 250, 246}};
    Rgb c;
    if (std::fabs(q.y) > 0.86) {
        c = std::fabs(q.y) > 0.9 ? Rgb{250, 250, 246} : Rgb{180, 30, 40};
    } else {
        const double lon = std::atan2(q.x, q.z) + M_PI;
        c = gores[int(lon / (2 * M_PI) * 6) % 6];
    }
    return Shade(Of(c), n, 0.8);
}

// The label texture of one egg: its sign in white, inked, on a transparent ground.
class Label {
  public:
    static constexpr int kW = 120, kH = 64;

    explicit Label(const std::string& sign) : canvas_(kW, kH) {
        cairo_t* cr = canvas_.cr;
        cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, 56);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, sign.c_str(), &ext);
        const double scale = std::min(1.0, (kW - 16) / ext.width);
        cairo_translate(cr, kW / 2.0, kH / 2.0);
        cairo_scale(cr, scale, 1.0);
        cairo_move_to(cr, -ext.x_bearing - ext.width / 2, -ext.y_bearing - ext.height / 2);
        cairo_text_path(cr, sign.c_str());
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 12);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
        SetColour(cr, Rgb{255, 255, 255});
        cairo_fill(cr);
        cairo_surface_flush(canvas_.surface);
    }

    // Premultiplied colour and coverage at (u, v) in 0..1.
    void Sample(double u, double v, Colour& c, double& alpha) const {
        const int x = std::clamp(int(u * kW), 0, kW - 1);
        const int y = std::clamp(int(v * kH), 0, kH - 1);
        const auto* data = cairo_image_surface_get_data(canvas_.surface);
        const int stride = cairo_image_surface_get_stride(canvas_.surface);
        const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
        alpha = (p >> 24) / 255.0;
        c = {double((p >> 16) & 0xFF), double((p >> 8) & 0xFF), double(p & 0xFF)};
    }

  private:
    Canvas canvas_;
};

}  // namespace

void PaintBallSheet(Image& sheet, const SheetSpec& spec, bool tennis) {
    const double r = spec.frameWidth / 2.0;
    const int frames = spec.rows * spec.columns;
    for (int f = 0; f < frames; ++f) {
        const double t = 2 * M_PI * f / frames;
        auto inside = [r](double x, double y) { return std::hypot(x - r, y - r) - (r - 0.1); };
        auto colour = [r, t, tennis](double x, double y) {
            const double inner = r - 1.3;
            const double nx = (x - r) / inner, ny = (y - r) / inner;
            const double zz = std::max(0.0, 1 - nx * nx - ny * ny);
            return BallSurface(Unit({nx, ny, std::sqrt(zz) + 1e-6}), t, tennis);
        };
        RenderFrame(sheet, FrameX(spec, f), FrameY(spec, f), spec.frameWidth, spec.frameHeight,
                    inside, colour);
    }
}

void PaintEggSheet(Image& sheet, const SheetSpec& spec) {
    static const std::array<const char*, 8> signs = {"-V-", "x2", "+1", "G", "+V+", "S", "T", "U"};
    static const std::array<Rgb, 8> shells = {
        Rgb{60, 120, 236}, Rgb{246, 146, 30},  Rgb{52, 176, 72},  Rgb{222, 196, 30},
        Rgb{226, 52, 52},  Rgb{128, 136, 156}, Rgb{36, 184, 196}, Rgb{156, 74, 210}};
    const double cx = spec.frameWidth / 2.0, cy = spec.frameHeight / 2.0 + 0.6;
    const double b = spec.frameHeight / 2.0 - 1.6;
    const double a0 = spec.frameWidth / 2.0 - 5.0;
    for (int row = 0; row < spec.rows; ++row) {
        const Label label(signs[row]);
        for (int col = 0; col < spec.columns; ++col) {
            const double turn = 2 * M_PI * col / spec.columns;
            auto halfWidth = [a0, b, cy](double y) { return a0 * (1 + 0.14 * (y - cy) / b); };
            auto inside = [=](double x, double y) {
                const double ny = (y - cy) / b, nx = (x - cx) / halfWidth(y);
                return (std::sqrt(nx * nx + ny * ny) - 1) * a0 + 0.1;
            };
            auto colour = [&, turn](double x, double y) {
                const double ny = (y - cy) / b;
                const double nx = (x - cx) / (halfWidth(y) - 1.3);
                const double zz = std::max(0.0, 1 - nx * nx - ny * ny);
                const Vec n = Unit({nx, ny * 0.8, std::sqrt(zz) + 1e-6});
                Colour c = Of(shells[row]);
                double lon = std::atan2(nx, std::sqrt(zz)) + turn;
                lon = std::remainder(lon, M_PI);  // a sign on the front and one on the back
                constexpr double kHalfArc = 1.35, kHalfHeight = 0.5;
                const double v = (ny + 0.05) / kHalfHeight;
                if (std::fabs(lon) < kHalfArc && std::fabs(v) < 1) {
                    Colour t;
                    double alpha = 0;
                    label.Sample((lon / kHalfArc + 1) / 2, (v + 1) / 2, t, alpha);
                    c = {c.r * (1 - alpha) + t.r, c.g * (1 - alpha) + t.g, c.b * (1 - alpha) + t.b};
                }
                return Shade(c, n, 0.55);
            };
            const int f = row * spec.columns + col;
            RenderFrame(sheet, FrameX(spec, f), FrameY(spec, f), spec.frameWidth, spec.frameHeight,
                        inside, colour);
        }
    }
}

}  // namespace bake
