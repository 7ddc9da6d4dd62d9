// The pictures as files: 24-bit bottom-up BMP (14-byte file header, 40-byte information
// header) with ordered dither.
#include "art/output.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kelvorin::art {

unsigned char DitheredChannel(float c, float extra, int x, int y) {
    static const float BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    float dither = (BAYER[y & 3][x & 3] + 0.5f) / 16 - 0.5f;  // breaks up gradient bands
    int v = (int)std::floor(Clamp(c + extra) * 255 + 0.5f + dither * 0.94f);
    return (unsigned char)(v < 0 ? 0 : (v > 255 ? 255 : v));
}

namespace {

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

void Put16(unsigned char *p, unsigned v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}
void Put32(unsigned char *p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

}  // namespace

bool WriteBmp(const std::string &path, Image &img, bool mirrored) {
    if (!PowerOfTwo(img.w) || !PowerOfTwo(img.h) || img.w % 4 != 0) {
        std::fprintf(stderr, "kelvorin-gentextures: %s is %dx%d, not a texture size\n",
                     path.c_str(), img.w, img.h);
        return false;
    }
    uint32_t rowBytes = (uint32_t)(img.w * 3 + 3) / 4 * 4, pixelBytes = rowBytes * (uint32_t)img.h;
    std::vector<unsigned char> file(54 + pixelBytes, 0);
    unsigned char *h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, (uint32_t)file.size());
    Put32(h + 10, 54);
    Put32(h + 14, 40);
    Put32(h + 18, (uint32_t)img.w);
    Put32(h + 22, (uint32_t)img.h);  // positive: bottom row first
    Put16(h + 26, 1);
    Put16(h + 28, 24);
    Put32(h + 34, pixelBytes);
    Put32(h + 38, 2835);  // 72 dpi
    Put32(h + 42, 2835);
    for (int row = 0; row < img.h; ++row) {
        int y = img.h - 1 - row;
        unsigned char *out = h + 54 + (size_t)row * rowBytes;
        for (int x = 0; x < img.w; ++x) {
            Rgb c = img.At(mirrored ? img.w - 1 - x : x, y);
            float extra = 0.6f * PositivePart(std::max(c.r, std::max(c.g, c.b)) - 1);
            out[3 * x + 0] = DitheredChannel(c.b, extra, x, row);
            out[3 * x + 1] = DitheredChannel(c.g, extra, x, row);
            out[3 * x + 2] = DitheredChannel(c.r, extra, x, row);
        }
    }
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "kelvorin-gentextures: cannot write %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "kelvorin-gentextures: writing %s failed\n", path.c_str());
    return ok;
}

}  // namespace kelvorin::art
