// Painted coast scenes: sky, sun or moon, clouds, sea and a shore; the upper half kept calm.
#include "scenes.h"

#include <algorithm>
#include <cmath>

#include "paint.h"
#include "sheets.h"

namespace bake {
namespace {

constexpr int kW = 640, kH = 480;

struct Palette {
    Rgb skyTop, skyLow, sea, seaNear, sun, land, sand;
    bool moon;
    double sunHeight;  // 0 on the horizon, 1 high
};

Palette PaletteOf(Hour hour) {
    switch (hour) {
        case Hour::Dawn:
            return {{78, 96, 164}, {248, 186, 156}, {110, 118, 160}, {60, 72, 120}, {255, 226, 190},
                    {96, 90, 120}, {220, 184, 160}, false,           0.15};
        case Hour::Morning:
            return {{104, 160, 226}, {214, 232, 244}, {56, 128, 176},
                    {26, 84, 132},   {255, 250, 226}, {92, 126, 96},
                    {236, 214, 164}, false,           0.55};
        case Hour::Noon:
            return {{66, 136, 222},  {178, 216, 246}, {30, 112, 174},
                    {14, 70, 126},   {255, 255, 236}, {84, 132, 80},
                    {244, 222, 168}, false,           0.9};
        case Hour::Afternoon:
            return {{86, 146, 214}, {236, 224, 196}, {50, 120, 160}, {24, 78, 118}, {255, 240, 200},
                    {112, 128, 84}, {238, 208, 150}, false,          0.45};
        case Hour::Sunset:
            return {{64, 62, 134}, {252, 156, 84},  {104, 78, 110}, {52, 42, 76}, {255, 210, 120},
                    {70, 52, 72},  {206, 150, 110}, false,          0.1};
        case Hour::Dusk:
            return {{34, 34, 86}, {168, 98, 128},  {54, 50, 92}, {26, 24, 54}, {250, 200, 170},
                    {44, 36, 60}, {150, 116, 112}, false,        0.05};
        case Hour::Night:
            return {{10, 16, 44}, {44, 64, 108}, {22, 34, 66}, {10, 16, 36}, {236, 240, 250},
                    {22, 28, 44}, {90, 92, 104}, true,         0.7};
        case Hour::Overcast:
            return {{138, 150, 168}, {208, 212, 216}, {96, 116, 128}, {60, 78, 90}, {246, 246, 240},
                    {96, 110, 100},  {196, 188, 168}, false,          0.6};
    }
    return {};
}

void Linear(cairo_t* cr, double y0, double y1, Rgb a, Rgb b) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r / 255.0, a.g / 255.0, a.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r / 255.0, b.g / 255.0, b.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Glow(cairo_t* cr, double x, double y, double r, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r / 255.0, c.g / 255.0, c.b / 255.0, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Cloud(cairo_t* cr, Random& rnd, double x, double y, double w, Rgb c, double alpha) {
    for (int k = 0; k < 7; ++k) {
        const double px = x + rnd.Uniform(-0.5, 0.5) * w;
        const double py = y + rnd.Uniform(-0.12, 0.12) * w * 0.4;
        const double r = w * rnd.Uniform(0.14, 0.26);
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_scale(cr, 1.0, 0.42);
        cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, c, alpha);
        cairo_fill(cr);
    }
}

// A rolling ridge from x 0 to 640 around height y, filled down to `bottom`.
void Ridge(cairo_t* cr, Random& rnd, double y, double amplitude, double bottom, int bumps) {
    cairo_move_to(cr, 0, bottom);
    double phase = rnd.Uniform(0, 6.28), phase2 = rnd.Uniform(0, 6.28);
    for (int x = 0; x <= kW; x += 8) {
        const double t = x / double(kW);
        cairo_line_to(cr, x,
                      y - amplitude * (0.6 * std::sin(t * bumps + phase) +
                                       0.4 * std::sin(t * bumps * 2.3 + phase2)));
    }
    cairo_line_to(cr, kW, bottom);
    cairo_close_path(cr);
}

void Waves(cairo_t* cr, Random& rnd, double top, double bottom, Rgb c) {
    for (int k = 0; k < 140; ++k) {
        const double t = rnd.Uniform(0, 1);
        const double y = top + (bottom - top) * t * t;
        const double x = rnd.Uniform(-20, kW);
        const double len = 6 + 30 * t;
        SetColour(cr, c, 0.18 + 0.25 * t);
        cairo_set_line_width(cr, 0.8 + 1.2 * t);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + len * 0.3, y - 1.5 * t, x + len * 0.7, y - 1.5 * t, x + len, y);
        cairo_stroke(cr);
    }
}

void Lighthouse(cairo_t* cr, double x, double base, double height, Rgb light) {
    const double w0 = 22, w1 = 14;
    cairo_move_to(cr, x - w0 / 2, base);
    cairo_line_to(cr, x - w1 / 2, base - height);
    cairo_line_to(cr, x + w1 / 2, base - height);
    cairo_line_to(cr, x + w0 / 2, base);
    cairo_close_path(cr);
    SetColour(cr, Rgb{240, 238, 230});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    SetColour(cr, Rgb{196, 44, 48});
    for (int band = 0; band < 4; band += 2) {
        cairo_rectangle(cr, x - 20, base - height * (band + 1) / 4.0, 40, height / 4.0);
    }
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_rectangle(cr, x - 9, base - height - 14, 18, 14);
    SetColour(cr, Rgb{40, 40, 50});
    cairo_fill(cr);
    cairo_rectangle(cr, x - 6, base - height - 12, 12, 9);
    SetColour(cr, light);
    cairo_fill(cr);
    cairo_move_to(cr, x - 11, base - height - 14);
    cairo_line_to(cr, x, base - height - 24);
    cairo_line_to(cr, x + 11, base - height - 14);
    cairo_close_path(cr);
    SetColour(cr, Rgb{60, 40, 44});
    cairo_fill(cr);
}

void Boat(cairo_t* cr, double x, double y, double s, Rgb hull, Rgb sail) {
    cairo_move_to(cr, x - 30 * s, y);
    cairo_line_to(cr, x + 34 * s, y);
    cairo_line_to(cr, x + 24 * s, y + 12 * s);
    cairo_line_to(cr, x - 24 * s, y + 12 * s);
    cairo_close_path(cr);
    SetColour(cr, hull);
    cairo_fill(cr);
    SetColour(cr, Rgb{80, 60, 40});
    cairo_set_line_width(cr, 2 * s);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, y - 60 * s);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 2 * s, y - 58 * s);
    cairo_line_to(cr, x + 30 * s, y - 6 * s);
    cairo_line_to(cr, x + 2 * s, y - 6 * s);
    cairo_close_path(cr);
    SetColour(cr, sail);
    cairo_fill(cr);
}

