// kelvorin-gentextures OUTDIR: draws the demo's 23 pictures from code and writes them into
// OUTDIR as 24-bit bottom-up BMP files (14-byte file header, 40-byte information header).
// kelvorin-gentextures --icon FILE.png: writes the 256 by 256 desktop icon.
//
// The output is the same, byte for byte, on every build: a seeded xorshift generator, integer
// hashed noise, and our own sin, cos, exp and atan2 built from +, -, *, / and sqrt, so nothing
// depends on how the C library rounds its transcendental functions.
//
// Two facts shape every picture. sprite2 and sprite lay a texture mirrored along x, so pictures
// with lettering that faces the viewer are written mirrored here (the countdown digits are not:
// scene 4 shows them from behind, which undoes the mirror). Most pictures are added onto the
// screen, so they are drawn on black and fade to black before their borders: with GL_REPEAT and
// GL_LINEAR an edge texel is blended with the opposite edge.

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kelvorin {
namespace {

// ---------------------------------------------------------------- deterministic arithmetic

const double PI = 3.14159265358979323846;

double dsin(double x) {
    x -= 2 * PI * std::floor(x / (2 * PI) + 0.5);  // to [-pi, pi]
    if (x > PI / 2)
        x = PI - x;
    else if (x < -PI / 2)
        x = -PI - x;
    double x2 = x * x, term = x, sum = x;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1));
        sum += term;
    }
    return sum;
}

double dcos(double x) { return dsin(x + PI / 2); }

double dexp(double x) {
    if (x < -80) return 0;
    if (x > 80) x = 80;
    const double LN2 = 0.69314718055994530942;
    int n = (int)std::floor(x / LN2 + 0.5);
    double r = x - n * LN2, term = 1, sum = 1;
    for (int k = 1; k <= 14; ++k) {
        term *= r / k;
        sum += term;
    }
    return std::ldexp(sum, n);
}

double datan(double z) {
    bool negative = z < 0, inverted = false;
    if (negative) z = -z;
    if (z > 1) {
        z = 1 / z;
        inverted = true;
    }
    // Two half-angle steps bring z below tan(pi/16), where the series converges fast.
    z = z / (1 + std::sqrt(1 + z * z));
    z = z / (1 + std::sqrt(1 + z * z));
    double z2 = z * z, power = z, sum = z;
    for (int n = 1; n <= 12; ++n) {
        power *= -z2;
        sum += power / (2 * n + 1);
    }
    sum *= 4;
    if (inverted) sum = PI / 2 - sum;
    return negative ? -sum : sum;
}

double datan2(double y, double x) {
    if (x > 0) return datan(y / x);
    if (x < 0) return y >= 0 ? datan(y / x) + PI : datan(y / x) - PI;
    return y > 0 ? PI / 2 : (y < 0 ? -PI / 2 : 0);
}

