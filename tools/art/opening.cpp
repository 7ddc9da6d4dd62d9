// The pictures of the opening scenes: the name banner (scene 0), the logo (scene 1) and the
// emblem that fades in at the lower right (scene 2).
#include <algorithm>
#include <cmath>
#include <vector>

#include "art/drawings.h"
#include "art/lettering.h"
#include "art/noise.h"

namespace kelvorin::art {

// 2: the opening banner, opaque, 10 by 4 on screen. The picture is 2 by 1, so everything is
// drawn 0.8 times as wide as it should look. A sunset over a neon grid, with chrome lettering.
// Only vertical gradients and a grid symmetric about the centre touch the left and right edges,
// so the repeat seam matches.
Image DrawBanner() {
    Image img(512, 256);
    const float SQUEEZE = 0.8f, HORIZON = 172, CX = 256;
    Rng rng(0x6b656c76);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float fy = y + 0.5f, u = (x + 0.5f) / img.w, v = fy / img.h;
            Rgb c;
            if (fy < HORIZON) {
                float t = fy / HORIZON;
                c = t < 0.7f
                        ? Mix(Rgb{0.01f, 0.01f, 0.06f}, Rgb{0.16f, 0.03f, 0.3f}, t / 0.7f)
                        : Mix(Rgb{0.16f, 0.03f, 0.3f}, Rgb{0.8f, 0.2f, 0.45f}, (t - 0.7f) / 0.3f);
                float n = FractalNoise(u, v, 6, 3, 5, 31);
                c += Rgb{0.25f, 0.1f, 0.45f} * (PositivePart(n) * 1.3f * (1 - t));
            } else {
                float dy = fy - HORIZON;
                c = Rgb{0.03f, 0.0f, 0.07f} + Rgb{0.6f, 0.12f, 0.4f} * Gaussian(dy / 7);
                // Perspective grid: depth Z = K / dy, lines at whole Z and whole ground X.
                const float K = 260, F = 125;
                float z = K / dy, distH = std::fabs(z - std::floor(z + 0.5f)) * dy * dy / K;
                float gx = (x + 0.5f - CX) / SQUEEZE * z / F;
                float distV = std::fabs(gx - std::floor(gx + 0.5f)) * F / z * SQUEEZE;
                float fadeV =
                    SmoothStep(4, 40, dy);  // vertical lines crowd into moire near the horizon
                float line = std::max(Clamp(1.2f - distH), Clamp(1.2f - distV) * fadeV);
                float glow = Gaussian(distH / 3) + Gaussian(distV / 3) * fadeV;
                Rgb lc = Mix(Rgb{1, 0.3f, 0.8f}, Rgb{0.3f, 0.9f, 1}, SmoothStep(0, 84, dy));
                c += lc * ((line + 0.3f * glow) * SmoothStep(2, 30, dy));
            }
            img.At(x, y) = c;
        }
    // Stars in the upper sky.
    for (int i = 0; i < 240; ++i) {
        float x = rng.Range(0, (float)img.w), y = rng.Range(0, HORIZON - 40), b = rng.Uniform();
        b = 0.15f + 0.85f * b * b * b;
        AddDot(img, x, y, 0.55f, Mix(WHITE, Rgb{0.7f, 0.8f, 1}, rng.Uniform()) * b, true);
    }
    // The sun sinking behind the letters, striped in its lower half.
    const float SUN_R = 74, SUN_Y = HORIZON - 6;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float dx = (x + 0.5f - CX) / SQUEEZE, dy = y + 0.5f - SUN_Y,
                  r = std::sqrt(dx * dx + dy * dy);
            if (y + 0.5f >= HORIZON) continue;
            img.At(x, y) += Rgb{1, 0.3f, 0.6f} * (0.45f * Gaussian(PositivePart(r - SUN_R) / 28));
            float cov = Clamp(SUN_R - r + 0.5f);
            if (dy > -0.15f * SUN_R) {
                float s = (dy + SUN_R) / 11, phase = s - std::floor(s);
                float gap = 0.1f + 0.45f * (dy / SUN_R + 0.15f);
                cov *= Clamp((phase - gap) * 11) * Clamp((1 - phase) * 11 + 0.5f);
            }
            Rgb sun = Mix(Rgb{1, 0.95f, 0.55f}, Rgb{1, 0.25f, 0.55f},
                          SmoothStep(-SUN_R, SUN_R * 0.6f, dy));
            img.At(x, y) = Mix(img.At(x, y), sun, cov);
        }
    // Lettering: glow, a dark outline, then chrome with bright upper edges.
    Mask m(img.w, img.h);
    TextStyle st = FitText({&boldFont, 120, SQUEEZE, 0.05f}, "KELVORIN", 484);
    const float TY = 110;
    RasteriseText(&m, st, "KELVORIN", CX, TY);
    Mask outline = BlurMask(m, 2);
    for (float &a : outline.v) a = Clamp(a * 3);
    AddColour(img, BlurMask(m, 10), Rgb{1, 0.25f, 0.75f} * 0.8f);
    AddColour(img, BlurMask(m, 3), Rgb{0.4f, 0.7f, 1} * 0.5f);
    PaintFill(img, outline, [](int, int) { return Rgb{0.02f, 0.01f, 0.08f}; });
    float top = TY - st.cap / 2;
    PaintFill(img, m, [&](int x, int y) {
        Rgb c = ChromeColour((y + 0.5f - top) / st.cap, {0.35f, 0.55f, 0.95f}, {0.1f, 0.05f, 0.25f},
                             {1, 0.72f, 0.9f});
        return c + WHITE * (0.6f * PositivePart(m.Get(x, y) - m.Get(x, y - 3)));
    });
    // A quiet subtitle on the grid.
    Mask sub(img.w, img.h);
    TextStyle ss = FitText({&boldFont, 14, SQUEEZE, 0.4f}, "A  REAL-TIME  JOURNEY", 300);
    RasteriseText(&sub, ss, "A  REAL-TIME  JOURNEY", CX, 214);
    Mask shade = BlurMask(sub, 4);
    for (float &a : shade.v) a = Clamp(a * 2.5f);
    PaintFill(img, shade, [](int, int) { return Rgb{0.02f, 0.0f, 0.06f}; });
    AddColour(img, BlurMask(sub, 2), Rgb{0.3f, 0.8f, 1} * 0.8f);
    PaintFill(img, sub, [](int, int) { return Rgb{0.85f, 0.97f, 1}; });
    return img;
}

