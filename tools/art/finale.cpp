// The pictures of the finale (scene 7): the floor, the columns, the box of space, the falling
// petals, and the sun with the halos of its chain.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "art/drawings.h"
#include "art/noise.h"

namespace kelvorin::art {

// 13: the floor, laid 5 by 5: a 2 by 2 checker of light and dark marble with grout and brass
// inlays at the corners. Period 128 pixels and periodic marble, so it tiles both ways.
Image DrawCarrelage() {
    const int N = 256, T = 128;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = (x + 0.5f) / N, v = (y + 0.5f) / N;
            bool dark = ((x / T) + (y / T)) & 1;
            float n = FractalNoise(u, v, 4, 4, 5, dark ? 52 : 51);
            // |sin| of a phase that gains whole multiples of pi across the picture: periodic veins.
            float vein = 1 - (float)std::fabs(PortableSin(PI * (2 * u + 3 * v + 2.2f * n)));
            float v2 = vein * vein, veins = v2 * v2 * v2 * v2;
            float cloud = FractalNoise(u, v, 8, 8, 4, dark ? 54 : 53);
            Rgb c = dark ? Rgb{0.1f, 0.12f, 0.17f} * (0.9f + 0.6f * cloud) +
                               Rgb{0.4f, 0.45f, 0.5f} * veins
                         : Rgb{0.86f, 0.83f, 0.77f} * (0.95f + 0.2f * cloud) +
                               Rgb{-0.2f, -0.2f, -0.17f} * veins;
            float tx = (float)(x % T) + 0.5f, ty = (float)(y % T) + 0.5f;
            float gx = std::min(tx, T - tx), gy = std::min(ty, T - ty), g = std::min(gx, gy);
            float bevel = SmoothStep(1.5f, 7, g);
            bool lit = gy < gx ? ty < T / 2 : tx < T / 2;  // upper and left edges catch the light
            c = c * Mix(lit ? 1.18f : 0.78f, 1, bevel);
            c = Mix(c, Rgb{0.2f, 0.19f, 0.18f}, Clamp(2.5f - g));
            float diamond = gx + gy;  // distance to the nearest tile corner, in the diamond metric
            c = Mix(c, Rgb{0.85f, 0.64f, 0.26f} * (0.9f + 0.3f * n), Clamp(13 - diamond));
            c = Mix(c, Rgb{0.12f, 0.1f, 0.14f}, Clamp(7 - diamond));
            img.At(x, y) = c;
        }
    return img;
}

// 14: stone for the column faces, 0.19 by 3 on screen: courses of ashlar with mortar joints.
// Rows are shown twice as tall as columns are wide, so features are drawn half as tall.
// Periodic noise and joints that wrap keep neighbouring faces continuous.
Image DrawPierre() {
    const int W = 64, H = 512, COURSE = 32;
    Image img(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float u = (x + 0.5f) / W, v = (y + 0.5f) / H;
            int course = y / COURSE;
            float ly = (float)(y % COURSE) + 0.5f, dy = std::min(ly, COURSE - ly);
            float jx = (course & 1) ? W / 2.0f : 0, dx = std::fabs(x + 0.5f - jx);
            dx = std::min(dx, W - dx) / 2;  // joints measured as they look on screen
            float d = std::min(dx, dy);
            float n = FractalNoise(u, v, 2, 32, 5, 61), grain = FractalNoise(u, v, 16, 256, 2, 62);
            uint32_t h = Hash(course, 0, 63);
            float shade = 0.85f + 0.25f * (h & 255) / 255.0f, warm = ((h >> 8) & 255) / 255.0f;
            Rgb stone = Mix(Rgb{0.68f, 0.68f, 0.66f}, Rgb{0.78f, 0.7f, 0.58f}, warm) *
                        (shade * (0.8f + 0.55f * n));
            stone += WHITE * (0.08f * grain);
            if (grain < -0.35f) stone = stone * 0.7f;  // pits
            stone = stone * (0.72f + 0.28f * SmoothStep(1.2f, 4.5f, d));
            Rgb mortar = Rgb{0.3f, 0.28f, 0.25f} * (0.9f + 0.3f * n);
            img.At(x, y) = Mix(stone, mortar, Clamp(1.6f - d));
        }
    return img;
}