float clampf(float x, float lo = 0, float hi = 1) { return x < lo ? lo : (x > hi ? hi : x); }
float mixf(float a, float b, float t) { return a + (b - a) * t; }
float smooth(float e0, float e1, float x) {
    float t = clampf((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
float gauss(float x) { return (float)dexp(-(double)x * x); }
float sq(float x) { return x * x; }
float pos(float x) { return x > 0 ? x : 0; }

struct Rgb {
    float r, g, b;
};
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb &operator+=(Rgb &a, Rgb b) { return a = a + b; }
Rgb mix(Rgb a, Rgb b, float t) { return a + (b + a * -1) * t; }
const Rgb BLACK = {0, 0, 0}, WHITE = {1, 1, 1};

struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed ? seed : 1) {}
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    float uniform() { return (float)(next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1)
    float range(float a, float b) { return a + (b - a) * uniform(); }
};

// ---------------------------------------------------------------- noise

uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = (uint32_t)x * 0x8da6b343u ^ (uint32_t)y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

int wrapi(int i, int period) {
    i %= period;
    return i < 0 ? i + period : i;
}

const float GRAD[8][2] = {{1, 0},
                          {-1, 0},
                          {0, 1},
                          {0, -1},
                          {0.7071f, 0.7071f},
                          {-0.7071f, 0.7071f},
                          {0.7071f, -0.7071f},
                          {-0.7071f, -0.7071f}};

// Gradient noise on a lattice that repeats every periodX by periodY cells; roughly -0.7 to 0.7.
float noise(float x, float y, int periodX, int periodY, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = (int)fx, iy = (int)fy;
    float tx = x - fx, ty = y - fy;
    auto corner = [&](int cx, int cy, float dx, float dy) {
        const float *g = GRAD[hash(wrapi(ix + cx, periodX), wrapi(iy + cy, periodY), seed) & 7];
        return g[0] * dx + g[1] * dy;
    };
    float ux = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    float uy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    float a = mixf(corner(0, 0, tx, ty), corner(1, 0, tx - 1, ty), ux);
    float b = mixf(corner(0, 1, tx, ty - 1), corner(1, 1, tx - 1, ty - 1), ux);
    return mixf(a, b, uy);
}

// Fractal noise over the unit square: u and v in [0, 1) cover it once and it repeats beyond, so
// a picture sampled this way tiles seamlessly. The first octave has periodX by periodY cells.
float fbm(float u, float v, int periodX, int periodY, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise(u * periodX, v * periodY, periodX, periodY, seed + 977u * o);
        norm += amp;
        amp *= 0.5f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

// ---------------------------------------------------------------- pictures and masks

struct Image {
    int w, h;
    std::vector<Rgb> px;  // row 0 is the top row
    Image(int width, int height) : w(width), h(height), px((size_t)width * height, BLACK) {}
    Rgb &at(int x, int y) { return px[(size_t)y * w + x]; }
};

struct Mask {
    int w, h;
    std::vector<float> v;
    Mask(int width, int height) : w(width), h(height), v((size_t)width * height, 0.0f) {}
    float &at(int x, int y) { return v[(size_t)y * w + x]; }
    float get(int x, int y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : v[(size_t)y * w + x];
    }
    void put(int x, int y, float c) {  // strokes and glyphs combine by maximum
        if (x >= 0 && y >= 0 && x < w && y < h && c > at(x, y)) at(x, y) = c;
    }
};

// Pixel centre as -1..1 across the picture, y pointing up.
float ux(int x, int w) { return (x + 0.5f) * 2.0f / w - 1.0f; }
float uy(int y, int h) { return 1.0f - (y + 0.5f) * 2.0f / h; }

// Three box passes each way: close to a Gaussian with sigma about the radius. Outside the
// picture is black, or the picture itself when it tiles.
Mask blur(const Mask &m, int radius, bool wrap = false) {
    Mask a = m, b(m.w, m.h);
    int window = 2 * radius + 1;
    for (int pass = 0; pass < 6; ++pass) {
        bool horizontal = pass % 2 == 0;
        int n = horizontal ? m.w : m.h, lines = horizontal ? m.h : m.w;
        for (int line = 0; line < lines; ++line) {
            auto sample = [&](int i) {
                if (wrap)
                    i = wrapi(i, n);
                else if (i < 0 || i >= n)
                    return 0.0f;
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

void add(Image &img, const Mask &m, Rgb c) {
    for (size_t i = 0; i < img.px.size(); ++i) img.px[i] += c * m.v[i];
}

// Lays fill(x, y) over the picture with the mask as coverage.
template <class Fill>
void paint(Image &img, const Mask &m, Fill fill) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float a = m.v[(size_t)y * img.w + x];
            if (a > 0) img.at(x, y) = mix(img.at(x, y), fill(x, y), a);
        }
}

void fadeBorder(Image &img, float margin) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            int d = std::min(std::min(x, y), std::min(img.w - 1 - x, img.h - 1 - y));
            img.at(x, y) = img.at(x, y) * smooth(0, margin, (float)d);
        }
}

// A stroke's coverage at distance d from its centre line, with a pixel of antialiasing.
float strokeCov(float d, float width) { return clampf(width * 0.5f - d + 0.5f); }

void segment(Mask &m, float x0, float y0, float x1, float y1, float width) {
    float pad = width * 0.5f + 1.5f;
    int xa = (int)std::floor(std::min(x0, x1) - pad), xb = (int)std::ceil(std::max(x0, x1) + pad);
    int ya = (int)std::floor(std::min(y0, y1) - pad), yb = (int)std::ceil(std::max(y0, y1) + pad);
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? clampf((px * dx + py * dy) / len2) : 0;
            float ex = px - t * dx, ey = py - t * dy;
            m.put(x, y, strokeCov(std::sqrt(ex * ex + ey * ey), width));
        }
}

struct P2 {
    float x, y;
};

void polyline(Mask &m, const std::vector<P2> &pts, float width, bool closed) {
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        segment(m, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, width);
    if (closed && pts.size() > 2) segment(m, pts.back().x, pts.back().y, pts[0].x, pts[0].y, width);
}

void ringStroke(Mask &m, float cx, float cy, float r, float width) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float d = std::sqrt(sq(x + 0.5f - cx) + sq(y + 0.5f - cy));
            m.put(x, y, strokeCov(std::fabs(d - r), width));
        }
}

// A small four-pointed glint, in the mask.
void glint(Mask &m, float cx, float cy, float len) {
    segment(m, cx - len, cy, cx + len, cy, 1.2f);
    segment(m, cx, cy - len, cx, cy + len, 1.2f);
    segment(m, cx - len * 0.35f, cy - len * 0.35f, cx + len * 0.35f, cy + len * 0.35f, 1.0f);
    segment(m, cx - len * 0.35f, cy + len * 0.35f, cx + len * 0.35f, cy - len * 0.35f, 1.0f);
}

// A round Gaussian dot added to the picture; wraps around the edges when the picture tiles.
void splat(Image &img, float cx, float cy, float sigma, Rgb c, bool wrap) {
    int r = (int)std::ceil(sigma * 3.5f);
    int x0 = (int)std::floor(cx), y0 = (int)std::floor(cy);
    for (int y = y0 - r; y <= y0 + r; ++y)
        for (int x = x0 - r; x <= x0 + r; ++x) {
            int px = x, py = y;
            if (wrap) {
                px = wrapi(px, img.w);
                py = wrapi(py, img.h);
            } else if (px < 0 || py < 0 || px >= img.w || py >= img.h) {
                continue;
            }
            float d2 = sq(x + 0.5f - cx) + sq(y + 0.5f - cy);
            img.at(px, py) += c * (float)dexp(-d2 / (2 * sigma * sigma));
        }
}

// ---------------------------------------------------------------- lettering

struct Font {
    std::vector<unsigned char> data;
    stbtt_fontinfo info;
    float capUnits;  // height of a capital H in font units
};

Font boldFont, bookFont;

bool loadFont(Font &f, const char *path) {
    FILE *file = std::fopen(path, "rb");
    if (!file) {
        std::fprintf(stderr, "kelvorin-gentextures: cannot open font %s: %s\n", path,
                     std::strerror(errno));
        return false;
    }
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        f.data.insert(f.data.end(), chunk, chunk + n);
    std::fclose(file);
    int x0, y0, x1, y1,
        offset = f.data.empty() ? -1 : stbtt_GetFontOffsetForIndex(f.data.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&f.info, f.data.data(), offset) ||
        !stbtt_GetCodepointBox(&f.info, 'H', &x0, &y0, &x1, &y1) || y1 <= y0) {
        std::fprintf(stderr, "kelvorin-gentextures: %s is not a usable TrueType font\n", path);
        return false;
    }
    f.capUnits = (float)(y1 - y0);
    return true;
}