void Houses(cairo_t* cr, Random& rnd, double x0, double x1, double base, double dim) {
    for (double x = x0; x < x1;) {
        const double w = rnd.Uniform(18, 34), h = rnd.Uniform(18, 34);
        const Rgb walls[] = {{236, 226, 200}, {214, 120, 90}, {120, 170, 200}, {240, 200, 120}};
        const Rgb wall = Mix(walls[rnd.Below(4)], Rgb{60, 60, 80}, dim);
        cairo_rectangle(cr, x, base - h, w, h);
        SetColour(cr, wall);
        cairo_fill(cr);
        cairo_move_to(cr, x - 2, base - h);
        cairo_line_to(cr, x + w / 2, base - h - 12);
        cairo_line_to(cr, x + w + 2, base - h);
        cairo_close_path(cr);
        SetColour(cr, Mix(Rgb{150, 60, 50}, Rgb{40, 30, 40}, dim));
        cairo_fill(cr);
        for (double wy = base - h + 5; wy < base - 8; wy += 10) {
            cairo_rectangle(cr, x + 4, wy, 5, 5);
            cairo_rectangle(cr, x + w - 9, wy, 5, 5);
        }
        SetColour(cr, Mix(Rgb{70, 90, 120}, Rgb{255, 220, 120}, dim));
        cairo_fill(cr);
        x += w + rnd.Uniform(1, 6);
    }
}

void Grass(cairo_t* cr, Random& rnd, double x0, double x1, double yTop, double yBottom, Rgb c) {
    SetColour(cr, c, 0.85);
    cairo_set_line_width(cr, 1.2);
    for (int k = 0; k < 70; ++k) {
        const double x = rnd.Uniform(x0, x1), y = rnd.Uniform(yTop, yBottom);
        for (int b = 0; b < 4; ++b) {
            cairo_move_to(cr, x + b * 1.5, y);
            cairo_curve_to(cr, x + b * 1.5, y - 6, x + b * 3 - 3, y - 10, x + b * 4 - 5,
                           y - rnd.Uniform(10, 16));
        }
        cairo_stroke(cr);
    }
}

