// The pictures of the opening scenes: the name banner (scene 0), the logo (scene 1) and the
// emblem that fades in at the lower right (scene 2).
#include <algorithm>
#include <cmath>
#include <vector>

#include "art/lettering.h"
#include "art/noise.h"
#include "art/pictures.h"

namespace kelvorin {

// 2: the opening banner, opaque, 10 by 4 on screen. The picture is 2 by 1, so everything is
// drawn 0.8 times as wide as it should look. A sunset over a neon grid, with chrome lettering.
// Only vertical gradients and a grid symmetric about the centre touch the left and right edges,
// so the repeat seam matches.
Image drawBanner() {
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
                        ? mix(Rgb{0.01f, 0.01f, 0.06f}, Rgb{0.16f, 0.03f, 0.3f}, t / 0.7f)
                        : mix(Rgb{0.16f, 0.03f, 0.3f}, Rgb{0.8f, 0.2f, 0.45f}, (t - 0.7f) / 0.3f);
                float n = fbm(u, v, 6, 3, 5, 31);
                c += Rgb{0.25f, 0.1f, 0.45f} * (pos(n) * 1.3f * (1 - t));
            } else {
                float dy = fy - HORIZON;
                c = Rgb{0.03f, 0.0f, 0.07f} + Rgb{0.6f, 0.12f, 0.4f} * gauss(dy / 7);
                // Perspective grid: depth Z = K / dy, lines at whole Z and whole ground X.
                const float K = 260, F = 125;
                float z = K / dy, distH = std::fabs(z - std::floor(z + 0.5f)) * dy * dy / K;
                float gx = (x + 0.5f - CX) / SQUEEZE * z / F;
                float distV = std::fabs(gx - std::floor(gx + 0.5f)) * F / z * SQUEEZE;
                float fadeV =
                    smooth(4, 40, dy);  // vertical lines crowd into moire near the horizon
                float line = std::max(clampf(1.2f - distH), clampf(1.2f - distV) * fadeV);
                float glow = gauss(distH / 3) + gauss(distV / 3) * fadeV;
                Rgb lc = mix(Rgb{1, 0.3f, 0.8f}, Rgb{0.3f, 0.9f, 1}, smooth(0, 84, dy));
                c += lc * ((line + 0.3f * glow) * smooth(2, 30, dy));
            }
            img.at(x, y) = c;
        }
    // Stars in the upper sky.
    for (int i = 0; i < 240; ++i) {
        float x = rng.range(0, (float)img.w), y = rng.range(0, HORIZON - 40), b = rng.uniform();
        b = 0.15f + 0.85f * b * b * b;
        splat(img, x, y, 0.55f, mix(WHITE, Rgb{0.7f, 0.8f, 1}, rng.uniform()) * b, true);
    }
    // The sun sinking behind the letters, striped in its lower half.
    const float SUN_R = 74, SUN_Y = HORIZON - 6;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float dx = (x + 0.5f - CX) / SQUEEZE, dy = y + 0.5f - SUN_Y,
                  r = std::sqrt(dx * dx + dy * dy);
            if (y + 0.5f >= HORIZON) continue;
            img.at(x, y) += Rgb{1, 0.3f, 0.6f} * (0.45f * gauss(pos(r - SUN_R) / 28));
            float cov = clampf(SUN_R - r + 0.5f);
            if (dy > -0.15f * SUN_R) {
                float s = (dy + SUN_R) / 11, phase = s - std::floor(s);
                float gap = 0.1f + 0.45f * (dy / SUN_R + 0.15f);
                cov *= clampf((phase - gap) * 11) * clampf((1 - phase) * 11 + 0.5f);
            }
            Rgb sun =
                mix(Rgb{1, 0.95f, 0.55f}, Rgb{1, 0.25f, 0.55f}, smooth(-SUN_R, SUN_R * 0.6f, dy));
            img.at(x, y) = mix(img.at(x, y), sun, cov);
        }
    // Lettering: glow, a dark outline, then chrome with bright upper edges.
    Mask m(img.w, img.h);
    TextStyle st = fit({&boldFont, 120, SQUEEZE, 0.05f}, "KELVORIN", 484);
    const float TY = 110;
    text(&m, st, "KELVORIN", CX, TY);
    Mask outline = blur(m, 2);
    for (float &a : outline.v) a = clampf(a * 3);
    add(img, blur(m, 10), Rgb{1, 0.25f, 0.75f} * 0.8f);
    add(img, blur(m, 3), Rgb{0.4f, 0.7f, 1} * 0.5f);
    paint(img, outline, [](int, int) { return Rgb{0.02f, 0.01f, 0.08f}; });
    float top = TY - st.cap / 2;
    paint(img, m, [&](int x, int y) {
        Rgb c = chrome((y + 0.5f - top) / st.cap, {0.35f, 0.55f, 0.95f}, {0.1f, 0.05f, 0.25f},
                       {1, 0.72f, 0.9f});
        return c + WHITE * (0.6f * pos(m.get(x, y) - m.get(x, y - 3)));
    });
    // A quiet subtitle on the grid.
    Mask sub(img.w, img.h);
    TextStyle ss = fit({&boldFont, 14, SQUEEZE, 0.4f}, "A  REAL-TIME  JOURNEY", 300);
    text(&sub, ss, "A  REAL-TIME  JOURNEY", CX, 214);
    Mask shade = blur(sub, 4);
    for (float &a : shade.v) a = clampf(a * 2.5f);
    paint(img, shade, [](int, int) { return Rgb{0.02f, 0.0f, 0.06f}; });
    add(img, blur(sub, 2), Rgb{0.3f, 0.8f, 1} * 0.8f);
    paint(img, sub, [](int, int) { return Rgb{0.85f, 0.97f, 1}; });
    return img;
}