std::vector<int> codepoints(const char *s) {  // UTF-8 up to two bytes is all we write
    std::vector<int> out;
    for (const unsigned char *p = (const unsigned char *)s; *p; ++p) {
        if (*p >= 0xC0 && *p < 0xE0 && (p[1] & 0xC0) == 0x80) {
            out.push_back((*p & 0x1F) << 6 | (p[1] & 0x3F));
            ++p;
        } else {
            out.push_back(*p);
        }
    }
    return out;
}

struct TextStyle {
    const Font *font;
    float cap;       // height of the capitals, pixels
    float xScale;    // horizontal squeeze, for pictures that the demo stretches
    float tracking;  // extra space between letters, in cap heights
};

// Rasterises text with the middle of its capitals at (cx, cy), centred on its ink across.
// Returns the ink width; with no mask it only measures.
float text(Mask *m, const TextStyle &st, const char *s, float cx, float cy) {
    const stbtt_fontinfo *info = &st.font->info;
    float sy = st.cap / st.font->capUnits, sx = sy * st.xScale;
    std::vector<int> glyphs;
    std::vector<float> pens;
    float pen = 0, inkMin = 1e9f, inkMax = -1e9f;
    int prev = 0;
    for (int cp : codepoints(s)) {
        int g = stbtt_FindGlyphIndex(info, cp);
        if (prev) pen += sx * stbtt_GetGlyphKernAdvance(info, prev, g);
        int bx0, by0, bx1, by1, advance, lsb;
        if (stbtt_GetGlyphBox(info, g, &bx0, &by0, &bx1, &by1)) {
            inkMin = std::min(inkMin, pen + bx0 * sx);
            inkMax = std::max(inkMax, pen + bx1 * sx);
        }
        glyphs.push_back(g);
        pens.push_back(pen);
        stbtt_GetGlyphHMetrics(info, g, &advance, &lsb);
        pen += advance * sx + st.tracking * st.cap;
        prev = g;
    }
    if (inkMax < inkMin) return 0;
    if (m) {
        float originX = cx - (inkMin + inkMax) * 0.5f, baseline = cy + st.cap * 0.5f;
        float by = std::floor(baseline), fy = baseline - by;
        std::vector<unsigned char> buf;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            float gx = originX + pens[i], bx = std::floor(gx), fx = gx - bx;
            int x0, y0, x1, y1;
            stbtt_GetGlyphBitmapBoxSubpixel(info, glyphs[i], sx, sy, fx, fy, &x0, &y0, &x1, &y1);
            int bw = x1 - x0, bh = y1 - y0;
            if (bw <= 0 || bh <= 0) continue;
            buf.assign((size_t)bw * bh, 0);
            stbtt_MakeGlyphBitmapSubpixel(info, buf.data(), bw, bh, bw, sx, sy, fx, fy, glyphs[i]);
            for (int j = 0; j < bh; ++j)
                for (int k = 0; k < bw; ++k)
                    m->put((int)bx + x0 + k, (int)by + y0 + j, buf[(size_t)j * bw + k] / 255.0f);
        }
    }
    return inkMax - inkMin;
}

TextStyle fit(TextStyle st, const char *s, float maxWidth) {
    float w = text(nullptr, st, s, 0, 0);
    if (w > maxWidth) st.cap *= maxWidth / w;
    return st;
}

// Polished-metal lettering: bright sky above a dark horizon line, warm glow below it.
// t runs from 0 at the top of the capitals to 1 at their baseline.
Rgb chrome(float t, Rgb sky, Rgb deep, Rgb ground) {
    Rgb c = t < 0.5f ? mix(WHITE * 1.25f, sky, smooth(0, 0.5f, t))
                     : mix(deep, ground, smooth(0.5f, 1.05f, t));
    return c + WHITE * (0.9f * gauss((t - 0.5f) / 0.03f));
}

// ---------------------------------------------------------------- the pictures

// 5: a soft glowing point for the tunnel's light sprites.
Image drawLight1() {
    Image img(64, 64);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float u = ux(x, img.w), v = uy(y, img.h), r = std::sqrt(u * u + v * v);
            float spikes = gauss(v / 0.045f) * sq(pos(1 - std::fabs(u) / 0.85f)) +
                           gauss(u / 0.045f) * sq(pos(1 - std::fabs(v) / 0.85f));
            float outer = r < 1 ? (1 - r) * (1 - r) * (1 - r) : 0;
            img.at(x, y) = WHITE * (1.7f * gauss(r / 0.09f)) +
                           Rgb{0.55f, 0.75f, 1} * (0.75f * gauss(r / 0.28f)) +
                           Rgb{0.25f, 0.4f, 1} * (0.35f * outer) +
                           Rgb{0.6f, 0.8f, 1} * (0.5f * spikes);
        }
    fadeBorder(img, 6);
    return img;
}

// 15: a blossom petal with a notched tip. The sprite is 1.5 times wider than tall on screen,
// so the petal is laid along x and drawn slimmer across than it should look.
Image drawPetale() {
    Image img(64, 64);
    const int SS = 4;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Rgb sum = BLACK;
            for (int j = 0; j < SS; ++j)
                for (int i = 0; i < SS; ++i) {
                    float u = (x + (i + 0.5f) / SS) * 2.0f / img.w - 1;
                    float v = 1 - (y + (j + 0.5f) / SS) * 2.0f / img.h;
                    float t = (u + 0.84f) / 1.68f;
                    if (t <= 0 || t >= 1) continue;
                    float across = v + 0.5f * sq(t - 0.5f) - 0.06f;  // a slight bend
                    float half = 1.2f * std::sqrt(t * (1 - t)) * (0.42f + 0.5f * t);
                    float a = std::fabs(across);
                    if (a >= half) continue;
                    if (a < 0.16f && t > 1 - 0.1f * (1 - a / 0.16f)) continue;  // the notch
                    float edge = a / half;
                    Rgb c = mix(Rgb{0.8f, 0.2f, 0.5f}, Rgb{1, 0.62f, 0.82f}, smooth(0, 0.55f, t));
                    c = mix(c, Rgb{1, 0.9f, 0.96f}, 0.8f * smooth(0.65f, 1, edge));
                    c += Rgb{1, 0.8f, 0.9f} * (0.35f * gauss(across / 0.02f) * (1 - t));
                    sum += c * (0.6f + 0.4f * (1 - edge * edge));
                }
            img.at(x, y) = sum * (1.0f / (SS * SS));
        }
    fadeBorder(img, 3);
    return img;
}