void PaintShore(cairo_t* cr, const Scene& s, const Palette& p, Random& rnd, double horizon) {
    const double dim = (s.hour == Hour::Night) ? 0.7 : (s.hour == Hour::Dusk ? 0.5 : 0.0);
    const Rgb sand = p.sand, sandDark = Mix(p.sand, p.land, 0.5);
    const Rgb foam = Mix(Rgb{255, 255, 255}, p.sea, 0.25 + 0.4 * dim);
    const Rgb rock = Mix(Rgb{120, 110, 104}, p.land, 0.5);
    switch (s.shore) {
        case Shore::Beach:
        case Shore::Island: {
            if (s.shore == Shore::Island) {
                cairo_save(cr);
                cairo_translate(cr, rnd.Uniform(380, 520), horizon + 4);
                cairo_scale(cr, 1, 0.25);
                cairo_arc(cr, 0, 0, 90, M_PI, 2 * M_PI);
                cairo_restore(cr);
                SetColour(cr, Mix(p.land, p.skyLow, 0.35));
                cairo_fill(cr);
            }
            cairo_move_to(cr, 0, 392);
            cairo_curve_to(cr, 200, 370, 420, 410, 640, 386);
            cairo_line_to(cr, 640, 480);
            cairo_line_to(cr, 0, 480);
            cairo_close_path(cr);
            Linear(cr, 380, 480, sand, sandDark);
            SetColour(cr, foam, 0.8);
            cairo_set_line_width(cr, 3);
            cairo_move_to(cr, 0, 393);
            cairo_curve_to(cr, 200, 371, 420, 411, 640, 387);
            cairo_stroke(cr);
            for (int k = 0; k < 60; ++k) {
                cairo_arc(cr, rnd.Uniform(0, 640), rnd.Uniform(410, 478), rnd.Uniform(1, 2.5), 0,
                          2 * M_PI);
                SetColour(cr, Mix(sandDark, Rgb{80, 70, 60}, 0.3), 0.6);
                cairo_fill(cr);
            }
            break;
        }
        case Shore::Dunes: {
            for (int layer = 0; layer < 3; ++layer) {
                Ridge(cr, rnd, 360 + 40 * layer, 18 - 4 * layer, 480, 3 + layer);
                Linear(cr, 330 + 40 * layer, 480, Mix(sand, p.skyLow, 0.3 - 0.1 * layer),
                       Mix(sandDark, p.land, 0.2 * layer));
                Grass(cr, rnd, 0, 640, 370 + 40 * layer, 380 + 40 * layer,
                      Mix(Rgb{110, 140, 70}, p.land, 0.4));
            }
            break;
        }
        case Shore::Cliffs:
        case Shore::Lighthouse: {
            const bool left = (s.seed % 2) == 0;
            cairo_save(cr);
            if (!left) {
                cairo_translate(cr, kW, 0);
                cairo_scale(cr, -1, 1);
            }
            cairo_move_to(cr, 0, 270);
            cairo_curve_to(cr, 90, 262, 170, 268, 200, 290);
            cairo_curve_to(cr, 215, 330, 250, 380, 300, 420);
            cairo_curve_to(cr, 400, 440, 520, 430, 640, 440);
            cairo_line_to(cr, 640, 480);
            cairo_line_to(cr, 0, 480);
            cairo_close_path(cr);
            Linear(cr, 270, 480, Mix(rock, p.skyLow, 0.2), Mix(rock, kInk, 0.4));
            SetColour(cr, Mix(rock, kInk, 0.5), 0.5);
            cairo_set_line_width(cr, 1.5);
            for (int k = 0; k < 8; ++k) {
                const double y = 300 + 20 * k;
                cairo_move_to(cr, 0, y);
                cairo_curve_to(cr, 60, y - 6, 140, y + 8, 200 + 10 * k, y + 4);
                cairo_stroke(cr);
            }
            cairo_move_to(cr, 0, 270);
            cairo_curve_to(cr, 90, 262, 170, 268, 200, 290);
            cairo_line_to(cr, 190, 296);
            cairo_curve_to(cr, 160, 280, 80, 276, 0, 282);
            cairo_close_path(cr);
            SetColour(cr, Mix(Rgb{90, 140, 70}, p.land, 0.5));
            cairo_fill(cr);
            if (s.shore == Shore::Lighthouse) {
                Lighthouse(cr, 90, 276, 60,
                           s.hour == Hour::Night || s.hour == Hour::Dusk ? Rgb{255, 240, 160}
                                                                         : Rgb{200, 220, 230});
            }
            cairo_restore(cr);
            SetColour(cr, foam, 0.6);
            cairo_set_line_width(cr, 2.5);
            const double fx = left ? 300 : 340;
            cairo_move_to(cr, fx, left ? 422 : 422);
            cairo_line_to(cr, left ? 640 : 0, 442);
            cairo_stroke(cr);
            break;
        }
        case Shore::Harbour: {
            Houses(cr, rnd, 20, 620, horizon + 2, dim);
            Boat(cr, 170, 390, 1.0, Rgb{190, 60, 50}, Mix(Rgb{250, 246, 230}, p.sea, dim));
            Boat(cr, 430, 400, 0.8, Rgb{40, 80, 150}, Mix(Rgb{246, 220, 120}, p.sea, dim));
            cairo_rectangle(cr, 0, 430, 640, 50);
            Linear(cr, 430, 480, Mix(Rgb{170, 160, 150}, p.land, 0.3),
                   Mix(Rgb{110, 100, 96}, p.land, 0.4));
            for (double x = 30; x < 640; x += 120) {
                cairo_rectangle(cr, x, 420, 12, 14);
                SetColour(cr, Rgb{50, 46, 52});
                cairo_fill(cr);
            }
            SetColour(cr, Mix(Rgb{80, 70, 64}, kInk, 0.3));
            cairo_set_line_width(cr, 1.5);
            for (double x = 0; x < 640; x += 32) {
                cairo_move_to(cr, x, 432);
                cairo_line_to(cr, x + 6, 480);
            }
            cairo_stroke(cr);
            break;
        }
        case Shore::Pier: {
            const double top = 350;
            SetColour(cr, Mix(Rgb{90, 64, 44}, p.land, 0.3));
            for (double x = 120; x < 640; x += 40) {
                cairo_rectangle(cr, x, top, 6, 90);
            }
            cairo_fill(cr);
            cairo_rectangle(cr, 100, top - 10, 540, 12);
            Linear(cr, top - 10, top + 2, Mix(Rgb{190, 150, 100}, p.land, 0.3),
                   Mix(Rgb{110, 80, 50}, p.land, 0.3));
            cairo_move_to(cr, 0, 420);
            cairo_curve_to(cr, 200, 410, 300, 440, 640, 450);
            cairo_line_to(cr, 640, 480);
            cairo_line_to(cr, 0, 480);
            cairo_close_path(cr);
            Linear(cr, 410, 480, sand, sandDark);
            break;
        }
        case Shore::Rocks: {
            for (int k = 0; k < 9; ++k) {
                const double x = rnd.Uniform(0, 640), y = rnd.Uniform(360, 470);
                const double w = rnd.Uniform(30, 80) * (y / 400), h = w * rnd.Uniform(0.4, 0.7);
                cairo_move_to(cr, x - w, y);
                cairo_curve_to(cr, x - w * 0.8, y - h, x + w * 0.5, y - h * 1.2, x + w, y);
                cairo_close_path(cr);
                Linear(cr, y - h, y, Mix(rock, p.skyLow, 0.25), Mix(rock, kInk, 0.45));
                SetColour(cr, foam, 0.7);
                cairo_set_line_width(cr, 2);
                cairo_move_to(cr, x - w - 6, y + 1);
                cairo_line_to(cr, x + w + 6, y + 1);
                cairo_stroke(cr);
            }
            break;
        }
    }
}

}  // namespace