// 0: an emblem for scene 2's corner: a ringed planet inside a badge, with the word below.
// The picture's bottom edge falls just off screen there, so everything sits a little high.
Image drawQuorvanel() {
    const int N = 256;
    const float C = N / 2.0f;
    Image img(N, N);
    const Rgb GOLD = {1, 0.72f, 0.32f}, VIOLET = {0.6f, 0.35f, 1}, CYAN = {0.35f, 0.8f, 1};
    Mask rings(N, N), orbitBack(N, N), orbitFront(N, N), word(N, N), sparks(N, N);
    ringStroke(rings, C, C, 0.86f * C, 2.4f);
    ringStroke(rings, C, C, 0.79f * C, 1.1f);
    for (int k = 0; k < 8; ++k) {
        double a = k * PI / 4;
        float bx = C + 0.86f * C * (float)dsin(a), by = C - 0.86f * C * (float)dcos(a);
        segment(rings, bx, by, bx, by, 7);
    }
    // The planet, lit from the upper left, with a tilted orbit passing in front and behind.
    const float PX = C, PY = C - 20, PR = 36, TILT = -0.3f;
    std::vector<P2> back, front;
    for (int i = 0; i <= 96; ++i) {
        double a = i / 96.0 * 2 * PI;
        float ex = 74 * (float)dcos(a), ey = 15 * (float)dsin(a);
        P2 p = {PX + ex * (float)dcos(TILT) - ey * (float)dsin(TILT),
                PY + ex * (float)dsin(TILT) + ey * (float)dcos(TILT)};
        (dsin(a) < 0 ? back : front).push_back(p);
    }
    polyline(orbitBack, back, 2, false);
    polyline(orbitFront, front, 2, false);
    add(img, blur(rings, 4), GOLD * 0.6f);
    add(img, rings, mix(GOLD, WHITE, 0.3f));
    add(img, blur(orbitBack, 3), CYAN * 0.6f);
    add(img, orbitBack, mix(CYAN, WHITE, 0.4f));
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float nx = (x + 0.5f - PX) / PR, ny = (y + 0.5f - PY) / PR, r2 = nx * nx + ny * ny;
            float r = std::sqrt(r2);
            img.at(x, y) += VIOLET * (0.35f * gauss(pos(r - 1) / 0.35f));
            float cov = clampf((1 - r) * PR + 0.5f);
            if (cov <= 0) continue;
            float nz = std::sqrt(pos(1 - r2)), light = pos(-0.5f * nx - 0.55f * ny + 0.67f * nz);
            float bands = 0.5f + 0.5f * (float)dsin(ny * 11 + 2.5f * fbm(nx * 0.3f, ny * 0.3f, 64,
                                                                         64, 3, 41));
            Rgb c = mix(Rgb{0.12f, 0.04f, 0.3f},
                        mix(Rgb{0.35f, 0.55f, 1}, Rgb{0.7f, 0.9f, 1}, bands), light);
            c += VIOLET * (0.9f * (1 - nz) * (1 - nz) * (1 - nz));
            img.at(x, y) = mix(img.at(x, y), c, cov);
        }
    add(img, blur(orbitFront, 3), CYAN * 0.6f);
    add(img, orbitFront, mix(CYAN, WHITE, 0.5f));
    glint(sparks, C - 52, C - 58, 5);
    glint(sparks, C + 58, C - 44, 4);
    glint(sparks, C + 40, C + 20, 3);
    add(img, blur(sparks, 2), CYAN * 0.6f);
    add(img, sparks, WHITE * 0.9f);
    TextStyle st = fit({&boldFont, 20, 1, 0.2f}, "QUORVANEL", 150);
    const float TY = C + 50;
    text(&word, st, "QUORVANEL", C, TY);
    add(img, blur(word, 5), Rgb{1, 0.45f, 0.15f} * 0.8f);
    float top = TY - st.cap / 2;
    paint(img, word, [&](int, int y) {
        return mix(WHITE * 1.2f, GOLD, smooth(0, 1, (y + 0.5f - top) / st.cap));
    });
    for (int x = 0; x < N; ++x) {  // a fine rule under the word
        float k = sq(pos(1 - std::fabs(x + 0.5f - C) / 60));
        for (int y = (int)(TY + 16); y < (int)(TY + 19); ++y)
            img.at(x, y) += GOLD * (k * 0.8f * gauss((y + 0.5f - (TY + 17.5f)) / 0.6f));
    }
    fadeBorder(img, 6);
    return img;
}

