#include "capture/average.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvorin {

namespace {

// sRGB's transfer function and its inverse, on values from 0 to 1.
double Decode(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double Encode(double v) {
    return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

const std::array<uint16_t, 256> &DecodeTable() {
    static const std::array<uint16_t, 256> table = [] {
        std::array<uint16_t, 256> t{};
        for (int c = 0; c < 256; c++)
            t[c] = uint16_t(std::lround(Decode(c / 255.0) * LINEAR_WHITE));
        return t;
    }();
    return table;
}

// Every light has its code here, so that encoding is one look-up: 64 kB, made once.
const std::vector<unsigned char> &EncodeTable() {
    static const std::vector<unsigned char> table = [] {
        std::vector<unsigned char> t(LINEAR_WHITE + 1);
        for (uint32_t v = 0; v <= LINEAR_WHITE; v++)
            t[v] = (unsigned char)std::lround(Encode(double(v) / LINEAR_WHITE) * 255);
        return t;
    }();
    return table;
}

}  // namespace

uint16_t SrgbToLinear(unsigned char code) { return DecodeTable()[code]; }

unsigned char LinearToSrgb(uint32_t light) { return EncodeTable()[std::min(light, LINEAR_WHITE)]; }

LinearAverage::LinearAverage(int width, int height, int scale, int channels)
    : width(width),
      height(height),
      scale(scale),
      channels(channels),
      sums(size_t(width) * height * 3) {}

void LinearAverage::Add(const unsigned char *drawn) {
    const std::array<uint16_t, 256> &light = DecodeTable();
    size_t drawnRow = size_t(width) * scale * channels;
    for (int y = 0; y < height; y++) {
        uint32_t *row = &sums[size_t(y) * width * 3];
        for (int dy = 0; dy < scale; dy++) {
            const unsigned char *p = drawn + (size_t(y) * scale + dy) * drawnRow;
            for (int x = 0; x < width; x++) {
                uint32_t a = 0, b = 0, c = 0;
                for (int dx = 0; dx < scale; dx++, p += channels)
                    a += light[p[0]], b += light[p[1]], c += light[p[2]];
                row[x * 3] += a, row[x * 3 + 1] += b, row[x * 3 + 2] += c;
            }
        }
    }
    count++;
}

// The rounded mean, (sum + n / 2) / n, is taken by a multiplication rather than a division, which
// cost more than all the rest of a 4K frame: with reciprocal = ceil(2^37 / n) the quotient is
// exact for every n up to 2^10 and sum up to 2^27, far more than 16 frames of 8 x 8 white pixels.
void LinearAverage::Finish(unsigned char *out) {
    const std::vector<unsigned char> &code = EncodeTable();
    uint64_t n = uint64_t(count) * scale * scale,
             reciprocal = n ? ((uint64_t(1) << 37) + n - 1) / n : 0;
    size_t pixels = size_t(width) * height;
    for (size_t i = 0; i < pixels; i++, out += channels) {
        for (int c = 0; c < 3; c++) {
            out[c] = code[((sums[i * 3 + c] + n / 2) * reciprocal) >> 37];
            sums[i * 3 + c] = 0;
        }
        if (channels == 4) out[3] = 255;
    }
    count = 0;
}

}  // namespace kelvorin