Image Scene::Render() const {
    const Palette p = PaletteOf(hour);
    Random rnd(seed);
    Canvas canvas(kW, kH);
    cairo_t* cr = canvas.cr;
    const double horizon = 300 + rnd.Uniform(0, 30);

    cairo_rectangle(cr, 0, 0, kW, horizon);
    Linear(cr, 0, horizon, p.skyTop, p.skyLow);
    if (p.moon) {
        for (int k = 0; k < 90; ++k) {
            cairo_arc(cr, rnd.Uniform(0, kW), rnd.Uniform(0, horizon - 40), rnd.Uniform(0.5, 1.2),
                      0, 2 * M_PI);
            SetColour(cr, Rgb{230, 236, 255}, rnd.Uniform(0.3, 0.8));
            cairo_fill(cr);
        }
    }
    const double sunX = rnd.Uniform(80, 560);
    const double sunY = horizon - 30 - p.sunHeight * (horizon - 110);
    Glow(cr, sunX, sunY, 150, p.sun, 0.35);
    cairo_arc(cr, sunX, sunY, p.moon ? 18 : 26, 0, 2 * M_PI);
    SetColour(cr, p.sun, hour == Hour::Overcast ? 0.35 : 0.9);
    cairo_fill(cr);
    const int clouds = hour == Hour::Overcast ? 9 : 4;
    for (int k = 0; k < clouds; ++k) {
        const double y = rnd.Uniform(40, horizon - 40);
        Cloud(cr, rnd, rnd.Uniform(0, kW), y, rnd.Uniform(90, 200),
              Mix(Rgb{255, 255, 255}, p.skyLow, 0.3 + 0.4 * (y / horizon)),
              hour == Hour::Night ? 0.12 : 0.3);
    }
    // Distant coast on the horizon.
    Ridge(cr, rnd, horizon - 6, 8, horizon + 1, 5);
    SetColour(cr, Mix(p.land, p.skyLow, 0.55));
    cairo_fill(cr);

    cairo_rectangle(cr, 0, horizon, kW, kH - horizon);
    Linear(cr, horizon, kH, p.sea, p.seaNear);
    // The sun's path on the water.
    for (int k = 0; k < 40; ++k) {
        const double t = rnd.Uniform(0, 1);
        const double y = horizon + 4 + t * (kH - horizon);
        const double w = 8 + 50 * t;
        cairo_rectangle(cr, sunX - w / 2 + rnd.Uniform(-20, 20) * t, y, w * rnd.Uniform(0.4, 1),
                        1.5);
        SetColour(cr, p.sun, 0.25);
        cairo_fill(cr);
    }
    Waves(cr, rnd, horizon + 4, kH, Mix(Rgb{255, 255, 255}, p.sea, 0.2));
    PaintShore(cr, *this, p, rnd, horizon);

    Image image = FromCairo(canvas.surface);
    // Fine grain, stronger toward the bottom, for a painted feel.
    for (int y = 0; y < kH; ++y) {
        const int amount = 2 + (y > horizon ? 3 : 0);
        for (int x = 0; x < kW; ++x) {
            const int n = int(rnd.Next() % (2 * amount + 1)) - amount;
            Rgb& c = image.at(x, y);
            c = Rgb{std::uint8_t(std::clamp(c.r + n, 0, 255)),
                    std::uint8_t(std::clamp(c.g + n, 0, 255)),
                    std::uint8_t(std::clamp(c.b + n, 0, 255))};
        }
    }
    return image;
}