// 7..12: the countdown digits inside a dial whose bright arc shrinks from a full circle at 5
// to nothing at 0.
Image drawDigit(int n) {
    const Rgb HUES[6] = {{1, 0.72f, 0.3f},  {1, 0.32f, 0.55f}, {0.85f, 0.35f, 1},
                         {0.55f, 0.45f, 1}, {0.35f, 0.6f, 1},  {0.3f, 0.85f, 1}};
    const int N = 256;
    const float C = N / 2.0f, R = 0.8f * C;
    Rgb hue = HUES[n];
    Image img(N, N);
    Mask glyph(N, N), ring(N, N), arc(N, N), ticks(N, N);
    char s[2] = {(char)('0' + n), 0};
    TextStyle st = {&boldFont, 116, 1, 0};
    text(&glyph, st, s, C, C);
    ringStroke(ring, C, C, R, 1.6f);
    float end = n / 5.0f * (float)(2 * PI);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float dx = x + 0.5f - C, dy = y + 0.5f - C, r = std::sqrt(dx * dx + dy * dy);
            float theta = (float)datan2(dx, -dy);  // 0 at the top, growing clockwise
            if (theta < 0) theta += (float)(2 * PI);
            float along = clampf((end - theta) * R + 0.5f) * clampf(theta * R + 0.5f);
            arc.put(x, y, strokeCov(std::fabs(r - R), 6) * along);
            img.at(x, y) = hue * (0.12f * gauss(r / (0.55f * C)));
        }
    for (int k = 0; k < 60; ++k) {
        double a = k / 60.0 * 2 * PI;
        float r0 = 0.855f * C, r1 = (k % 5 == 0 ? 0.93f : 0.89f) * C;
        float sx = (float)dsin(a), sy = (float)-dcos(a);
        segment(ticks, C + sx * r0, C + sy * r0, C + sx * r1, C + sy * r1,
                k % 5 == 0 ? 2.2f : 1.3f);
    }
    add(img, blur(ring, 3), hue * 0.5f);
    add(img, ring, hue * 0.45f);
    add(img, ticks, hue * 0.55f);
    add(img, blur(arc, 5), hue * 0.9f);
    add(img, arc, mix(hue, WHITE, 0.5f) * 1.1f);
    add(img, blur(glyph, 14), hue * 0.8f);
    add(img, blur(glyph, 4), hue * 0.9f);
    float top = C - st.cap / 2;
    paint(img, glyph, [&](int, int y) {
        return mix(WHITE * 1.3f, mix(hue, WHITE, 0.35f), smooth(0, 1, (y - top) / st.cap));
    });
    fadeBorder(img, 8);
    return img;
}

// 4: the title lettering, 8 by 2 on screen.
Image drawTitle() {
    Image img(512, 128);
    const float CX = 256, CY = 64;
    Mask m(img.w, img.h);
    TextStyle st = fit({&boldFont, 60, 1, 0.1f}, "KELVORIN", 440);
    text(&m, st, "KELVORIN", CX, CY);
    add(img, blur(m, 12), Rgb{0.55f, 0.15f, 0.85f} * 0.9f);
    add(img, blur(m, 4), Rgb{0.3f, 0.6f, 1} * 0.9f);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float dy = y + 0.5f - CY, along = sq(pos(1 - std::fabs(x + 0.5f - CX) / 250));
            img.at(x, y) +=
                Rgb{0.6f, 0.8f, 1} * (along * (0.9f * gauss(dy / 1.3f) + 0.25f * gauss(dy / 6)));
        }
    float top = CY - st.cap / 2;
    paint(img, m, [&](int, int y) {
        return chrome((y + 0.5f - top) / st.cap, {0.45f, 0.7f, 1}, {0.12f, 0.1f, 0.45f},
                      {0.95f, 0.6f, 1});
    });
    fadeBorder(img, 8);
    return img;
}

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