// 16: deep space for the inside of the finale's box: nebula and stars, periodic so that the
// repeat seam never cuts a bright patch in half.
Image DrawEspace() {
    const int N = 512;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = (x + 0.5f) / N, v = (y + 0.5f) / N;
            float qx = FractalNoise(u, v, 3, 3, 4, 21), qy = FractalNoise(u, v, 3, 3, 4, 22);
            float d1 = FractalNoise(u + 0.5f * qx, v + 0.5f * qy, 3, 3, 6, 23);
            float d2 = FractalNoise(u - 0.4f * qy, v + 0.4f * qx, 4, 4, 6, 24);
            float dust = Clamp(FractalNoise(u, v, 6, 6, 5, 25) * 2 + 0.35f);
            float m1 = Square(Clamp(d1 * 2.6f + 0.35f)), m2 = Square(Clamp(d2 * 2.6f + 0.1f));
            float ridge = PositivePart(1 - std::fabs(d1) * 6);
            ridge = Square(Square(ridge)) * m2;
            Rgb c = Rgb{0.004f, 0.004f, 0.014f} + Rgb{0.5f, 0.08f, 0.55f} * (0.75f * m1) +
                    Rgb{0.05f, 0.32f, 0.5f} * (0.7f * m2) + Rgb{0.8f, 0.55f, 1} * (0.35f * ridge);
            img.At(x, y) = c * (0.3f + 0.7f * dust);
        }
    Rng rng(0x65737061);
    const Rgb TINTS[3] = {{1, 0.82f, 0.65f}, {1, 1, 1}, {0.72f, 0.83f, 1}};
    for (int i = 0; i < 1800; ++i) {
        float x = rng.Range(0, (float)N), y = rng.Range(0, (float)N), b = rng.Uniform();
        Rgb tint = TINTS[rng.Next() % 3];
        b = b * b;
        AddDot(img, x, y, 0.5f + 0.35f * b, tint * (0.12f + 0.9f * b * b), true);
    }
    for (int i = 0; i < 14; ++i) {
        float x = rng.Range(0, (float)N), y = rng.Range(0, (float)N);
        Rgb tint = TINTS[rng.Next() % 3];
        AddDot(img, x, y, 1.0f, tint * 1.4f, true);
        AddDot(img, x, y, 4.0f, tint * 0.22f, true);
        for (int k = 2; k < 20; ++k) {  // diffraction spikes
            float b = 0.5f * Square(1 - k / 20.0f);
            AddDot(img, x + k, y, 0.6f, tint * b, true);
            AddDot(img, x - k, y, 0.6f, tint * b, true);
            AddDot(img, x, y + k, 0.6f, tint * b, true);
            AddDot(img, x, y - k, 0.6f, tint * b, true);
        }
    }
    return img;
}

// 15: a blossom petal with a notched tip. The sprite is 1.5 times wider than tall on screen,
// so the petal is laid along x and drawn slimmer across than it should look.
Image DrawPetale() {
    Image img(64, 64);
    const int SS = 4;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Rgb sum = BLACK;
            for (int j = 0; j < SS; ++j)
                for (int i = 0; i < SS; ++i) {
                    float u = (x + (i + 0.5f) / SS) * 2.0f / img.w - 1;
                    float v = 1 - (y + (j + 0.5f) / SS) * 2.0f / img.h;
                    float t = (u + 0.84f) / 1.68f;
                    if (t <= 0 || t >= 1) continue;
                    float across = v + 0.5f * Square(t - 0.5f) - 0.06f;  // a slight bend
                    float half = 1.2f * std::sqrt(t * (1 - t)) * (0.42f + 0.5f * t);
                    float a = std::fabs(across);
                    if (a >= half) continue;
                    if (a < 0.16f && t > 1 - 0.1f * (1 - a / 0.16f)) continue;  // the notch
                    float edge = a / half;
                    Rgb c =
                        Mix(Rgb{0.8f, 0.2f, 0.5f}, Rgb{1, 0.62f, 0.82f}, SmoothStep(0, 0.55f, t));
                    c = Mix(c, Rgb{1, 0.9f, 0.96f}, 0.8f * SmoothStep(0.65f, 1, edge));
                    c += Rgb{1, 0.8f, 0.9f} * (0.35f * Gaussian(across / 0.02f) * (1 - t));
                    sum += c * (0.6f + 0.4f * (1 - edge * edge));
                }
            img.At(x, y) = sum * (1.0f / (SS * SS));
        }
    FadeBorder(img, 3);
    return img;
}