const std::vector<Scene>& LevelScenes() {
    static const std::vector<Scene> scenes = [] {
        struct Entry {
            const char* file;
            Hour hour;
            Shore shore;
        };
        const Entry entries[] = {
            // The pack, from a bright morning to the night and back to the dawn.
            {"morning-beach.jpg", Hour::Morning, Shore::Beach},
            {"noon-dunes.jpg", Hour::Noon, Shore::Dunes},
            {"morning-harbour.jpg", Hour::Morning, Shore::Harbour},
            {"noon-pier.jpg", Hour::Noon, Shore::Pier},
            {"afternoon-cliffs.jpg", Hour::Afternoon, Shore::Cliffs},
            {"noon-island.jpg", Hour::Noon, Shore::Island},
            {"afternoon-rocks.jpg", Hour::Afternoon, Shore::Rocks},
            {"overcast-lighthouse.jpg", Hour::Overcast, Shore::Lighthouse},
            {"afternoon-beach.jpg", Hour::Afternoon, Shore::Beach},
            {"overcast-harbour.jpg", Hour::Overcast, Shore::Harbour},
            {"sunset-dunes.jpg", Hour::Sunset, Shore::Dunes},
            {"sunset-pier.jpg", Hour::Sunset, Shore::Pier},
            {"sunset-lighthouse.jpg", Hour::Sunset, Shore::Lighthouse},
            {"dusk-harbour.jpg", Hour::Dusk, Shore::Harbour},
            {"dusk-rocks.jpg", Hour::Dusk, Shore::Rocks},
            {"night-beach.jpg", Hour::Night, Shore::Beach},
            {"night-lighthouse.jpg", Hour::Night, Shore::Lighthouse},
            {"night-harbour.jpg", Hour::Night, Shore::Harbour},
            {"night-cliffs.jpg", Hour::Night, Shore::Cliffs},
            {"dawn-island.jpg", Hour::Dawn, Shore::Island},
            {"dawn-dunes.jpg", Hour::Dawn, Shore::Dunes},
            {"dawn-pier.jpg", Hour::Dawn, Shore::Pier},
            {"overcast-cliffs.jpg", Hour::Overcast, Shore::Cliffs},
            {"morning-rocks.jpg", Hour::Morning, Shore::Rocks},
            {"noon-lighthouse.jpg", Hour::Noon, Shore::Lighthouse},
            // Beside the level file.
            {"harbour01.jpg", Hour::Morning, Shore::Pier},
            {"harbour02.jpg", Hour::Noon, Shore::Harbour},
            {"harbour03.jpg", Hour::Afternoon, Shore::Island},
            {"harbour04.jpg", Hour::Overcast, Shore::Dunes},
            {"harbour05.jpg", Hour::Afternoon, Shore::Lighthouse},
            {"harbour06.jpg", Hour::Sunset, Shore::Beach},
            {"harbour07.jpg", Hour::Sunset, Shore::Harbour},
            {"harbour08.jpg", Hour::Dusk, Shore::Cliffs},
            {"harbour09.jpg", Hour::Night, Shore::Pier},
            {"harbour10.jpg", Hour::Dawn, Shore::Rocks},
        };
        std::vector<Scene> list;
        std::uint32_t seed = 1;
        for (const Entry& e : entries) {
            list.push_back({e.file, e.hour, e.shore, seed++});
        }
        return list;
    }();
    return scenes;
}