// 3: four credit lines, one in each band that scene 3 cuts out of the picture (bands end at
// t = 0.75, 0.5 and 0.26), each centred well inside its band so no glow crosses a cut.
Image drawMaker() {
    const int N = 256;
    Image img(N, N);
    const float BOUNDS[5] = {0, 64, 128, (1 - 0.26f) * N, (float)N};  // rows, top down
    const char *LABELS[4] = {"CODE", "GRAPHICS", "MUSIC", nullptr};
    const char *NAMES[4] = {"BRANNOK", "ILVA", "DESSEL", "A KELVORIN PRODUCTION"};
    Mask labels(N, N), names(N, N), gold(N, N), rules(N, N);
    for (int i = 0; i < 4; ++i) {
        float cy = (BOUNDS[i] + BOUNDS[i + 1]) / 2 - 3;
        TextStyle ls = {&bookFont, 15, 1, 0.18f}, ns = {&boldFont, 21, 1, 0.08f};
        float gap = 12, wl = LABELS[i] ? text(nullptr, ls, LABELS[i], 0, 0) : 0;
        float wn = text(nullptr, ns, NAMES[i], 0, 0), total = wl + (LABELS[i] ? gap : 0) + wn;
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
        if (LABELS[i]) text(&labels, ls, LABELS[i], left + wl / 2, cy);
        text(LABELS[i] ? &names : &gold, ns, NAMES[i], left + total - wn / 2, cy);
        float ry = cy + ns.cap / 2 + 7, reach = total / 2 + 14;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                rules.at(x, y) += gauss((y + 0.5f - ry) / 0.6f) *
                                  sq(pos(1 - std::fabs(x + 0.5f - N / 2.0f) / reach));
    }
    const Rgb CYAN = {0.35f, 0.8f, 1}, PINK = {1, 0.35f, 0.7f}, AMBER = {1, 0.6f, 0.2f};
    add(img, blur(labels, 4), CYAN * 0.55f);
    add(img, blur(names, 5), PINK * 0.75f);
    add(img, blur(gold, 5), AMBER * 0.8f);
    add(img, rules, Rgb{0.5f, 0.7f, 1} * 0.8f);
    paint(img, labels, [&](int, int) { return mix(CYAN, WHITE, 0.3f); });
    paint(img, names, [](int, int) { return Rgb{1, 0.93f, 0.97f}; });
    paint(img, gold, [](int, int) { return Rgb{1, 0.88f, 0.6f}; });
    fadeBorder(img, 4);
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
const float LOGO_INNER = 94;  // half-diagonal of the inner diamond
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

// 6: clouds for the tunnel walls, seamless both ways (the tunnel repeats them).
Image drawNuage() {
    const int N = 256;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = (x + 0.5f) / N, v = (y + 0.5f) / N;
            float qx = fbm(u, v, 3, 3, 4, 11), qy = fbm(u, v, 3, 3, 4, 12);
            float d = fbm(u + 0.3f * qx, v + 0.3f * qy, 4, 4, 6, 13);
            float c = clampf(0.5f + 1.4f * d);
            Rgb col =
                c < 0.45f ? mix(Rgb{0.02f, 0.02f, 0.1f}, Rgb{0.2f, 0.1f, 0.42f}, c / 0.45f)
                : c < 0.72f
                    ? mix(Rgb{0.2f, 0.1f, 0.42f}, Rgb{0.55f, 0.45f, 0.88f}, (c - 0.45f) / 0.27f)
                    : mix(Rgb{0.55f, 0.45f, 0.88f}, Rgb{0.97f, 0.94f, 1}, (c - 0.72f) / 0.28f);
            float teal = pos(fbm(u, v, 2, 2, 4, 14));
            img.at(x, y) = col + Rgb{0.0f, 0.25f, 0.3f} * (teal * (1 - c));
        }
    return img;
}

// 13: the floor, laid 5 by 5: a 2 by 2 checker of light and dark marble with grout and brass
// inlays at the corners. Period 128 pixels and periodic marble, so it tiles both ways.
Image drawCarrelage() {
    const int N = 256, T = 128;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = (x + 0.5f) / N, v = (y + 0.5f) / N;
            bool dark = ((x / T) + (y / T)) & 1;
            float n = fbm(u, v, 4, 4, 5, dark ? 52 : 51);
            // |sin| of a phase that gains whole multiples of pi across the picture: periodic veins.
            float vein = 1 - (float)std::fabs(dsin(PI * (2 * u + 3 * v + 2.2f * n)));
            float v2 = vein * vein, veins = v2 * v2 * v2 * v2;
            float cloud = fbm(u, v, 8, 8, 4, dark ? 54 : 53);
            Rgb c = dark ? Rgb{0.1f, 0.12f, 0.17f} * (0.9f + 0.6f * cloud) +
                               Rgb{0.4f, 0.45f, 0.5f} * veins
                         : Rgb{0.86f, 0.83f, 0.77f} * (0.95f + 0.2f * cloud) +
                               Rgb{-0.2f, -0.2f, -0.17f} * veins;
            float tx = (float)(x % T) + 0.5f, ty = (float)(y % T) + 0.5f;
            float gx = std::min(tx, T - tx), gy = std::min(ty, T - ty), g = std::min(gx, gy);
            float bevel = smooth(1.5f, 7, g);
            bool lit = gy < gx ? ty < T / 2 : tx < T / 2;  // upper and left edges catch the light
            c = c * mixf(lit ? 1.18f : 0.78f, 1, bevel);
            c = mix(c, Rgb{0.2f, 0.19f, 0.18f}, clampf(2.5f - g));
            float diamond = gx + gy;  // distance to the nearest tile corner, in the diamond metric
            c = mix(c, Rgb{0.85f, 0.64f, 0.26f} * (0.9f + 0.3f * n), clampf(13 - diamond));
            c = mix(c, Rgb{0.12f, 0.1f, 0.14f}, clampf(7 - diamond));
            img.at(x, y) = c;
        }
    return img;
}

// 14: stone for the column faces, 0.19 by 3 on screen: courses of ashlar with mortar joints.
// Rows are shown twice as tall as columns are wide, so features are drawn half as tall.
// Periodic noise and joints that wrap keep neighbouring faces continuous.
Image drawPierre() {
    const int W = 64, H = 512, COURSE = 32;
    Image img(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float u = (x + 0.5f) / W, v = (y + 0.5f) / H;
            int course = y / COURSE;
            float ly = (float)(y % COURSE) + 0.5f, dy = std::min(ly, COURSE - ly);
            float jx = (course & 1) ? W / 2.0f : 0, dx = std::fabs(x + 0.5f - jx);
            dx = std::min(dx, W - dx) / 2;  // joints measured as they look on screen
            float d = std::min(dx, dy);
            float n = fbm(u, v, 2, 32, 5, 61), grain = fbm(u, v, 16, 256, 2, 62);
            uint32_t h = hash(course, 0, 63);
            float shade = 0.85f + 0.25f * (h & 255) / 255.0f, warm = ((h >> 8) & 255) / 255.0f;
            Rgb stone = mix(Rgb{0.68f, 0.68f, 0.66f}, Rgb{0.78f, 0.7f, 0.58f}, warm) *
                        (shade * (0.8f + 0.55f * n));
            stone += WHITE * (0.08f * grain);
            if (grain < -0.35f) stone = stone * 0.7f;  // pits
            stone = stone * (0.72f + 0.28f * smooth(1.2f, 4.5f, d));
            Rgb mortar = Rgb{0.3f, 0.28f, 0.25f} * (0.9f + 0.3f * n);
            img.at(x, y) = mix(stone, mortar, clampf(1.6f - d));
        }
    return img;
}