// Radial pictures: sun layers and halos, seen from below in the finale.
template <class F>
Image RadialPicture(F f) {
    const int N = 256;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = UnitX(x, N), v = UnitY(y, N), r = std::sqrt(u * u + v * v);
            float a = (float)PortableAtan2(v, u);
            img.At(x, y) = f(u, v, r, a) * (1 - SmoothStep(0.86f, 0.98f, r));
        }
    FadeBorder(img, 4);
    return img;
}

// 18: one thin cyan ring with a soft halo.
Image DrawAno1() {
    return RadialPicture([](float, float, float r, float) {
        const float R = 0.62f;
        Rgb c =
            Rgb{0.45f, 0.85f, 1} * (Gaussian((r - R) / 0.02f) + 0.45f * Gaussian((r - R) / 0.1f) +
                                    0.08f * Gaussian(r / 0.5f));
        return c + WHITE * (0.6f * Gaussian((r - R) / 0.008f));
    });
}

// 19: an amber double ring, the outer one dashed.
Image DrawAno2() {
    return RadialPicture([](float, float, float r, float a) {
        float dash = Clamp(((float)PortableCos(24 * a) + 0.2f) * 3);
        float inner = Gaussian((r - 0.5f) / 0.015f), outer = Gaussian((r - 0.72f) / 0.03f) * dash;
        return Rgb{1, 0.6f, 0.2f} * (0.3f * Gaussian((r - 0.6f) / 0.16f)) +
               Rgb{1, 0.85f, 0.5f} * (inner + outer);
    });
}

// 20: a magenta crown of rays around a small ring.
Image DrawAno3() {
    return RadialPicture([](float, float, float r, float a) {
        float c = PositivePart((float)PortableCos(36 * a)), c2 = c * c, c4 = c2 * c2,
              rays = c4 * c4;
        float span = SmoothStep(0.3f, 0.4f, r) * (1 - SmoothStep(0.5f, 0.88f, r));
        return Rgb{1, 0.3f, 0.8f} *
                   (Gaussian((r - 0.3f) / 0.02f) + 0.3f * Gaussian((r - 0.3f) / 0.2f)) +
               Rgb{0.8f, 0.45f, 1} * (0.8f * rays * span);
    });
}

// 21: a necklace of sixteen glowing beads.
Image DrawAno4() {
    return RadialPicture([](float u, float v, float r, float) {
        const float R = 0.65f;
        float beads = 0;
        for (int k = 0; k < 16; ++k) {
            double a = k * PI / 8;
            float d = std::sqrt(Square(u - R * (float)PortableCos(a)) +
                                Square(v - R * (float)PortableSin(a)));
            beads += Gaussian(d / 0.035f) + 0.35f * Gaussian(d / 0.09f);
        }
        return Rgb{0.3f, 1, 0.7f} *
               (beads + 0.35f * Gaussian((r - R) / 0.01f) + 0.15f * Gaussian((r - 0.45f) / 0.01f));
    });
}

// 22: the sun: a white-hot disc with a darker limb inside a streaked orange corona.
Image DrawSoleil() {
    return RadialPicture([](float u, float v, float r, float) {
        const float R = 0.36f;
        if (r < R) {
            float mu = std::sqrt(1 - Square(r / R));
            float grain = 0.06f * GradientNoise(u * 40, v * 40, 1 << 20, 1 << 20, 73);
            return Mix(Rgb{1, 0.55f, 0.15f}, Rgb{1.15f, 1.05f, 0.85f}, SmoothStep(0, 0.8f, mu)) *
                   (1 + grain);
        }
        float dx = u / r, dy = v / r;  // sampling noise on a circle keeps the rays continuous
        float streak = GradientNoise(dx * 9, dy * 9, 1 << 20, 1 << 20, 71) +
                       0.5f * GradientNoise(dx * 23 + r * 2, dy * 23, 1 << 20, 1 << 20, 72);
        float rays = Clamp(0.55f + 1.1f * streak);
        float out = r - R;
        float glow = 1.0f * Gaussian(out / 0.04f) + 0.55f * Gaussian(out / 0.16f) * (0.4f + rays) +
                     0.25f * rays * Gaussian(out / 0.34f);
        return Mix(Rgb{1, 0.65f, 0.2f}, Rgb{0.85f, 0.2f, 0.1f}, SmoothStep(0, 0.45f, out)) * glow;
    });
}

}  // namespace kelvorin::art