// 0: an emblem for scene 2's corner: a ringed planet inside a badge, with the word below.
// The picture's bottom edge falls just off screen there, so everything sits a little high.
Image DrawQuorvanel() {
    const int N = 256;
    const float C = N / 2.0f;
    Image img(N, N);
    const Rgb GOLD = {1, 0.72f, 0.32f}, VIOLET = {0.6f, 0.35f, 1}, CYAN = {0.35f, 0.8f, 1};
    Mask rings(N, N), orbitBack(N, N), orbitFront(N, N), word(N, N), sparks(N, N);
    StrokeRing(rings, C, C, 0.86f * C, 2.4f);
    StrokeRing(rings, C, C, 0.79f * C, 1.1f);
    for (int k = 0; k < 8; ++k) {
        double a = k * PI / 4;
        float bx = C + 0.86f * C * (float)PortableSin(a),
              by = C - 0.86f * C * (float)PortableCos(a);
        StrokeSegment(rings, bx, by, bx, by, 7);
    }
    // The planet, lit from the upper left, with a tilted orbit passing in front and behind.
    const float PX = C, PY = C - 20, PR = 36, TILT = -0.3f;
    std::vector<Point2> back, front;
    for (int i = 0; i <= 96; ++i) {
        double a = i / 96.0 * 2 * PI;
        float ex = 74 * (float)PortableCos(a), ey = 15 * (float)PortableSin(a);
        Point2 p = {PX + ex * (float)PortableCos(TILT) - ey * (float)PortableSin(TILT),
                    PY + ex * (float)PortableSin(TILT) + ey * (float)PortableCos(TILT)};
        (PortableSin(a) < 0 ? back : front).push_back(p);
    }
    StrokePolyline(orbitBack, back, 2, false);
    StrokePolyline(orbitFront, front, 2, false);
    AddColour(img, BlurMask(rings, 4), GOLD * 0.6f);
    AddColour(img, rings, Mix(GOLD, WHITE, 0.3f));
    AddColour(img, BlurMask(orbitBack, 3), CYAN * 0.6f);
    AddColour(img, orbitBack, Mix(CYAN, WHITE, 0.4f));
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float nx = (x + 0.5f - PX) / PR, ny = (y + 0.5f - PY) / PR, r2 = nx * nx + ny * ny;
            float r = std::sqrt(r2);
            img.At(x, y) += VIOLET * (0.35f * Gaussian(PositivePart(r - 1) / 0.35f));
            float cov = Clamp((1 - r) * PR + 0.5f);
            if (cov <= 0) continue;
            float nz = std::sqrt(PositivePart(1 - r2)),
                  light = PositivePart(-0.5f * nx - 0.55f * ny + 0.67f * nz);
            float bands =
                0.5f + 0.5f * (float)PortableSin(ny * 11 + 2.5f * FractalNoise(nx * 0.3f, ny * 0.3f,
                                                                               64, 64, 3, 41));
            Rgb c = Mix(Rgb{0.12f, 0.04f, 0.3f},
                        Mix(Rgb{0.35f, 0.55f, 1}, Rgb{0.7f, 0.9f, 1}, bands), light);
            c += VIOLET * (0.9f * (1 - nz) * (1 - nz) * (1 - nz));
            img.At(x, y) = Mix(img.At(x, y), c, cov);
        }
    AddColour(img, BlurMask(orbitFront, 3), CYAN * 0.6f);
    AddColour(img, orbitFront, Mix(CYAN, WHITE, 0.5f));
    DrawGlint(sparks, C - 52, C - 58, 5);
    DrawGlint(sparks, C + 58, C - 44, 4);
    DrawGlint(sparks, C + 40, C + 20, 3);
    AddColour(img, BlurMask(sparks, 2), CYAN * 0.6f);
    AddColour(img, sparks, WHITE * 0.9f);
    TextStyle st = FitText({&boldFont, 20, 1, 0.2f}, "QUORVANEL", 150);
    const float TY = C + 50;
    RasteriseText(&word, st, "QUORVANEL", C, TY);
    AddColour(img, BlurMask(word, 5), Rgb{1, 0.45f, 0.15f} * 0.8f);
    float top = TY - st.cap / 2;
    PaintFill(img, word, [&](int, int y) {
        return Mix(WHITE * 1.2f, GOLD, SmoothStep(0, 1, (y + 0.5f - top) / st.cap));
    });
    for (int x = 0; x < N; ++x) {  // a fine rule under the word
        float k = Square(PositivePart(1 - std::fabs(x + 0.5f - C) / 60));
        for (int y = (int)(TY + 16); y < (int)(TY + 19); ++y)
            img.At(x, y) += GOLD * (k * 0.8f * Gaussian((y + 0.5f - (TY + 17.5f)) / 0.6f));
    }
    FadeBorder(img, 6);
    return img;
}

