// Blur, strokes, rings, glints and Gaussian dots: everything that draws into pictures and masks.
#include "art/raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kelvorin::art {

Mask BlurMask(const Mask &m, int radius, bool wrap) {
    Mask a = m, b(m.w, m.h);
    int window = 2 * radius + 1;
    for (int pass = 0; pass < 6; ++pass) {
        bool horizontal = pass % 2 == 0;
        int n = horizontal ? m.w : m.h, lines = horizontal ? m.h : m.w;
        for (int line = 0; line < lines; ++line) {
            auto sample = [&](int i) {
                if (wrap) i = Wrap(i, n);
                else if (i < 0 || i >= n) return 0.0f;
                return horizontal ? a.v[(size_t)line * m.w + i] : a.v[(size_t)i * m.w + line];
            };
            for (int i = 0; i < n; ++i) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) sum += sample(i + k);
                (horizontal ? b.v[(size_t)line * m.w + i] : b.v[(size_t)i * m.w + line]) =
                    sum / window;
            }
        }
        std::swap(a.v, b.v);
    }
    return a;
}

void AddColour(Image &img, const Mask &m, Rgb c) {
    for (size_t i = 0; i < img.px.size(); ++i) img.px[i] += c * m.v[i];
}

void FadeBorder(Image &img, float margin) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            int d = std::min(std::min(x, y), std::min(img.w - 1 - x, img.h - 1 - y));
            img.At(x, y) = img.At(x, y) * SmoothStep(0, margin, (float)d);
        }
}

void StrokeSegment(Mask &m, float x0, float y0, float x1, float y1, float width) {
    float pad = width * 0.5f + 1.5f;
    int xa = (int)std::floor(std::min(x0, x1) - pad), xb = (int)std::ceil(std::max(x0, x1) + pad);
    int ya = (int)std::floor(std::min(y0, y1) - pad), yb = (int)std::ceil(std::max(y0, y1) + pad);
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? Clamp((px * dx + py * dy) / len2) : 0;
            float ex = px - t * dx, ey = py - t * dy;
            m.Put(x, y, StrokeCoverage(std::sqrt(ex * ex + ey * ey), width));
        }
}

void StrokePolyline(Mask &m, const std::vector<Point2> &pts, float width, bool closed) {
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        StrokeSegment(m, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, width);
    if (closed && pts.size() > 2)
        StrokeSegment(m, pts.back().x, pts.back().y, pts[0].x, pts[0].y, width);
}

void StrokeRing(Mask &m, float cx, float cy, float r, float width) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float d = std::sqrt(Square(x + 0.5f - cx) + Square(y + 0.5f - cy));
            m.Put(x, y, StrokeCoverage(std::fabs(d - r), width));
        }
}

void DrawGlint(Mask &m, float cx, float cy, float len) {
    StrokeSegment(m, cx - len, cy, cx + len, cy, 1.2f);
    StrokeSegment(m, cx, cy - len, cx, cy + len, 1.2f);
    StrokeSegment(m, cx - len * 0.35f, cy - len * 0.35f, cx + len * 0.35f, cy + len * 0.35f, 1.0f);
    StrokeSegment(m, cx - len * 0.35f, cy + len * 0.35f, cx + len * 0.35f, cy - len * 0.35f, 1.0f);
}

void AddDot(Image &img, float cx, float cy, float sigma, Rgb c, bool wrap) {
    int r = (int)std::ceil(sigma * 3.5f);
    int x0 = (int)std::floor(cx), y0 = (int)std::floor(cy);
    for (int y = y0 - r; y <= y0 + r; ++y)
        for (int x = x0 - r; x <= x0 + r; ++x) {
            int px = x, py = y;
            if (wrap) {
                px = Wrap(px, img.w);
                py = Wrap(py, img.h);
            } else if (px < 0 || py < 0 || px >= img.w || py >= img.h) {
                continue;
            }
            float d2 = Square(x + 0.5f - cx) + Square(y + 0.5f - cy);
            img.At(px, py) += c * (float)PortableExp(-d2 / (2 * sigma * sigma));
        }
}

}  // namespace kelvorin::art
