// The pictures of the cube fan and the countdown: the credits in bands (scene 3), the title
// (scenes 3 and 4) and the six countdown dials (scene 4).
#include <cmath>

#include "art/credits.h"
#include "art/drawings.h"
#include "art/lettering.h"

namespace kelvorin::art {

// 3: four credit lines, one in each band that scene 3 cuts out of the picture (bands end at
// t = 0.75, 0.5 and 0.26), each centred well inside its band so no glow crosses a cut.
Image DrawMaker() {
    const int N = 256;
    Image img(N, N);
    const float BOUNDS[5] = {0, 64, 128, (1 - 0.26f) * N, (float)N};  // rows, top down
    // The credits' lines, then the production's without a role.
    const char *LABELS[NUM_CREDITS + 1] = {}, *NAMES[NUM_CREDITS + 1] = {};
    for (int i = 0; i < NUM_CREDITS; ++i) LABELS[i] = CREDITS[i].role, NAMES[i] = CREDITS[i].name;
    NAMES[NUM_CREDITS] = PRODUCTION;
    static_assert(NUM_CREDITS + 1 == 4, "one credit line in each of the picture's four bands");
    Mask labels(N, N), names(N, N), gold(N, N), rules(N, N);
    for (int i = 0; i < 4; ++i) {
        float cy = (BOUNDS[i] + BOUNDS[i + 1]) / 2 - 3;
        TextStyle ls = {&bookFont, 15, 1, 0.18f}, ns = {&boldFont, 21, 1, 0.08f};
        float gap = 12, wl = LABELS[i] ? RasteriseText(nullptr, ls, LABELS[i], 0, 0) : 0;
        float wn = RasteriseText(nullptr, ns, NAMES[i], 0, 0),
              total = wl + (LABELS[i] ? gap : 0) + wn;
        if (total > 228) {
            float k = 228 / total;
            ls.cap *= k;
            ns.cap *= k;
            wl *= k;
            wn *= k;
            gap *= k;
            total = 228;
        }
        float left = N / 2.0f - total / 2;
        if (LABELS[i]) RasteriseText(&labels, ls, LABELS[i], left + wl / 2, cy);
        RasteriseText(LABELS[i] ? &names : &gold, ns, NAMES[i], left + total - wn / 2, cy);
        float ry = cy + ns.cap / 2 + 7, reach = total / 2 + 14;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                rules.At(x, y) += Gaussian((y + 0.5f - ry) / 0.6f) *
                                  Square(PositivePart(1 - std::fabs(x + 0.5f - N / 2.0f) / reach));
    }
    const Rgb CYAN = {0.35f, 0.8f, 1}, PINK = {1, 0.35f, 0.7f}, AMBER = {1, 0.6f, 0.2f};
    AddColour(img, BlurMask(labels, 4), CYAN * 0.55f);
    AddColour(img, BlurMask(names, 5), PINK * 0.75f);
    AddColour(img, BlurMask(gold, 5), AMBER * 0.8f);
    AddColour(img, rules, Rgb{0.5f, 0.7f, 1} * 0.8f);
    PaintFill(img, labels, [&](int, int) { return Mix(CYAN, WHITE, 0.3f); });
    PaintFill(img, names, [](int, int) { return Rgb{1, 0.93f, 0.97f}; });
    PaintFill(img, gold, [](int, int) { return Rgb{1, 0.88f, 0.6f}; });
    FadeBorder(img, 4);
    return img;
}

// 4: the title lettering, 8 by 2 on screen.
Image DrawTitle() {
    Image img(512, 128);
    const float CX = 256, CY = 64;
    Mask m(img.w, img.h);
    TextStyle st = FitText({&boldFont, 60, 1, 0.1f}, "KELVORIN", 440);
    RasteriseText(&m, st, "KELVORIN", CX, CY);
    AddColour(img, BlurMask(m, 12), Rgb{0.55f, 0.15f, 0.85f} * 0.9f);
    AddColour(img, BlurMask(m, 4), Rgb{0.3f, 0.6f, 1} * 0.9f);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float dy = y + 0.5f - CY,
                  along = Square(PositivePart(1 - std::fabs(x + 0.5f - CX) / 250));
            img.At(x, y) += Rgb{0.6f, 0.8f, 1} *
                            (along * (0.9f * Gaussian(dy / 1.3f) + 0.25f * Gaussian(dy / 6)));
        }
    float top = CY - st.cap / 2;
    PaintFill(img, m, [&](int, int y) {
        return ChromeColour((y + 0.5f - top) / st.cap, {0.45f, 0.7f, 1}, {0.12f, 0.1f, 0.45f},
                            {0.95f, 0.6f, 1});
    });
    FadeBorder(img, 8);
    return img;
}

// 7..12: the countdown digits inside a dial whose bright arc shrinks from a full circle at 5
// to nothing at 0.
Image DrawDigit(int n) {
    const Rgb HUES[6] = {{1, 0.72f, 0.3f},  {1, 0.32f, 0.55f}, {0.85f, 0.35f, 1},
                         {0.55f, 0.45f, 1}, {0.35f, 0.6f, 1},  {0.3f, 0.85f, 1}};
    const int N = 256;
    const float C = N / 2.0f, R = 0.8f * C;
    Rgb hue = HUES[n];
    Image img(N, N);
    Mask glyph(N, N), ring(N, N), arc(N, N), ticks(N, N);
    char s[2] = {(char)('0' + n), 0};
    TextStyle st = {&boldFont, 116, 1, 0};
    RasteriseText(&glyph, st, s, C, C);
    StrokeRing(ring, C, C, R, 1.6f);
    float end = n / 5.0f * (float)(2 * PI);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float dx = x + 0.5f - C, dy = y + 0.5f - C, r = std::sqrt(dx * dx + dy * dy);
            float theta = (float)PortableAtan2(dx, -dy);  // 0 at the top, growing clockwise
            if (theta < 0) theta += (float)(2 * PI);
            float along = Clamp((end - theta) * R + 0.5f) * Clamp(theta * R + 0.5f);
            arc.Put(x, y, StrokeCoverage(std::fabs(r - R), 6) * along);
            img.At(x, y) = hue * (0.12f * Gaussian(r / (0.55f * C)));
        }
    for (int k = 0; k < 60; ++k) {
        double a = k / 60.0 * 2 * PI;
        float r0 = 0.855f * C, r1 = (k % 5 == 0 ? 0.93f : 0.89f) * C;
        float sx = (float)PortableSin(a), sy = (float)-PortableCos(a);
        StrokeSegment(ticks, C + sx * r0, C + sy * r0, C + sx * r1, C + sy * r1,
                      k % 5 == 0 ? 2.2f : 1.3f);
    }
    AddColour(img, BlurMask(ring, 3), hue * 0.5f);
    AddColour(img, ring, hue * 0.45f);
    AddColour(img, ticks, hue * 0.55f);
    AddColour(img, BlurMask(arc, 5), hue * 0.9f);
    AddColour(img, arc, Mix(hue, WHITE, 0.5f) * 1.1f);
    AddColour(img, BlurMask(glyph, 14), hue * 0.8f);
    AddColour(img, BlurMask(glyph, 4), hue * 0.9f);
    float top = C - st.cap / 2;
    PaintFill(img, glyph, [&](int, int y) {
        return Mix(WHITE * 1.3f, Mix(hue, WHITE, 0.35f), SmoothStep(0, 1, (y - top) / st.cap));
    });
    FadeBorder(img, 8);
    return img;
}

}  // namespace kelvorin::art