// 16: deep space for the inside of the finale's box: nebula and stars, periodic so that the
// repeat seam never cuts a bright patch in half.
Image drawEspace() {
    const int N = 512;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = (x + 0.5f) / N, v = (y + 0.5f) / N;
            float qx = fbm(u, v, 3, 3, 4, 21), qy = fbm(u, v, 3, 3, 4, 22);
            float d1 = fbm(u + 0.5f * qx, v + 0.5f * qy, 3, 3, 6, 23);
            float d2 = fbm(u - 0.4f * qy, v + 0.4f * qx, 4, 4, 6, 24);
            float dust = clampf(fbm(u, v, 6, 6, 5, 25) * 2 + 0.35f);
            float m1 = sq(clampf(d1 * 2.6f + 0.35f)), m2 = sq(clampf(d2 * 2.6f + 0.1f));
            float ridge = pos(1 - std::fabs(d1) * 6);
            ridge = sq(sq(ridge)) * m2;
            Rgb c = Rgb{0.004f, 0.004f, 0.014f} + Rgb{0.5f, 0.08f, 0.55f} * (0.75f * m1) +
                    Rgb{0.05f, 0.32f, 0.5f} * (0.7f * m2) + Rgb{0.8f, 0.55f, 1} * (0.35f * ridge);
            img.at(x, y) = c * (0.3f + 0.7f * dust);
        }
    Rng rng(0x65737061);
    const Rgb TINTS[3] = {{1, 0.82f, 0.65f}, {1, 1, 1}, {0.72f, 0.83f, 1}};
    for (int i = 0; i < 1800; ++i) {
        float x = rng.range(0, (float)N), y = rng.range(0, (float)N), b = rng.uniform();
        Rgb tint = TINTS[rng.next() % 3];
        b = b * b;
        splat(img, x, y, 0.5f + 0.35f * b, tint * (0.12f + 0.9f * b * b), true);
    }
    for (int i = 0; i < 14; ++i) {
        float x = rng.range(0, (float)N), y = rng.range(0, (float)N);
        Rgb tint = TINTS[rng.next() % 3];
        splat(img, x, y, 1.0f, tint * 1.4f, true);
        splat(img, x, y, 4.0f, tint * 0.22f, true);
        for (int k = 2; k < 20; ++k) {  // diffraction spikes
            float b = 0.5f * sq(1 - k / 20.0f);
            splat(img, x + k, y, 0.6f, tint * b, true);
            splat(img, x - k, y, 0.6f, tint * b, true);
            splat(img, x, y + k, 0.6f, tint * b, true);
            splat(img, x, y - k, 0.6f, tint * b, true);
        }
    }
    return img;
}

// 17: a neon line drawing of a lotus before a halo, for the closing scene. Only the top two
// thirds of the picture are on screen there, so the flower stands high.
Image drawContour() {
    const int N = 256;
    const float C = N / 2.0f;
    Image img(N, N);
    Mask petals(N, N), halo(N, N), water(N, N), sparks(N, N);
    auto toPx = [&](float u, float v) { return P2{C + u * C, C - v * C}; };
    const float BASE_U = 0, BASE_V = -0.16f, GROW = 1.3f;
    struct Petal {
        float length, width, angle;
    };
    const Petal PETALS[7] = {{0.36f, 0.15f, 1.3f},   {0.36f, 0.15f, -1.3f}, {0.46f, 0.17f, 0.88f},
                             {0.46f, 0.17f, -0.88f}, {0.56f, 0.18f, 0.42f}, {0.56f, 0.18f, -0.42f},
                             {0.64f, 0.2f, 0}};
    for (const Petal &p : PETALS) {
        std::vector<P2> pts;
        for (int side = 0; side < 2; ++side)
            for (int i = 0; i <= 40; ++i) {
                float s = side == 0 ? i / 40.0f : 1 - i / 40.0f;
                float w = GROW * p.width * (float)dsin(PI * s) * (1.15f - 0.45f * s) *
                          (side == 0 ? -1 : 1);
                float l = GROW * p.length * s;
                float ca = (float)dcos(p.angle), sa = (float)dsin(p.angle);
                pts.push_back(toPx(BASE_U + w * ca - l * sa, BASE_V + w * sa + l * ca));
            }
        polyline(petals, pts, 2.2f, true);
        std::vector<P2> vein;  // a vein up the middle of each petal
        for (int i = 0; i <= 10; ++i) {
            float l = GROW * p.length * (0.12f + 0.5f * i / 10.0f);
            vein.push_back(
                toPx(BASE_U - l * (float)dsin(p.angle), BASE_V + l * (float)dcos(p.angle)));
        }
        polyline(petals, vein, 1.1f, false);
    }
    ringStroke(halo, C, C - 0.26f * C, 0.52f * C, 1.8f);
    ringStroke(halo, C, C - 0.26f * C, 0.57f * C, 1.0f);
    for (int k = 0; k < 4; ++k) {
        std::vector<P2> wave;
        float level = -0.2f - 0.11f * k, reach = 0.8f - 0.12f * k;
        for (int i = 0; i <= 80; ++i) {
            float u = -reach + 2 * reach * i / 80.0f;
            wave.push_back(toPx(u, level + 0.018f * (float)dsin(u * 16 + k * 1.7f)));
        }
        polyline(water, wave, 1.6f, false);
    }
    glint(sparks, C - 70, C - 80, 6);
    glint(sparks, C + 78, C - 62, 4);
    glint(sparks, C + 60, C - 100, 3);
    struct Layer {
        const Mask *m;
        Rgb c;
    };
    const Layer LAYERS[4] = {{&halo, {1, 0.72f, 0.3f}},
                             {&water, {0.3f, 0.8f, 1}},
                             {&petals, {1, 0.35f, 0.75f}},
                             {&sparks, {0.8f, 0.9f, 1}}};
    for (const Layer &l : LAYERS) {
        add(img, blur(*l.m, 6), l.c * 0.6f);
        add(img, blur(*l.m, 2), l.c * 0.8f);
        add(img, *l.m, mix(l.c, WHITE, 0.55f));
    }
    fadeBorder(img, 6);
    return img;
}