// 1: the logo mark: a chrome K inside a double diamond, the name beneath it. The desktop icon
// is this picture too, opaque inside the inner diamond.
Image DrawLogo() {
    const int N = 256;
    const float C = N / 2.0f, D1 = 104, D2 = LOGO_INNER;
    Image img(N, N);
    const Rgb CYAN = {0.3f, 0.8f, 1}, VIOLET = {0.7f, 0.4f, 1};
    Mask outer(N, N), inner(N, N), k(N, N), word(N, N), sparks(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float dx = x + 0.5f - C, dy = y + 0.5f - C, d = std::fabs(dx) + std::fabs(dy);
            outer.Put(x, y, StrokeCoverage(std::fabs(d - D1) / 1.41421356f, 2.6f));
            inner.Put(x, y, StrokeCoverage(std::fabs(d - D2) / 1.41421356f, 1.4f));
            float fill = Clamp((D2 - d) / 1.41421356f + 0.5f);
            float sweep = 0.5f + 0.5f * (float)PortableSin((dx - dy) / 40.0f);
            img.At(x, y) = Mix(Rgb{0.02f, 0.04f, 0.16f}, Rgb{0.1f, 0.06f, 0.3f}, sweep) *
                           (fill * (1 - 0.6f * d / D2));
        }
    TextStyle ks = {&boldFont, 84, 1, 0};
    const float KY = C - 10;
    RasteriseText(&k, ks, "K", C, KY);
    TextStyle ws = FitText({&boldFont, 11, 1, 0.35f}, "KELVORIN", 84);
    RasteriseText(&word, ws, "KELVORIN", C, C + 52);
    DrawGlint(sparks, C, C - D1, 9);
    DrawGlint(sparks, C, C + D1, 6);
    AddColour(img, BlurMask(outer, 5), CYAN * 0.7f);
    AddColour(img, outer, Mix(CYAN, WHITE, 0.4f));
    AddColour(img, BlurMask(inner, 3), VIOLET * 0.5f);
    AddColour(img, inner, VIOLET * 0.8f);
    AddColour(img, BlurMask(k, 12), VIOLET * 0.7f);
    AddColour(img, BlurMask(k, 4), CYAN * 0.8f);
    float top = KY - ks.cap / 2;
    PaintFill(img, k, [&](int x, int y) {
        Rgb c = ChromeColour((y + 0.5f - top) / ks.cap, {0.4f, 0.65f, 1}, {0.1f, 0.08f, 0.4f},
                             {0.8f, 0.6f, 1});
        return c + WHITE * (0.5f * PositivePart(k.Get(x, y) - k.Get(x - 2, y - 2)));
    });
    AddColour(img, BlurMask(word, 3), CYAN * 0.6f);
    PaintFill(img, word, [](int, int) { return Rgb{0.85f, 0.95f, 1}; });
    AddColour(img, BlurMask(sparks, 2), CYAN * 0.7f);
    AddColour(img, sparks, WHITE);
    FadeBorder(img, 8);
    return img;
}

}  // namespace kelvorin::art