// 1: the logo mark: a chrome K inside a double diamond, the name beneath it. The desktop icon
// is this picture too, opaque inside the inner diamond.
Image drawLogo() {
    const int N = 256;
    const float C = N / 2.0f, D1 = 104, D2 = LOGO_INNER;
    Image img(N, N);
    const Rgb CYAN = {0.3f, 0.8f, 1}, VIOLET = {0.7f, 0.4f, 1};
    Mask outer(N, N), inner(N, N), k(N, N), word(N, N), sparks(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float dx = x + 0.5f - C, dy = y + 0.5f - C, d = std::fabs(dx) + std::fabs(dy);
            outer.put(x, y, strokeCov(std::fabs(d - D1) / 1.41421356f, 2.6f));
            inner.put(x, y, strokeCov(std::fabs(d - D2) / 1.41421356f, 1.4f));
            float fill = clampf((D2 - d) / 1.41421356f + 0.5f);
            float sweep = 0.5f + 0.5f * (float)dsin((dx - dy) / 40.0f);
            img.at(x, y) = mix(Rgb{0.02f, 0.04f, 0.16f}, Rgb{0.1f, 0.06f, 0.3f}, sweep) *
                           (fill * (1 - 0.6f * d / D2));
        }
    TextStyle ks = {&boldFont, 84, 1, 0};
    const float KY = C - 10;
    text(&k, ks, "K", C, KY);
    TextStyle ws = fit({&boldFont, 11, 1, 0.35f}, "KELVORIN", 84);
    text(&word, ws, "KELVORIN", C, C + 52);
    glint(sparks, C, C - D1, 9);
    glint(sparks, C, C + D1, 6);
    add(img, blur(outer, 5), CYAN * 0.7f);
    add(img, outer, mix(CYAN, WHITE, 0.4f));
    add(img, blur(inner, 3), VIOLET * 0.5f);
    add(img, inner, VIOLET * 0.8f);
    add(img, blur(k, 12), VIOLET * 0.7f);
    add(img, blur(k, 4), CYAN * 0.8f);
    float top = KY - ks.cap / 2;
    paint(img, k, [&](int x, int y) {
        Rgb c = chrome((y + 0.5f - top) / ks.cap, {0.4f, 0.65f, 1}, {0.1f, 0.08f, 0.4f},
                       {0.8f, 0.6f, 1});
        return c + WHITE * (0.5f * pos(k.get(x, y) - k.get(x - 2, y - 2)));
    });
    add(img, blur(word, 3), CYAN * 0.6f);
    paint(img, word, [](int, int) { return Rgb{0.85f, 0.95f, 1}; });
    add(img, blur(sparks, 2), CYAN * 0.7f);
    add(img, sparks, WHITE);
    fadeBorder(img, 8);
    return img;
}

}  // namespace kelvorin