// Radial pictures: sun layers and halos, seen from below in the finale.
template <class F>
Image radial(F f) {
    const int N = 256;
    Image img(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float u = ux(x, N), v = uy(y, N), r = std::sqrt(u * u + v * v);
            float a = (float)datan2(v, u);
            img.at(x, y) = f(u, v, r, a) * (1 - smooth(0.86f, 0.98f, r));
        }
    fadeBorder(img, 4);
    return img;
}

// 18: one thin cyan ring with a soft halo.
Image drawAno1() {
    return radial([](float, float, float r, float) {
        const float R = 0.62f;
        Rgb c = Rgb{0.45f, 0.85f, 1} *
                (gauss((r - R) / 0.02f) + 0.45f * gauss((r - R) / 0.1f) + 0.08f * gauss(r / 0.5f));
        return c + WHITE * (0.6f * gauss((r - R) / 0.008f));
    });
}

// 19: an amber double ring, the outer one dashed.
Image drawAno2() {
    return radial([](float, float, float r, float a) {
        float dash = clampf(((float)dcos(24 * a) + 0.2f) * 3);
        float inner = gauss((r - 0.5f) / 0.015f), outer = gauss((r - 0.72f) / 0.03f) * dash;
        return Rgb{1, 0.6f, 0.2f} * (0.3f * gauss((r - 0.6f) / 0.16f)) +
               Rgb{1, 0.85f, 0.5f} * (inner + outer);
    });
}

// 20: a magenta crown of rays around a small ring.
Image drawAno3() {
    return radial([](float, float, float r, float a) {
        float c = pos((float)dcos(36 * a)), c2 = c * c, c4 = c2 * c2, rays = c4 * c4;
        float span = smooth(0.3f, 0.4f, r) * (1 - smooth(0.5f, 0.88f, r));
        return Rgb{1, 0.3f, 0.8f} * (gauss((r - 0.3f) / 0.02f) + 0.3f * gauss((r - 0.3f) / 0.2f)) +
               Rgb{0.8f, 0.45f, 1} * (0.8f * rays * span);
    });
}

// 21: a necklace of sixteen glowing beads.
Image drawAno4() {
    return radial([](float u, float v, float r, float) {
        const float R = 0.65f;
        float beads = 0;
        for (int k = 0; k < 16; ++k) {
            double a = k * PI / 8;
            float d = std::sqrt(sq(u - R * (float)dcos(a)) + sq(v - R * (float)dsin(a)));
            beads += gauss(d / 0.035f) + 0.35f * gauss(d / 0.09f);
        }
        return Rgb{0.3f, 1, 0.7f} *
               (beads + 0.35f * gauss((r - R) / 0.01f) + 0.15f * gauss((r - 0.45f) / 0.01f));
    });
}

// 22: the sun: a white-hot disc with a darker limb inside a streaked orange corona.
Image drawSoleil() {
    return radial([](float u, float v, float r, float) {
        const float R = 0.36f;
        if (r < R) {
            float mu = std::sqrt(1 - sq(r / R));
            float grain = 0.06f * noise(u * 40, v * 40, 1 << 20, 1 << 20, 73);
            return mix(Rgb{1, 0.55f, 0.15f}, Rgb{1.15f, 1.05f, 0.85f}, smooth(0, 0.8f, mu)) *
                   (1 + grain);
        }
        float dx = u / r, dy = v / r;  // sampling noise on a circle keeps the rays continuous
        float streak = noise(dx * 9, dy * 9, 1 << 20, 1 << 20, 71) +
                       0.5f * noise(dx * 23 + r * 2, dy * 23, 1 << 20, 1 << 20, 72);
        float rays = clampf(0.55f + 1.1f * streak);
        float out = r - R;
        float glow = 1.0f * gauss(out / 0.04f) + 0.55f * gauss(out / 0.16f) * (0.4f + rays) +
                     0.25f * rays * gauss(out / 0.34f);
        return mix(Rgb{1, 0.65f, 0.2f}, Rgb{0.85f, 0.2f, 0.1f}, smooth(0, 0.45f, out)) * glow;
    });
}

