// Gradient noise on a periodic lattice of hashed gradients, and its octaves.
#include "art/noise.h"

#include <cmath>

#include "art/arith.h"

namespace kelvorin::art {

uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = (uint32_t)x * 0x8da6b343u ^ (uint32_t)y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

namespace {

const float GRAD[8][2] = {{1, 0},
                          {-1, 0},
                          {0, 1},
                          {0, -1},
                          {0.7071f, 0.7071f},
                          {-0.7071f, 0.7071f},
                          {0.7071f, -0.7071f},
                          {-0.7071f, -0.7071f}};

}  // namespace

float GradientNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = (int)fx, iy = (int)fy;
    float tx = x - fx, ty = y - fy;
    auto corner = [&](int cx, int cy, float dx, float dy) {
        const float *g = GRAD[Hash(Wrap(ix + cx, periodX), Wrap(iy + cy, periodY), seed) & 7];
        return g[0] * dx + g[1] * dy;
    };
    float ux = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    float uy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    float a = Mix(corner(0, 0, tx, ty), corner(1, 0, tx - 1, ty), ux);
    float b = Mix(corner(0, 1, tx, ty - 1), corner(1, 1, tx - 1, ty - 1), ux);
    return Mix(a, b, uy);
}

float FractalNoise(float u, float v, int periodX, int periodY, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * GradientNoise(u * periodX, v * periodY, periodX, periodY, seed + 977u * o);
        norm += amp;
        amp *= 0.5f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

}  // namespace kelvorin::art
