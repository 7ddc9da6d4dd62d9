// Pictures and coverage masks, and what draws into them: blur, strokes, rings, glints,
// Gaussian dots, and laying a colour or a fill through a mask.
#pragma once
#include <vector>

#include "art/arith.h"

namespace kelvorin::art {

struct Image {
    int w, h;
    std::vector<Rgb> px;  // row 0 is the top row
    Image(int width, int height) : w(width), h(height), px((size_t)width * height, BLACK) {}
    Rgb &At(int x, int y) { return px[(size_t)y * w + x]; }
};

struct Mask {
    int w, h;
    std::vector<float> v;
    Mask(int width, int height) : w(width), h(height), v((size_t)width * height, 0.0f) {}
    float &At(int x, int y) { return v[(size_t)y * w + x]; }
    float Get(int x, int y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : v[(size_t)y * w + x];
    }
    void Put(int x, int y, float c) {  // strokes and glyphs combine by maximum
        if (x >= 0 && y >= 0 && x < w && y < h && c > At(x, y)) At(x, y) = c;
    }
};

// Pixel centre as -1..1 across the picture, y pointing up.
inline float UnitX(int x, int w) { return (x + 0.5f) * 2.0f / w - 1.0f; }
inline float UnitY(int y, int h) { return 1.0f - (y + 0.5f) * 2.0f / h; }

// Three box passes each way: close to a Gaussian with sigma about the radius. Outside the
// picture is black, or the picture itself when it tiles.
Mask BlurMask(const Mask &m, int radius, bool wrap = false);

// Adds the colour c, weighted by the mask.
void AddColour(Image &img, const Mask &m, Rgb c);

// Lays fill(x, y) over the picture with the mask as coverage.
template <class Fill>
void PaintFill(Image &img, const Mask &m, Fill fill) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float a = m.v[(size_t)y * img.w + x];
            if (a > 0) img.At(x, y) = Mix(img.At(x, y), fill(x, y), a);
        }
}

// Fades the picture to black over the last `margin` pixels before each edge.
void FadeBorder(Image &img, float margin);

// A stroke's coverage at distance d from its centre line, with a pixel of antialiasing.
inline float StrokeCoverage(float d, float width) { return Clamp(width * 0.5f - d + 0.5f); }

struct Point2 {
    float x, y;
};

// Antialiased strokes of the given width into the mask.
void StrokeSegment(Mask &m, float x0, float y0, float x1, float y1, float width);
void StrokePolyline(Mask &m, const std::vector<Point2> &pts, float width, bool closed);
void StrokeRing(Mask &m, float cx, float cy, float r, float width);

// A small four-pointed glint, in the mask.
void DrawGlint(Mask &m, float cx, float cy, float len);

// A round Gaussian dot added to the picture; wraps around the edges when the picture tiles.
void AddDot(Image &img, float cx, float cy, float sigma, Rgb c, bool wrap);

}  // namespace kelvorin::art