// ---------------------------------------------------------------- output

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Bright colour past full scale spills into the other channels, so hot cores turn white.
unsigned char channel(float c, float extra, int x, int y) {
    static const float BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    float dither = (BAYER[y & 3][x & 3] + 0.5f) / 16 - 0.5f;  // breaks up gradient bands
    int v = (int)std::floor(clampf(c + extra) * 255 + 0.5f + dither * 0.94f);
    return (unsigned char)(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void put16(unsigned char *p, unsigned v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}
void put32(unsigned char *p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

bool writeBmp(const std::string &path, Image &img, bool mirrored) {
    if (!powerOfTwo(img.w) || !powerOfTwo(img.h) || img.w % 4 != 0) {
        std::fprintf(stderr, "kelvorin-gentextures: %s is %dx%d, not a texture size\n",
                     path.c_str(), img.w, img.h);
        return false;
    }
    uint32_t rowBytes = (uint32_t)(img.w * 3 + 3) / 4 * 4, pixelBytes = rowBytes * (uint32_t)img.h;
    std::vector<unsigned char> file(54 + pixelBytes, 0);
    unsigned char *h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, (uint32_t)file.size());
    put32(h + 10, 54);
    put32(h + 14, 40);
    put32(h + 18, (uint32_t)img.w);
    put32(h + 22, (uint32_t)img.h);  // positive: bottom row first
    put16(h + 26, 1);
    put16(h + 28, 24);
    put32(h + 34, pixelBytes);
    put32(h + 38, 2835);  // 72 dpi
    put32(h + 42, 2835);
    for (int row = 0; row < img.h; ++row) {
        int y = img.h - 1 - row;
        unsigned char *out = h + 54 + (size_t)row * rowBytes;
        for (int x = 0; x < img.w; ++x) {
            Rgb c = img.at(mirrored ? img.w - 1 - x : x, y);
            float extra = 0.6f * pos(std::max(c.r, std::max(c.g, c.b)) - 1);
            out[3 * x + 0] = channel(c.b, extra, x, row);
            out[3 * x + 1] = channel(c.g, extra, x, row);
            out[3 * x + 2] = channel(c.r, extra, x, row);
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

// The desktop icon: the logo facing the viewer on a transparent ground, an 8-bit RGBA PNG. The
// logo is made to be added onto black, so outside its inner diamond a pixel's brightest channel
// becomes its opacity and its colour is divided by it: over black the icon is the picture.
bool writeIcon(const std::string &path) {
    Image img = drawLogo();
    std::vector<unsigned char> rgba((size_t)img.w * img.h * 4);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Rgb c = img.at(x, y);
            float extra = 0.6f * pos(std::max(c.r, std::max(c.g, c.b)) - 1);
            unsigned char v[3] = {channel(c.r, extra, x, y), channel(c.g, extra, x, y),
                                  channel(c.b, extra, x, y)};
            float d = std::fabs(x + 0.5f - img.w / 2.0f) + std::fabs(y + 0.5f - img.h / 2.0f);
            int alpha = d <= LOGO_INNER ? 255 : std::max(v[0], std::max(v[1], v[2]));
            unsigned char *out = &rgba[((size_t)y * img.w + x) * 4];
            for (int i = 0; i < 3; ++i)
                out[i] = alpha ? (unsigned char)((v[i] * 255 + alpha / 2) / alpha) : 0;
            out[3] = (unsigned char)alpha;
        }
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "kelvorin-gentextures: cannot write %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::fprintf(stderr, "kelvorin-gentextures: writing %s failed\n", path.c_str());
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, img.w, img.h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img.h; ++y) png_write_row(png, &rgba[(size_t)y * img.w * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    bool ok = std::fclose(f) == 0;
    if (!ok) std::fprintf(stderr, "kelvorin-gentextures: writing %s failed\n", path.c_str());
    return ok;
}

struct Picture {
    const char *name;
    Image (*draw)();
    bool mirrored;  // lettering that must read correctly through sprite2's mirror
};

Image drawCh0() { return drawDigit(0); }
Image drawCh1() { return drawDigit(1); }
Image drawCh2() { return drawDigit(2); }
Image drawCh3() { return drawDigit(3); }
Image drawCh4() { return drawDigit(4); }
Image drawCh5() { return drawDigit(5); }

// In texture-table order.
const Picture PICTURES[] = {
    {"quorvanel", drawQuorvanel, true},
    {"logokelv", drawLogo, true},
    {"kelvorin", drawBanner, true},
    {"maker", drawMaker, true},
    {"title", drawTitle, true},
    {"light1", drawLight1, false},
    {"nuage", drawNuage, false},
    {"ch0", drawCh0, false},
    {"ch1", drawCh1, false},
    {"ch2", drawCh2, false},
    {"ch3", drawCh3, false},
    {"ch4", drawCh4, false},
    {"ch5", drawCh5, false},
    {"carrelage", drawCarrelage, false},
    {"pierre", drawPierre, false},
    {"petale", drawPetale, false},
    {"espace", drawEspace, false},
    {"contour", drawContour, false},
    {"ano1", drawAno1, false},
    {"ano2", drawAno2, false},
    {"ano3", drawAno3, false},
    {"ano4", drawAno4, false},
    {"soleil", drawSoleil, false},
};

}  // namespace

int GenerateTextures(int argc, char **argv) {
    bool icon = argc == 3 && std::strcmp(argv[1], "--icon") == 0;
    if ((argc != 2 && !icon) || argv[argc - 1][0] == '\0') {
        std::fprintf(stderr, "usage: kelvorin-gentextures OUTDIR\n"
                             "       kelvorin-gentextures --icon FILE.png\n");
        return 2;
    }
    const std::string dir = "/usr/share/fonts/truetype/dejavu/";
    if (!loadFont(boldFont, (dir + "DejaVuSans-Bold.ttf").c_str()) ||
        !loadFont(bookFont, (dir + "DejaVuSans.ttf").c_str()))
        return 1;
    if (icon) return writeIcon(argv[2]) ? 0 : 1;
    for (const Picture &p : PICTURES) {
        Image img = p.draw();
        if (!writeBmp(std::string(argv[1]) + "/" + p.name + ".bmp", img, p.mirrored)) return 1;
    }
    return 0;
}

}  // namespace kelvorin

int main(int argc, char **argv) { return kelvorin::GenerateTextures(argc, argv); }
