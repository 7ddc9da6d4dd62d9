// The picture of the closing scene (scene 8): a neon lotus that fades in below the greetings.
#include <vector>

#include "art/drawings.h"

namespace kelvorin::art {

// 17: a neon line drawing of a lotus before a halo, for the closing scene. Only the top two
// thirds of the picture are on screen there, so the flower stands high.
Image DrawContour() {
    const int N = 256;
    const float C = N / 2.0f;
    Image img(N, N);
    Mask petals(N, N), halo(N, N), water(N, N), sparks(N, N);
    auto toPx = [&](float u, float v) { return Point2{C + u * C, C - v * C}; };
    const float BASE_U = 0, BASE_V = -0.16f, GROW = 1.3f;
    struct Petal {
        float length, width, angle;
    };
    const Petal PETALS[7] = {{0.36f, 0.15f, 1.3f},   {0.36f, 0.15f, -1.3f}, {0.46f, 0.17f, 0.88f},
                             {0.46f, 0.17f, -0.88f}, {0.56f, 0.18f, 0.42f}, {0.56f, 0.18f, -0.42f},
                             {0.64f, 0.2f, 0}};
    for (const Petal &p : PETALS) {
        std::vector<Point2> pts;
        for (int side = 0; side < 2; ++side)
            for (int i = 0; i <= 40; ++i) {
                float s = side == 0 ? i / 40.0f : 1 - i / 40.0f;
                float w = GROW * p.width * (float)PortableSin(PI * s) * (1.15f - 0.45f * s) *
                          (side == 0 ? -1 : 1);
                float l = GROW * p.length * s;
                float ca = (float)PortableCos(p.angle), sa = (float)PortableSin(p.angle);
                pts.push_back(toPx(BASE_U + w * ca - l * sa, BASE_V + w * sa + l * ca));
            }
        StrokePolyline(petals, pts, 2.2f, true);
        std::vector<Point2> vein;  // a vein up the middle of each petal
        for (int i = 0; i <= 10; ++i) {
            float l = GROW * p.length * (0.12f + 0.5f * i / 10.0f);
            vein.push_back(toPx(BASE_U - l * (float)PortableSin(p.angle),
                                BASE_V + l * (float)PortableCos(p.angle)));
        }
        StrokePolyline(petals, vein, 1.1f, false);
    }
    StrokeRing(halo, C, C - 0.26f * C, 0.52f * C, 1.8f);
    StrokeRing(halo, C, C - 0.26f * C, 0.57f * C, 1.0f);
    for (int k = 0; k < 4; ++k) {
        std::vector<Point2> wave;
        float level = -0.2f - 0.11f * k, reach = 0.8f - 0.12f * k;
        for (int i = 0; i <= 80; ++i) {
            float u = -reach + 2 * reach * i / 80.0f;
            wave.push_back(toPx(u, level + 0.018f * (float)PortableSin(u * 16 + k * 1.7f)));
        }
        StrokePolyline(water, wave, 1.6f, false);
    }
    DrawGlint(sparks, C - 70, C - 80, 6);
    DrawGlint(sparks, C + 78, C - 62, 4);
    DrawGlint(sparks, C + 60, C - 100, 3);
    struct Layer {
        const Mask *m;
        Rgb c;
    };
    const Layer LAYERS[4] = {{&halo, {1, 0.72f, 0.3f}},
                             {&water, {0.3f, 0.8f, 1}},
                             {&petals, {1, 0.35f, 0.75f}},
                             {&sparks, {0.8f, 0.9f, 1}}};
    for (const Layer &l : LAYERS) {
        AddColour(img, BlurMask(*l.m, 6), l.c * 0.6f);
        AddColour(img, BlurMask(*l.m, 2), l.c * 0.8f);
        AddColour(img, *l.m, Mix(l.c, WHITE, 0.55f));
    }
    FadeBorder(img, 6);
    return img;
}

}  // namespace kelvorin::art