Image RenderTitle() {
    Image image = Scene{"ZNTitle.jpg", Hour::Noon, Shore::Beach, 4242}.Render();
    Canvas canvas(kW, kH);
    cairo_t* cr = canvas.cr;
    // The picture as the ground of the title.
    cairo_surface_t* ground = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
    {
        const int stride = cairo_image_surface_get_stride(ground);
        unsigned char* data = cairo_image_surface_get_data(ground);
        for (int y = 0; y < kH; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
            for (int x = 0; x < kW; ++x) {
                const Rgb c = image.at(x, y);
                row[x] = 0xFF000000u | (c.r << 16) | (c.g << 8) | c.b;
            }
        }
        cairo_surface_mark_dirty(ground);
    }
    cairo_set_source_surface(cr, ground, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(ground);

    // The name in big inked letters.
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 124);
    const char* name = "ZINTREL";
    cairo_text_extents_t ext;
    cairo_text_extents(cr, name, &ext);
    const double tx = (kW - ext.x_advance) / 2, ty = 185;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, tx + 6, ty + 6);
    cairo_text_path(cr, name);
    SetColour(cr, kInk, 0.55);
    cairo_fill(cr);
    cairo_move_to(cr, tx, ty);
    cairo_text_path(cr, name);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 10);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, ty - 90, 0, ty);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.99, 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 1.0, 0.78, 0.15);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.93, 0.36, 0.08);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);

    // Gulls around the name.
    const struct {
        double x, y, s;
        GullKind kind;
        int frame;
    } gulls[] = {{30, 30, 1.3, GullKind::Plain, 3},
                 {520, 20, 1.2, GullKind::Tough, 22},
                 {480, 200, 0.9, GullKind::Plain, 27},
                 {60, 200, 0.8, GullKind::Battered, 11}};
    for (const auto& g : gulls) {
        cairo_save(cr);
        cairo_translate(cr, g.x, g.y);
        cairo_scale(cr, g.s, g.s);
        PaintGull(cr, g.kind, g.frame);
        cairo_restore(cr);
    }

    // The light board where the title screen writes its black menu, seven lines of it.
    cairo_new_sub_path(cr);
    cairo_arc(cr, 146, 292, 12, M_PI, 1.5 * M_PI);
    cairo_arc(cr, 494, 292, 12, 1.5 * M_PI, 2 * M_PI);
    cairo_arc(cr, 494, 434, 12, 0, 0.5 * M_PI);
    cairo_arc(cr, 146, 434, 12, 0.5 * M_PI, M_PI);
    cairo_close_path(cr);
    SetColour(cr, Rgb{255, 250, 232}, 0.93);
    cairo_fill_preserve(cr);
    SetColour(cr, Rgb{150, 110, 60});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    return FromCairo(canvas.surface);
}

}  // namespace bake
