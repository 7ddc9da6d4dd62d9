// The pictures of the cloud tunnel (scene 5): the clouds of its walls and the glowing point of
// its rushing light sprites.
#include <cmath>

#include "art/drawings.h"
#include "art/noise.h"

namespace kelvorin::art {

// 6: clouds for the tunnel walls, seamless both ways (the tunnel repeats them).
Image DrawNuage() {
    const int N = 256;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = (x + 0.5f) / N, v = (y + 0.5f) / N;
            float qx = FractalNoise(u, v, 3, 3, 4, 11), qy = FractalNoise(u, v, 3, 3, 4, 12);
            float d = FractalNoise(u + 0.3f * qx, v + 0.3f * qy, 4, 4, 6, 13);
            float c = Clamp(0.5f + 1.4f * d);
            Rgb col =
                c < 0.45f ? Mix(Rgb{0.02f, 0.02f, 0.1f}, Rgb{0.2f, 0.1f, 0.42f}, c / 0.45f)
                : c < 0.72f
                    ? Mix(Rgb{0.2f, 0.1f, 0.42f}, Rgb{0.55f, 0.45f, 0.88f}, (c - 0.45f) / 0.27f)
                    : Mix(Rgb{0.55f, 0.45f, 0.88f}, Rgb{0.97f, 0.94f, 1}, (c - 0.72f) / 0.28f);
            float teal = PositivePart(FractalNoise(u, v, 2, 2, 4, 14));
            img.At(x, y) = col + Rgb{0.0f, 0.25f, 0.3f} * (teal * (1 - c));
        }
    return img;
}

// 5: a soft glowing point for the tunnel's light sprites.
Image DrawLight1() {
    Image img(64, 64);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float u = UnitX(x, img.w), v = UnitY(y, img.h), r = std::sqrt(u * u + v * v);
            float spikes = Gaussian(v / 0.045f) * Square(PositivePart(1 - std::fabs(u) / 0.85f)) +
                           Gaussian(u / 0.045f) * Square(PositivePart(1 - std::fabs(v) / 0.85f));
            float outer = r < 1 ? (1 - r) * (1 - r) * (1 - r) : 0;
            img.At(x, y) = WHITE * (1.7f * Gaussian(r / 0.09f)) +
                           Rgb{0.55f, 0.75f, 1} * (0.75f * Gaussian(r / 0.28f)) +
                           Rgb{0.25f, 0.4f, 1} * (0.35f * outer) +
                           Rgb{0.6f, 0.8f, 1} * (0.5f * spikes);
        }
    FadeBorder(img, 6);
    return img;
}

}  // namespace kelvorin::art
